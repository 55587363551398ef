// Resource and control ids shared by the dialog templates and the code that looks controls up.
#pragma once

// The platform's button ids: a dialog ends with the id of the button that closed it. <windows.h>
// has them already, as macros of the same values.
#ifndef IDOK
inline constexpr int IDOK = 1;
#endif
#ifndef IDCANCEL
inline constexpr int IDCANCEL = 2;
#endif
// Controls nobody looks up (labels, frames).
inline constexpr int IDC_STATIC = -1;

inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDS_ABOUTBOX = 101;  // the about item's text
inline constexpr int IDD_SETUP_DIALOG = 102;
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

// The commands of the main dialog's menus: the about item (also in the system menu, whose
// commands keep their low four bits clear) and the context menu's others.
inline constexpr int IDM_ABOUTBOX = 0x0010;
inline constexpr int IDM_SHOW_CONSOLE = 0x0020;
inline constexpr int IDM_IMPORT_HOLIDAYS = 0x0030;
inline constexpr int IDM_EXPORT_HOLIDAYS = 0x0040;

// Main dialog.
inline constexpr int IDC_YEAR_LABEL = 1001;
inline constexpr int IDC_NEXT_YEAR = 1002;
inline constexpr int IDC_PREV_YEAR = 1003;
inline constexpr int IDC_BIWEEKLY_EVEN = 1008;
inline constexpr int IDC_BIWEEKLY_ODD = 1009;
inline constexpr int IDC_BIWEEKLY_WEEKDAY = 1010;
inline constexpr int IDC_PORT = 1012;
inline constexpr int IDC_PORT_OPEN = 1013;
inline constexpr int IDC_UNSET_SUNDAY = 1014;
inline constexpr int IDC_UNSET_SATURDAY = 1015;
inline constexpr int IDC_DATA_SEND = 1016;
inline constexpr int IDC_BIWEEKLY_USE = 1017;
inline constexpr int IDC_DATA_READ = 1018;
inline constexpr int IDC_TOTAL = 1020;
inline constexpr int IDC_SYSTEM_CONNECT = 1021;
inline constexpr int IDC_SET_TIME = 1022;
inline constexpr int IDC_DATA_DELETE = 1023;
inline constexpr int IDC_HOLIDAY_WEEKDAYS = 1024;
inline constexpr int IDC_STATUS = 1026;
inline constexpr int IDC_MODEL_101 = 1027;
inline constexpr int IDC_MODEL_102 = 1028;
inline constexpr int IDC_BIWEEKLY_FRAME = 1029;
inline constexpr int IDC_UNSET_FRAME = 1030;
inline constexpr int IDC_LOAN_PERIOD = 1031;
inline constexpr int IDC_UNSET_HOLIDAY = 1033;
inline constexpr int IDC_PROGRESS = 1034;  // how far an exchange has got, under the status
