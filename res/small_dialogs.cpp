#include "res/small_dialogs.h"

#include "res/resource.h"

namespace {

// Small dialogs use the System font's base units.
constexpr int SMALL_BASE_X = 8;
constexpr int SMALL_BASE_Y = 16;

constexpr DialogControl ABOUT_CONTROLS[] = {
    {IDC_STATIC, ControlKind::Icon, "", 11, 17, 20, 20, STYLE_NONE},
    {IDC_STATIC, ControlKind::Static, "Dorvane 버전 " DORVANE_VERSION, 40, 10, 119, 8, STYLE_NONE},
    {IDC_STATIC, ControlKind::Static, "Copyright (C) 2026 Dorvane", 40, 25, 119, 8, STYLE_NONE},
    {IDOK, ControlKind::DefPushButton, "확인", 178, 7, 50, 14, STYLE_NONE},
};

// Saturday stands above Sunday on screen while the tab order visits Sunday first.
constexpr DialogControl WEEKDAY_CONTROLS[] = {
    {IDOK, ControlKind::DefPushButton, "확인", 71, 57, 50, 14, STYLE_NONE},
    {IDCANCEL, ControlKind::PushButton, "취소", 71, 76, 50, 14, STYLE_NONE},
    {IDC_WEEKDAY_MON, ControlKind::CheckBox, "월요일", 7, 7, 40, 10, STYLE_NONE},
    {IDC_WEEKDAY_TUE, ControlKind::CheckBox, "화요일", 7, 19, 40, 10, STYLE_NONE},
    {IDC_WEEKDAY_WED, ControlKind::CheckBox, "수요일", 7, 31, 40, 10, STYLE_NONE},
    {IDC_WEEKDAY_THU, ControlKind::CheckBox, "목요일", 7, 43, 40, 10, STYLE_NONE},
    {IDC_WEEKDAY_FRI, ControlKind::CheckBox, "금요일", 7, 55, 40, 10, STYLE_NONE},
    {IDC_WEEKDAY_SUN, ControlKind::CheckBox, "일요일", 7, 79, 40, 10, STYLE_NONE},
    {IDC_WEEKDAY_SAT, ControlKind::CheckBox, "토요일", 7, 67, 40, 10, STYLE_NONE},
};

constexpr DialogControl LOAN_PERIOD_CONTROLS[] = {
    {IDC_LOAN_PERIOD1, ControlKind::Edit, "", 64, 7, 47, 14, STYLE_NONE},
    {IDC_LOAN_PERIOD2, ControlKind::Edit, "", 64, 28, 47, 14, STYLE_NONE},
    {IDOK, ControlKind::DefPushButton, "확  인", 119, 7, 50, 14, STYLE_NONE},
    {IDCANCEL, ControlKind::PushButton, "취  소", 119, 28, 50, 14, STYLE_NONE},
    {IDC_STATIC, ControlKind::Static, "대출기간 #1", 7, 7, 51, 14, STYLE_CENTER},
    {IDC_STATIC, ControlKind::Static, "대출기간 #2", 7, 28, 51, 14, STYLE_CENTER},
};

}  // namespace

extern const DialogTemplate ABOUT_TEMPLATE = {
    IDD_ABOUTBOX, "Dorvane 정보", "굴림", 9, 235, 55, SMALL_BASE_X, SMALL_BASE_Y, ABOUT_CONTROLS,
};

extern const DialogTemplate WEEKDAY_TEMPLATE = {
    IDD_WEEKDAY, "Dialog", "System", 10, 128, 97, SMALL_BASE_X, SMALL_BASE_Y, WEEKDAY_CONTROLS,
};

extern const DialogTemplate LOAN_PERIOD_TEMPLATE = {
    IDD_LOAN_PERIOD, "대출기간을 입력 하세요~~~", "System", 10, 176, 49, SMALL_BASE_X,
    SMALL_BASE_Y,    LOAN_PERIOD_CONTROLS,
};
