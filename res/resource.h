// Resource and control ids shared by the dialog templates and the code that looks controls up.
#pragma once

// The platform's button ids: a dialog ends with the id of the button that closed it.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
// Controls nobody looks up (labels, frames).
inline constexpr int IDC_STATIC = -1;

inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDR_MAINFRAME = 128;  // the application icon
inline constexpr int IDD_WEEKDAY = 132;
inline constexpr int IDD_LOAN_PERIOD = 133;

// Holiday weekday dialog: one check box per weekday.
inline constexpr int IDC_WEEKDAY_MON = 1025;
inline constexpr int IDC_WEEKDAY_TUE = 1026;
inline constexpr int IDC_WEEKDAY_WED = 1027;
inline constexpr int IDC_WEEKDAY_THU = 1028;
inline constexpr int IDC_WEEKDAY_FRI = 1029;
inline constexpr int IDC_WEEKDAY_SUN = 1030;
inline constexpr int IDC_WEEKDAY_SAT = 1031;

// Loan period dialog.
inline constexpr int IDC_LOAN_PERIOD1 = 1032;
inline constexpr int IDC_LOAN_PERIOD2 = 1033;
