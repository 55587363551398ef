#include "app/loan_period_dlg.h"

#include <QLineEdit>
#include <QMessageBox>

#include "dialog/small_dialog_rules.h"
#include "res/resource.h"
#include "res/small_dialogs.h"

CLoanPeriodDlg::CLoanPeriodDlg(QWidget* parent) : CTemplateDialog(LOAN_PERIOD_TEMPLATE, parent) {}

void CLoanPeriodDlg::OnInitDialog()
{
    GetDlgItemAs<QLineEdit>(IDC_LOAN_PERIOD1)->setText(QString::number(m_nLoanPeriod1));
    GetDlgItemAs<QLineEdit>(IDC_LOAN_PERIOD2)->setText(QString::number(m_nLoanPeriod2));
}

int CLoanPeriodDlg::ExchangeInt(int id, int minValue, int maxValue, int& value)
{
    auto* edit = GetDlgItemAs<QLineEdit>(id);
    if (ParseLoanPeriod(edit->text().toStdString(), minValue, maxValue, value)) return 1;
    QMessageBox::warning(this, QStringLiteral("Dorvane"), QString::fromStdString(LoanPeriodPrompt(minValue, maxValue)));
    edit->setFocus();
    edit->selectAll();
    return 0;
}

void CLoanPeriodDlg::OnOK()
{
    if (!ExchangeInt(IDC_LOAN_PERIOD1, 0, LOAN_PERIOD1_MAX, m_nLoanPeriod1)) return;
    if (!ExchangeInt(IDC_LOAN_PERIOD2, 0, LOAN_PERIOD2_MAX, m_nLoanPeriod2)) return;
    CTemplateDialog::OnOK();
}
