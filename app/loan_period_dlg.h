// Asks for the terminal's two loan periods, each checked against its range on OK.
#pragma once

#include "app/template_dialog.h"

class CLoanPeriodDlg : public CTemplateDialog {
public:
    explicit CLoanPeriodDlg(QWidget* parent = nullptr);

    int m_nLoanPeriod1 = 0;  // 0..255
    int m_nLoanPeriod2 = 0;  // 0..250: the terminal's second period is shorter

protected:
    void OnInitDialog() override;
    void OnOK() override;

private:
    // Reads one edit into `value`; on a refusal prompts with the allowed range and puts the focus
    // back on that edit. Returns 1 when the value stands.
    int ExchangeInt(int id, int minValue, int maxValue, int& value);
};
