#include "app/console_window.h"

#include <utility>

#include <QCloseEvent>
#include <QMetaObject>
#include <QScrollBar>
#include <QTextBlock>

#include "app/window_frame.h"
#include "dialog/screen_fit.h"
#include "res/app_icon.h"
#include "widgets/log_font.h"

CConsoleWindow::CConsoleWindow()
{
    setWindowTitle(QString::fromUtf8(CONSOLE_TITLE));
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setMaximumBlockCount(CONSOLE_LINES_KEPT);
    setFont(MakeLogFont(QString::fromUtf8(CONSOLE_FACE), -CONSOLE_FONT_PIXELS, 0));
    setWindowIcon(AppIcon());
    resize(CONSOLE_WIDTH, CONSOLE_HEIGHT);
    // The dialog keeps the keyboard when the console appears.
    setAttribute(Qt::WA_ShowWithoutActivating);

    // Following is a state of its own, not "the bar is at its end" at the moment a line comes:
    // a line long enough to bring up the horizontal bar (line noise, escaped) shrinks the view
    // and moves the end after the line was added.
    QScrollBar* bar = verticalScrollBar();
    connect(bar, &QScrollBar::rangeChanged, this, [this, bar](int, int maximum) {
        if (m_bFollowing) bar->setValue(maximum);
    });
    connect(bar, &QScrollBar::valueChanged, this, [this, bar](int value) { m_bFollowing = value >= bar->maximum(); });
}

void CConsoleWindow::Open(const QWidget& dialog)
{
    // Frames, title bars included: a window placed by its client area alone runs off the screen
    // by its title bar. The dialog's pos() is its frame's corner.
    const QMargins dialogFrame = ExpectedFrame(dialog);
    const QMargins frame = ExpectedFrame(*this, &dialog);
    const int frameWidth = frame.left() + frame.right();
    const int frameHeight = frame.top() + frame.bottom();
    const QSize dialogSize = dialog.size().grownBy(dialogFrame);
    const QRect room = ScreenRoom(dialog);
    const ScreenRect placed =
        PlaceConsole({dialog.x(), dialog.y(), dialogSize.width(), dialogSize.height()},
                     {room.x(), room.y(), room.width(), room.height()}, CONSOLE_WIDTH + frameWidth,
                     CONSOLE_HEIGHT + frameHeight, CONSOLE_MIN_HEIGHT + frameHeight, CONSOLE_GAP);
    // In the room's corner the console waits behind the dialog for the operator to bring it up.
    resize(placed.width - frameWidth, placed.height - frameHeight);
    move(placed.x, placed.y);
    AppendPending();  // it appears with what was written before
    show();
}

void CConsoleWindow::Write(const std::string& line)
{
    std::string_view text = line;
    if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
    if (m_pending.isEmpty()) QMetaObject::invokeMethod(this, &CConsoleWindow::AppendPending, Qt::QueuedConnection);
    m_pending << QString::fromStdString(std::string(text));
}

void CConsoleWindow::AppendPending()
{
    for (const QString& line : std::exchange(m_pending, {})) appendPlainText(line);
    // Someone reading back up keeps their place.
    if (m_bFollowing) verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

QStringList CConsoleWindow::Lines() const
{
    QStringList lines;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) lines << block.text();
    if (lines.size() == 1 && lines[0].isEmpty()) lines.clear();
    return lines + m_pending;
}

void CConsoleWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    hide();
}
