#include "app/console_window.h"

#include <algorithm>
#include <cstdio>

#include <QCloseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>

#include "base/printable_text.h"
#include "res/app_icon.h"
#include "widgets/log_font.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32
bool StdoutIsTerminal()
{
    return _isatty(_fileno(stdout)) != 0;
}
#else
bool StdoutIsTerminal()
{
    return isatty(STDOUT_FILENO) != 0;
}
#endif

constexpr int CONSOLE_WIDTH = 560;
constexpr int CONSOLE_HEIGHT = 400;
constexpr int CONSOLE_MIN_HEIGHT = 150;
constexpr int CONSOLE_GAP = 8;
// The fixed-pitch Hangul face the calendar titles use.
constexpr int CONSOLE_FONT_PIXELS = -14;

}  // namespace

CConsoleWindow::CConsoleWindow()
{
    setWindowTitle(QStringLiteral("Dorvane 콘솔"));
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setMaximumBlockCount(LINES_KEPT);
    setFont(MakeLogFont(QStringLiteral("굴림체"), CONSOLE_FONT_PIXELS, 0));
    setWindowIcon(AppIcon());
    resize(CONSOLE_WIDTH, CONSOLE_HEIGHT);
    // The dialog keeps the keyboard when the console appears.
    setAttribute(Qt::WA_ShowWithoutActivating);
}

void CConsoleWindow::Open(const QWidget& dialog)
{
    const QRect frame = dialog.frameGeometry();
    const QRect room = dialog.screen() ? dialog.screen()->availableGeometry() : frame;
    const int below = room.bottom() - frame.bottom() - CONSOLE_GAP;
    if (frame.right() + CONSOLE_GAP + width() <= room.right()) {
        move(frame.right() + CONSOLE_GAP, frame.top());
    } else if (below >= CONSOLE_MIN_HEIGHT) {
        resize(std::min(width(), room.width()), std::min(CONSOLE_HEIGHT, below));
        move(frame.left(), frame.bottom() + CONSOLE_GAP);
    } else {
        // The dialog fills the screen: the console waits behind it, in the screen's corner, for
        // the operator to bring it up.
        move(room.right() - width(), room.bottom() - height());
    }
    show();
}

void CConsoleWindow::Write(const std::string& line)
{
    // Once, for both: a terminal's bytes must not act on the operator's terminal either.
    const std::string shown = PrintableLine(line);
    if (StdoutIsTerminal()) {
        std::fwrite(shown.data(), 1, shown.size(), stdout);
        std::fflush(stdout);
    }
    std::string_view text = shown;
    if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
    QScrollBar* bar = verticalScrollBar();
    const bool atEnd = bar->value() == bar->maximum();
    appendPlainText(QString::fromStdString(std::string(text)));
    // Someone reading back up keeps their place.
    if (atEnd) bar->setValue(bar->maximum());
}

QStringList CConsoleWindow::Lines() const
{
    QStringList lines;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) lines << block.text();
    if (lines.size() == 1 && lines[0].isEmpty()) lines.clear();
    return lines;
}

void CConsoleWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    hide();
}
