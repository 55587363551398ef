#include "app/about_dlg.h"

#include "res/small_dialogs.h"

CAboutDlg::CAboutDlg(QWidget* parent) : CTemplateDialog(ABOUT_TEMPLATE, parent) {}
