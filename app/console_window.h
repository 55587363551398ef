// The traffic log's own window, "Dorvane 콘솔": what a console opened beside the dialog shows.
// Read-only, selectable and copyable, following the newest line unless the operator has
// scrolled back. Closing it by hand only hides it. A window of its own: no dialog's modality blocks it.
#pragma once

#include <string>

#include <QPlainTextEdit>

class CConsoleWindow : public QPlainTextEdit {
public:
    CConsoleWindow();

    // Shows the window beside or below `dialog`, where the screen has room, else behind it,
    // wholly on the screen's free area; the dialog keeps the focus and stays on top.
    void Open(const QWidget& dialog);
    // One whole line as it is to be shown (PrintableLine), its "\n" included. It is laid out
    // once the event that wrote it is over, with the lines written meanwhile, so that a reply's
    // line never delays the frame sent in answer.
    void Write(const std::string& line);
    // The lines as the window shows them, those still to be laid out included, for tests and
    // copying.
    QStringList Lines() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void AppendPending();

    bool m_bFollowing = true;  // the newest line is in view and new ones keep it so
    QStringList m_pending;
};
