// Asks which weekdays the terminal treats as holidays.
#pragma once

#include "app/template_dialog.h"

class CWeekdayDlg : public CTemplateDialog {
public:
    explicit CWeekdayDlg(QWidget* parent = nullptr);

    // After OK: the ticked weekdays as digits (1 = Sunday .. 7 = Saturday), NUL-terminated,
    // Monday to Saturday first and Sunday last.
    char m_strWeekdays[20] = {};

protected:
    void OnInitDialog() override;
    void OnOK() override;
};
