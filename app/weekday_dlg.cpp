#include "app/weekday_dlg.h"

#include <cstring>

#include <QCheckBox>

#include "res/resource.h"
#include "res/small_dialogs.h"

namespace {

struct WeekdayBox {
    int id;
    char digit;
};

// The terminal expects Sunday's digit last.
constexpr WeekdayBox DIGIT_ORDER[] = {
    {IDC_WEEKDAY_MON, '2'}, {IDC_WEEKDAY_TUE, '3'}, {IDC_WEEKDAY_WED, '4'}, {IDC_WEEKDAY_THU, '5'},
    {IDC_WEEKDAY_FRI, '6'}, {IDC_WEEKDAY_SAT, '7'}, {IDC_WEEKDAY_SUN, '1'},
};

}  // namespace

CWeekdayDlg::CWeekdayDlg(QWidget* parent) : CTemplateDialog(WEEKDAY_TEMPLATE, parent) {}

void CWeekdayDlg::OnInitDialog()
{
    std::memset(m_strWeekdays, 0, sizeof m_strWeekdays);
}

void CWeekdayDlg::OnOK()
{
    int n = 0;
    for (const WeekdayBox& box : DIGIT_ORDER) {
        if (GetDlgItemAs<QCheckBox>(box.id)->isChecked()) m_strWeekdays[n++] = box.digit;
    }
    m_strWeekdays[n] = '\0';
    CTemplateDialog::OnOK();
}
