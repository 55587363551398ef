// A dialog built from a template of res/: one widget per control, placed in dialog units and
// found again by its id, with the platform's OK/Cancel protocol.
#pragma once

#include <functional>
#include <map>

#include <QDialog>

#include "res/dialog_template.h"

class QButtonGroup;

class CTemplateDialog : public QDialog {
public:
    explicit CTemplateDialog(const DialogTemplate& dialogTemplate, QWidget* parent = nullptr);

    // Runs the dialog modally; returns the id of the button that ended it (IDOK or IDCANCEL).
    int DoModal();

    // The control with that id, or nullptr; controls without an id (IDC_STATIC) are not found.
    QWidget* GetDlgItem(int id) const;
    template <class T>
    T* GetDlgItemAs(int id) const
    {
        return dynamic_cast<T*>(GetDlgItem(id));
    }

    // Puts `widget` in the place of control `id`: same geometry, same stacking, same lookup.
    // The owner keeps ownership of `widget`; the template's own control is deleted.
    void SubclassDlgItem(int id, QWidget* widget);

    // Calls `handler` on every click of button `id`.
    void OnClicked(int id, std::function<void()> handler);

    QRect MapDialogRect(int x, int y, int cx, int cy) const;

    // Shrinks the dialog and everything on it by `scale` (below 1), fonts included, for a screen
    // smaller than the template was drawn for.
    void ScaleContents(double scale);

    // Esc and the close box end up here; routed to OnCancel like the Cancel button.
    void reject() override;

protected:
    // Runs once, just before the dialog is first shown.
    virtual void OnInitDialog() {}
    // Button IDOK (and Enter on the default button); closes the dialog with IDOK.
    virtual void OnOK();
    // Button IDCANCEL, Esc and the close box; closes the dialog with IDCANCEL.
    virtual void OnCancel();

    void showEvent(QShowEvent* event) override;

private:
    QWidget* CreateControl(const DialogControl& control);

    const DialogTemplate& m_template;
    std::map<int, QWidget*> m_controls;
    QButtonGroup* m_radioGroup = nullptr;
    bool m_bInitialised = false;
};
