// A dialog built from a template of res/: one widget per control, placed in dialog units and
// found again by its id, with the platform's OK/Cancel protocol.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include <QDialog>
#include <QFont>
#include <QPointer>
#include <QRect>
#include <QSize>

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

    // Draws the dialog and everything on it at `scale` (at most 1) times the size it was drawn
    // with when first called, fonts included, for a screen smaller than the template was drawn
    // for; 1 returns it to that size.
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
    // The dialog as drawn, before any scaling.
    struct Drawn {
        QFont font;
        QSize size;
        std::vector<std::pair<QPointer<QWidget>, QRect>> children;
    };
    std::optional<Drawn> m_drawn;
};
