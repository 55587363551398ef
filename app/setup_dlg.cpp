#include "app/setup_dlg.h"

#include <algorithm>
#include <cstdlib>

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QRadioButton>
#include <QShortcut>

#include "app/about_dlg.h"
#include "app/screen_fit.h"
#include "app/window_frame.h"
#include "ports/net_address.h"
#include "ports/port_enumerator.h"
#include "comm/terminal_link.h"
#include "date/holidays.h"
#include "date/lunar_date.h"
#include "date/unknown_holidays.h"
#include "protocol/holiday_upload.h"
#include "protocol/protocol.h"
#include "protocol/terminal_model.h"
#include "res/app_icon.h"
#include "res/resource.h"
#include "res/setup_dialog.h"

namespace {

constexpr int FIRST_YEAR = 2009;
constexpr int CALENDAR_SIZE = 200;
constexpr int CALENDAR_PITCH = 220;
constexpr int CALENDAR_LEFT = 10;
constexpr int CALENDAR_TOP = 80;

// Year caption: white on a blue-to-black gradient.
constexpr COLORREF YEAR_TEXT = 0xFFFFFF;
constexpr COLORREF YEAR_BACK = 0xFF6464;
constexpr int YEAR_FONT_HEIGHT = 20;

constexpr int MODEL_102_CONTROLS[] = {
    IDC_BIWEEKLY_FRAME,   IDC_BIWEEKLY_USE,     IDC_BIWEEKLY_EVEN, IDC_BIWEEKLY_ODD,
    IDC_BIWEEKLY_WEEKDAY, IDC_HOLIDAY_WEEKDAYS, IDC_LOAN_PERIOD,
};

// The port combobox as the port list fills it.
class ComboPortList : public CPortList {
public:
    explicit ComboPortList(QComboBox* combo) : m_combo(combo) {}
    void AddString(const std::string& text) override { m_combo->addItem(QString::fromStdString(text)); }

private:
    QComboBox* m_combo;
};

}  // namespace

int CalendarDay(int year, int month, const LocalTime& today)
{
    if (month != today.month) return 1;
    return std::min(today.day, DaysInMonth(year, month, CAL_SOLAR, 0));
}

CSetupDlg::CSetupDlg() : CTemplateDialog(SETUP_TEMPLATE), m_hIcon(AppIcon()), m_clock(ReadLocalClock)
{
    m_stepTimer.setSingleShot(true);
    connect(&m_stepTimer, &QTimer::timeout, this, [this] { OnStepTimer(); });

    OnClicked(IDC_NEXT_YEAR, [this] { OnNextYear(); });
    OnClicked(IDC_PREV_YEAR, [this] { OnPrevYear(); });
    OnClicked(IDC_UNSET_SUNDAY, [this] { OnUnsetSunday(); });
    OnClicked(IDC_UNSET_SATURDAY, [this] { OnUnsetSaturday(); });
    OnClicked(IDC_BIWEEKLY_USE, [this] { OnBiweeklyUse(); });
    OnClicked(IDC_BIWEEKLY_EVEN, [this] { OnBiweeklyEven(); });
    OnClicked(IDC_BIWEEKLY_ODD, [this] { OnBiweeklyOdd(); });
    OnClicked(IDC_DATA_READ, [this] { OnDataRead(); });
    OnClicked(IDC_PORT_OPEN, [this] { OnPortOpen(); });
    OnClicked(IDC_SYSTEM_CONNECT, [this] { OnSystemConnect(); });
    OnClicked(IDC_SET_TIME, [this] { OnSetTime(); });
    OnClicked(IDC_DATA_SEND, [this] { OnDataSend(); });
    OnClicked(IDC_DATA_DELETE, [this] { OnDataDelete(); });
    OnClicked(IDC_HOLIDAY_WEEKDAYS, [this] { OnHolidayWeekdays(); });
    OnClicked(IDC_MODEL_101, [this] { OnModel101(); });
    OnClicked(IDC_MODEL_102, [this] { OnModel102(); });
    OnClicked(IDC_LOAN_PERIOD, [this] { OnLoanPeriod(); });
    OnClicked(IDC_UNSET_HOLIDAY, [this] { OnUnsetHoliday(); });
    auto* weekday = GetDlgItemAs<QComboBox>(IDC_BIWEEKLY_WEEKDAY);
    for (const char* item : BIWEEKLY_WEEKDAY_ITEMS) weekday->addItem(QString::fromUtf8(item));
    // A choice made in the list, not every change of the edit field.
    connect(weekday, &QComboBox::activated, this, [this] { OnBiweeklyWeekday(); });
}

CSetupDlg::~CSetupDlg()
{
    // First of all: no reader may queue a frame for a dialog that is going away.
    m_comm.Shutdown();
}

void CSetupDlg::PresetPort(int port, int model)
{
    m_nPresetPort = port;
    m_nPresetModel = model;
}

void CSetupDlg::ShowMessageBox(const QString& text)
{
    if (m_messageSink) {
        m_messageSink(text);
        return;
    }
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Dorvane"), text, QMessageBox::Ok, this);
    // Blocks the dialog, not the console: the operator may want to read what came.
    box.setWindowModality(Qt::WindowModal);
    box.exec();
}

void CSetupDlg::OnInitDialog()
{
    // Data exchange: the year caption draws itself, and the model radio follows m_nModel.
    SubclassDlgItem(IDC_YEAR_LABEL, &m_yearLabel);
    GetDlgItemAs<QRadioButton>(m_nModel == MODEL_ZEFA101 ? IDC_MODEL_101 : IDC_MODEL_102)->setChecked(true);

    const LocalTime now = m_clock();

    // No system menu reaches an application here: the about item lives in the dialog's context
    // menu and on F1.
    if (*LoadResourceString(IDS_ABOUTBOX) != '\0') {
        auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
        connect(help, &QShortcut::activated, this, [this] { OnAboutBox(); });
    }
    setWindowIcon(m_hIcon);

    m_nYear = now.year;
    ShowYear();

    CPortEnumerator ports;
    ComboPortList list(GetDlgItemAs<QComboBox>(IDC_PORT));
    ports.m_pCombo = &list;
    ports.Enumerate();

    for (int i = 0; i < 12; ++i) {
        CCalendarCtrl& calendar = m_calendar[i];
        calendar.setParent(this);
        calendar.setGeometry((i % 4) * CALENDAR_PITCH + CALENDAR_LEFT, (i / 4) * CALENDAR_PITCH + CALENDAR_TOP,
                             CALENDAR_SIZE, CALENDAR_SIZE);
        calendar.SetMarkToggled([this](int, int) { CountHolidays(0); });
        calendar.installEventFilter(this);
        calendar.show();
    }
    SetCalendarDates(now);

    // Top-left corner; the template fixes the client size (1022 x 730 in the 1024 x 768 frame).
    FitScreen();

    GetDlgItemAs<QComboBox>(IDC_BIWEEKLY_WEEKDAY)->setCurrentIndex(0);
    GetDlgItemAs<QRadioButton>(IDC_BIWEEKLY_EVEN)->setChecked(true);
    GetDlgItem(IDC_UNSET_SATURDAY)->setToolTip(QString::fromUtf8(UNSET_SATURDAY_NOTE));

    m_console.Open(*this);
    raise();
    activateWindow();  // the keyboard stays with the dialog
    for (const std::string& line : PortConsoleLines(g_portMap)) WriteConsole(line + "\n");

    // No marks but the holiday files' days: they count in every year shown.
    LoadHolidayFolder();
    ResetMarks();

    CountHolidays(1);

    ShowModelControls(false);
    ClearProgress();

    if (m_nPresetPort > 0) {
        auto* combo = GetDlgItemAs<QComboBox>(IDC_PORT);
        combo->setCurrentIndex(combo->findText("COM" + QString::number(m_nPresetPort)));
        if (m_nPresetModel == MODEL_ZEFA102) {
            GetDlgItemAs<QRadioButton>(IDC_MODEL_102)->setChecked(true);
            OnModel102();
        }
    }
}

void CSetupDlg::FitScreen()
{
    m_fittedFrame = ExpectedFrame(*this);
    const QRect room = ScreenRoom(*this);
    if (room.isEmpty()) return;
    // Scaled rather than scrolled: every button stays on the screen, and the calendars stay
    // whole, a year at a glance.
    const QSize drawn(DialogUnitsToPixelsX(SETUP_TEMPLATE, SETUP_TEMPLATE.cx),
                      DialogUnitsToPixelsY(SETUP_TEMPLATE, SETUP_TEMPLATE.cy));
    const double scale =
        FitScale(drawn.width(), drawn.height(), m_fittedFrame.left() + m_fittedFrame.right(),
                 m_fittedFrame.top() + m_fittedFrame.bottom(), {room.x(), room.y(), room.width(), room.height()});
    ScaleContents(scale);
    for (CCalendarCtrl& calendar : m_calendar) calendar.SetScale(scale);
    move(room.topLeft());  // the frame's corner
}

bool CSetupDlg::event(QEvent* event)
{
    const bool handled = CTemplateDialog::event(event);
    // The window manager tells the frame once the window is on the screen: fit again with it,
    // and put the console beside the dialog as it now stands.
    if ((event->type() == QEvent::Move || event->type() == QEvent::Show) && FrameKnown(*this) &&
        ExpectedFrame(*this) != m_fittedFrame) {
        FitScreen();
        if (m_console.isVisible()) m_console.Open(*this);
    }
    return handled;
}

void CSetupDlg::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    const char* about = LoadResourceString(IDS_ABOUTBOX);
    if (*about != '\0') menu.addAction(QString::fromUtf8(about), this, [this] { OnAboutBox(); });
    menu.addAction(QString::fromUtf8(TEXT_SHOW_CONSOLE), this, [this] { m_console.Open(*this); });
    menu.addAction(QString::fromUtf8(TEXT_IMPORT_HOLIDAYS), this, [this] { OnImportHolidays(); });
    menu.addAction(QString::fromUtf8(TEXT_EXPORT_HOLIDAYS), this, [this] { OnExportHolidays(); });
    menu.exec(event->globalPos());
}

bool CSetupDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !qobject_cast<QWidget*>(watched)) return false;
    // The dialog's keyboard interface takes these before a calendar sees them, as a dialog does
    // with a control that asks for no keys of its own; Page Up and Page Down reach the calendar.
    // The arrows stay with the calendar that has the focus: moving the focus on from a calendar,
    // where nothing shows it, let the next arrow change the port or the model unseen.
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down: return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape: keyPressEvent(key); return true;
    default: return false;
    }
}

void CSetupDlg::keyPressEvent(QKeyEvent* event)
{
    // Enter in a box takes what was typed there and never ends the dialog through the default
    // button "종  료": a port typed into the port box is opened, as "포트오픈" beside it would,
    // since naming a port is only ever done to open it; the weekday box has chosen its entry.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    QWidget* focus = focusWidget();
    const auto inBox = [focus](QWidget* box) { return focus && (focus == box || box->isAncestorOf(focus)); };
    if (enter && inBox(GetDlgItem(IDC_PORT))) {
        OnPortOpen();
        return;
    }
    if (enter && inBox(GetDlgItem(IDC_BIWEEKLY_WEEKDAY))) return;
    CTemplateDialog::keyPressEvent(event);
}

void CSetupDlg::OnAboutBox()
{
    CAboutDlg dlg(this);
    dlg.DoModal();
}

void CSetupDlg::ShowYear()
{
    m_yearLabel.SetStyle(YEAR_TEXT, YEAR_BACK, YEAR_FONT_HEIGHT, 1, 0);
    m_yearLabel.SetGradientEnd(0);
    m_yearLabel.SetCaption(QString::asprintf("%04d 년", m_nYear));
}

void CSetupDlg::SetCalendarDates(const LocalTime& today)
{
    for (int month = 1; month <= 12; ++month) {
        m_calendar[month - 1].SetDate(m_nYear, month, CalendarDay(m_nYear, month, today));
    }
}

void CSetupDlg::ShowModelControls(bool show)
{
    for (int id : MODEL_102_CONTROLS) GetDlgItem(id)->setVisible(show);
}

int CSetupDlg::CheckState(int id) const
{
    return GetDlgItemAs<QAbstractButton>(id)->isChecked() ? 1 : 0;
}

// Year navigation. Marks belong to month and day only, so they never carry over to another year;
// the holiday files' days are marked again for the new one.
// The total is recounted: the last count belonged to another year.

void CSetupDlg::OnNextYear()
{
    ++m_nYear;
    ShowOtherYear();
}

void CSetupDlg::OnPrevYear()
{
    if (m_nYear > FIRST_YEAR) --m_nYear;
    ShowOtherYear();
}

void CSetupDlg::ShowOtherYear()
{
    ShowYear();
    SetCalendarDates(m_clock());
    ResetMarks();
    ClearProgress();
    CountHolidays(0);
    if (LunarHolidaysUnknown(m_nYear)) WriteConsole(NoteLine(UnknownHolidayNotes(m_nYear).front().korean));
    Repaint();
}

// Options: stored for the holiday rule, shown at once and counted, never sent.

void CSetupDlg::OnUnsetSunday()
{
    g_holidaySettings.unsetSunday = CheckState(IDC_UNSET_SUNDAY);
    CountHolidays(0);
    Repaint();
}

void CSetupDlg::OnUnsetSaturday()
{
    g_holidaySettings.unsetSaturday = CheckState(IDC_UNSET_SATURDAY);
    Repaint();
}

void CSetupDlg::OnUnsetHoliday()
{
    g_holidaySettings.unsetHoliday = CheckState(IDC_UNSET_HOLIDAY);
    CountHolidays(0);
    Repaint();
}

void CSetupDlg::OnBiweeklyUse()
{
    g_holidaySettings.biweeklyUse = CheckState(IDC_BIWEEKLY_USE);
    CountHolidays(0);
    Repaint();
}

void CSetupDlg::OnBiweeklyEven()
{
    g_holidaySettings.biweeklyOdd = 0;
    CountHolidays(0);
    Repaint();
}

void CSetupDlg::OnBiweeklyOdd()
{
    g_holidaySettings.biweeklyOdd = 1;
    CountHolidays(0);
    Repaint();
}

void CSetupDlg::OnBiweeklyWeekday()
{
    g_holidaySettings.biweeklyWeekday = GetDlgItemAs<QComboBox>(IDC_BIWEEKLY_WEEKDAY)->currentIndex() + 1;
    CountHolidays(0);
    Repaint();
}

// The model sets the framing at once, so the receiver follows without a reopen.

void CSetupDlg::OnModel101()
{
    m_nModel = MODEL_ZEFA101;
    m_comm.m_nFraming = ModelFraming(m_nModel);
    ShowModelControls(false);
}

void CSetupDlg::OnModel102()
{
    m_nModel = MODEL_ZEFA102;
    m_comm.m_nFraming = ModelFraming(m_nModel);
    ::OnModelSelected(*this, m_nModel);  // ends the exchange in the protocol
    m_step.End();
    ShowStep();
    ShowModelControls(true);
}

void CSetupDlg::OnPortOpen()
{
    m_nModel = CheckState(IDC_MODEL_102) ? MODEL_ZEFA102 : MODEL_ZEFA101;
    auto* combo = GetDlgItemAs<QComboBox>(IDC_PORT);
    // A network address typed into the box (or COMn=address) is numbered as --port numbers it,
    // listed and selected, so that the entry below reads COMn again.
    if (const std::string typed = combo->currentText().trimmed().toStdString(); IsNetworkPortName(typed)) {
        std::string error;
        const int port = ParsePortArgument(typed, g_portMap, error);
        if (port == 0) {  // nothing was closed or opened
            ShowMessageBox(QString::fromStdString(error));
            return;
        }
        const QString entry = QStringLiteral("COM%1").arg(port);
        if (combo->findText(entry) < 0) combo->addItem(entry);
        combo->setCurrentIndex(combo->findText(entry));
        WriteConsole(PortListLine(g_portMap, entry.toStdString()) + "\n");
    }
    // Entries read COMn; the number is what follows the first three characters.
    const QByteArray name = combo->currentText().toLatin1();
    const int port = name.size() > 3 ? std::atoi(name.constData() + 3) : 0;
    if (port <= 0 || port > PORT_NUMBER_MAX) {
        ShowMessageBox(QString::fromUtf8(TEXT_SELECT_PORT));
        return;
    }
    // Whatever waited for a reply waited on the line this closes.
    EndExchange();
    ShowPortState(OpenTerminalLink(m_comm, *this, port, ModelFraming(m_nModel)) ? PORT_OPEN : PORT_OPEN_FAILED);
}

void CSetupDlg::ShowPortState(PortState state)
{
    SetStatusCaption(StatusCaption(state, g_bConnected));
}

bool CSetupDlg::RequireOpenPort()
{
    return ::RequireOpenPort(*this, m_comm.m_bRunning != 0);
}

int CSetupDlg::CountHolidays(int list)
{
    return ::CountHolidays(m_nYear, list, *this);
}

// Ending the dialog. The close box (and Alt+F4) closes the console first; "종  료" and Esc leave
// it to the end of the process. Every way asks first while an upload runs.

bool CSetupDlg::MayEnd()
{
    if (m_bEndConfirmed || !GetUploadProgress().running) return true;
    m_bEndConfirmed = Ask(QString::fromUtf8(TEXT_CLOSE_WHILE_SENDING));
    return m_bEndConfirmed;
}

bool CSetupDlg::Ask(const QString& text)
{
    QMessageBox ask(QMessageBox::Question, QStringLiteral("Dorvane"), text, QMessageBox::Yes | QMessageBox::No, this);
    ask.setDefaultButton(QMessageBox::No);
    ask.setWindowModality(Qt::WindowModal);
    return ask.exec() == QMessageBox::Yes;
}

void CSetupDlg::OnOK()
{
    if (MayEnd()) CTemplateDialog::OnOK();
}

void CSetupDlg::OnCancel()
{
    if (MayEnd()) CTemplateDialog::OnCancel();
}

void CSetupDlg::closeEvent(QCloseEvent* event)
{
    if (!MayEnd()) {
        event->ignore();
        return;
    }
    m_console.hide();
    CTemplateDialog::closeEvent(event);
}
