// The program's name and version.
#pragma once

#include "app/template_dialog.h"

class CAboutDlg : public CTemplateDialog {
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
