#include "app/loan_period_dlg.h"

#include <charconv>

#include <QLineEdit>
#include <QMessageBox>

#include "res/resource.h"
#include "res/small_dialogs.h"

namespace {

constexpr int LOAN_PERIOD1_MAX = 255;
constexpr int LOAN_PERIOD2_MAX = 250;

// A whole number in int range, blanks around it allowed, an optional sign; nothing else.
bool ParseInt(const QString& text, int& value)
{
    QByteArray digits = text.trimmed().toLatin1();
    if (digits.startsWith('+')) digits.remove(0, 1);
    if (digits.isEmpty()) return false;
    const char* end = digits.constData() + digits.size();
    const auto [ptr, ec] = std::from_chars(digits.constData(), end, value);
    return ec == std::errc() && ptr == end;
}

}  // namespace

CLoanPeriodDlg::CLoanPeriodDlg(QWidget* parent) : CTemplateDialog(LOAN_PERIOD_TEMPLATE, parent) {}

void CLoanPeriodDlg::OnInitDialog()
{
    GetDlgItemAs<QLineEdit>(IDC_LOAN_PERIOD1)->setText(QString::number(m_nLoanPeriod1));
    GetDlgItemAs<QLineEdit>(IDC_LOAN_PERIOD2)->setText(QString::number(m_nLoanPeriod2));
}

int CLoanPeriodDlg::ExchangeInt(int id, int minValue, int maxValue, int& value)
{
    auto* edit = GetDlgItemAs<QLineEdit>(id);
    int parsed = 0;
    if (ParseInt(edit->text(), parsed) && parsed >= minValue && parsed <= maxValue) {
        value = parsed;
        return 1;
    }
    const QString prompt = QStringLiteral("%1에서 %2 사이의 정수를 입력하십시오.").arg(minValue).arg(maxValue);
    QMessageBox::warning(this, QStringLiteral("Dorvane"), prompt);
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
