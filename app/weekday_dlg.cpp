#include "app/weekday_dlg.h"

#include <cstring>

#include <QCheckBox>

#include "dialog/small_dialog_rules.h"
#include "res/small_dialogs.h"

CWeekdayDlg::CWeekdayDlg(QWidget* parent) : CTemplateDialog(WEEKDAY_TEMPLATE, parent) {}

void CWeekdayDlg::OnInitDialog()
{
    std::memset(m_strWeekdays, 0, sizeof m_strWeekdays);
}

void CWeekdayDlg::OnOK()
{
    const std::string digits = WeekdayDigits([this](int id) { return GetDlgItemAs<QCheckBox>(id)->isChecked(); });
    std::memcpy(m_strWeekdays, digits.c_str(), digits.size() + 1);  // seven digits at most
    CTemplateDialog::OnOK();
}
