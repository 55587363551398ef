#include "app/setup_dlg.h"

#include <algorithm>
#include <cstdlib>

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QRadioButton>
#include <QShortcut>

#include "app/about_dlg.h"
#include "app/loan_period_dlg.h"
#include "app/weekday_dlg.h"
#include "comm/port_enumerator.h"
#include "comm/terminal_link.h"
#include "date/holidays.h"
#include "date/lunar_date.h"
#include "protocol/console.h"
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

QString Utf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

int CalendarDay(int year, int month, const LocalTime& today)
{
    if (month != today.month) return 1;
    return std::min(today.day, DaysInMonth(year, month, CAL_SOLAR, 0));
}

CSetupDlg::CSetupDlg() : CTemplateDialog(SETUP_TEMPLATE), m_hIcon(AppIcon()), m_clock(ReadLocalClock)
{
    m_silenceTimer.setSingleShot(true);
    m_silenceTimer.setInterval(SILENCE_TIMEOUT_MS);
    connect(&m_silenceTimer, &QTimer::timeout, this, [this] { OnSilence(); });

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

    // Top-left corner; the template fixes the client size (1022 x 730 in the 1024 x 768 frame).
    move(0, 0);

    CPortEnumerator ports;
    ComboPortList list(GetDlgItemAs<QComboBox>(IDC_PORT));
    ports.m_pCombo = &list;
    ports.Enumerate();
    for (const std::string& line : PortConsoleLines(g_portMap)) ConsoleWrite(line + "\n");

    for (int i = 0; i < 12; ++i) {
        CCalendarCtrl& calendar = m_calendar[i];
        calendar.setParent(this);
        calendar.setGeometry((i % 4) * CALENDAR_PITCH + CALENDAR_LEFT, (i / 4) * CALENDAR_PITCH + CALENDAR_TOP,
                             CALENDAR_SIZE, CALENDAR_SIZE);
        calendar.show();
    }
    SetCalendarDates(now);

    ClearHolidayMarks();

    GetDlgItemAs<QComboBox>(IDC_BIWEEKLY_WEEKDAY)->setCurrentIndex(0);
    GetDlgItemAs<QRadioButton>(IDC_BIWEEKLY_EVEN)->setChecked(true);

    CountHolidays(1);

    ShowModelControls(false);

    if (m_nPresetPort > 0) {
        auto* combo = GetDlgItemAs<QComboBox>(IDC_PORT);
        combo->setCurrentIndex(combo->findText("COM" + QString::number(m_nPresetPort)));
        if (m_nPresetModel == MODEL_ZEFA102) {
            GetDlgItemAs<QRadioButton>(IDC_MODEL_102)->setChecked(true);
            OnModel102();
        }
    }
}

void CSetupDlg::contextMenuEvent(QContextMenuEvent* event)
{
    const char* text = LoadResourceString(IDS_ABOUTBOX);
    if (*text == '\0') return;
    QMenu menu(this);
    menu.addAction(QString::fromUtf8(text), this, [this] { OnAboutBox(); });
    menu.exec(event->globalPos());
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

// Year navigation. Marks belong to month and day only, so they never carry over to another year.

void CSetupDlg::OnNextYear()
{
    ++m_nYear;
    ShowYear();
    SetCalendarDates(m_clock());
    ClearHolidayMarks();
    Repaint();
}

void CSetupDlg::OnPrevYear()
{
    if (m_nYear > FIRST_YEAR) --m_nYear;
    ShowYear();
    SetCalendarDates(m_clock());
    ClearHolidayMarks();
    Repaint();
}

// Options: stored for the holiday rule, shown at once, neither counted nor sent.

void CSetupDlg::OnUnsetSunday()
{
    g_holidaySettings.unsetSunday = CheckState(IDC_UNSET_SUNDAY);
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
    Repaint();
}

void CSetupDlg::OnBiweeklyUse()
{
    g_holidaySettings.biweeklyUse = CheckState(IDC_BIWEEKLY_USE);
    Repaint();
}

void CSetupDlg::OnBiweeklyEven()
{
    g_holidaySettings.biweeklyOdd = 0;
    Repaint();
}

void CSetupDlg::OnBiweeklyOdd()
{
    g_holidaySettings.biweeklyOdd = 1;
    Repaint();
}

void CSetupDlg::OnBiweeklyWeekday()
{
    g_holidaySettings.biweeklyWeekday = GetDlgItemAs<QComboBox>(IDC_BIWEEKLY_WEEKDAY)->currentIndex() + 1;
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
    ::OnModelSelected(*this, m_nModel);
    ShowUploadProgress(false);
    WatchSilence(false);
    ShowModelControls(true);
}

void CSetupDlg::OnPortOpen()
{
    m_nModel = CheckState(IDC_MODEL_102) ? MODEL_ZEFA102 : MODEL_ZEFA101;
    // Entries read COMn; the number is what follows the first three characters.
    const QByteArray name = GetDlgItemAs<QComboBox>(IDC_PORT)->currentText().toLatin1();
    const int port = name.size() > 3 ? std::atoi(name.constData() + 3) : 0;
    if (port <= 0 || port > PORT_NUMBER_MAX) {
        ShowMessageBox(QString::fromUtf8(TEXT_SELECT_PORT));
        return;
    }
    OpenTerminalLink(m_comm, *this, port, ModelFraming(m_nModel));
}

// Commands. The protocol decides; the dialog only watches for a silent terminal.

void CSetupDlg::OnSystemConnect()
{
    ::OnSystemConnect(*this, m_nModel);
    // ZEFA-101 holds the frame until the terminal speaks; ZEFA-102 sent it.
    m_bAwaitConnect = m_nModel == MODEL_ZEFA102;
    ShowUploadProgress(false);
    WatchSilence(true);
}

void CSetupDlg::OnSetTime()
{
    ::OnSetTime(*this, m_nModel, m_clock());
}

void CSetupDlg::OnDataRead()
{
    ::OnDataRead(*this, m_nModel, m_nYear);
    WatchSilence(true);
}

void CSetupDlg::OnDataDelete()
{
    ::OnDataDelete(*this, m_nModel, m_nYear);
}

void CSetupDlg::OnDataSend()
{
    ::OnDataSend(*this, m_nModel, m_nYear);
    ShowUploadProgress(false);
    // Only an upload that (re)started waits for a reply.
    WatchSilence(GetUploadProgress().running);
}

void CSetupDlg::OnHolidayWeekdays()
{
    CWeekdayDlg dlg(this);
    if (dlg.DoModal() != IDOK) return;
    ::OnHolidayWeekdays(*this, dlg.m_strWeekdays);
}

void CSetupDlg::OnLoanPeriod()
{
    CLoanPeriodDlg dlg(this);
    if (dlg.DoModal() != IDOK) return;
    ::OnLoanPeriod(*this, dlg.m_nLoanPeriod1, dlg.m_nLoanPeriod2);
}

int CSetupDlg::CountHolidays(int list)
{
    return ::CountHolidays(m_nYear, list, *this);
}

// Replies.

void CSetupDlg::PostCommFrame(int)
{
    QMetaObject::invokeMethod(
        this, [this] { OnCommFrame(); }, Qt::QueuedConnection);
}

void CSetupDlg::OnCommFrame()
{
    // A reopen since the notice was queued re-armed the framer: that frame is gone.
    if (m_comm.m_nFrameState != FRAME_READY) return;
    const int effect = ::OnCommFrame(*this, m_nModel, m_nYear, m_comm.m_frame);
    // The reply to a connect frame has come, unless this reply released the held one.
    m_bAwaitConnect = (effect & REPLY_HELD_SENT) != 0;
    ShowUploadProgress((effect & REPLY_UPLOAD_DONE) != 0);
    WatchSilence(true);
}

void CSetupDlg::PostCommError(int, const std::string& message, const std::string& detail)
{
    QMetaObject::invokeMethod(
        this,
        [this, message, detail] {
            ConsoleWrite(message + " (" + detail + ")\n");
            // No reply can come on a line that is gone.
            EndExchanges();
            ShowMessageBox(Utf8(message));
        },
        Qt::QueuedConnection);
}

void CSetupDlg::ShowCommError(const std::string& message, const std::string& detail)
{
    ConsoleWrite(message + " (" + detail + ")\n");
    ShowMessageBox(Utf8(message));
}

// Silence.

bool CSetupDlg::AwaitingReply() const
{
    return m_bAwaitConnect || g_nPendingCmd != PENDING_NONE || m_comm.m_bLongReply != 0;
}

void CSetupDlg::WatchSilence(bool activity)
{
    if (!AwaitingReply()) {
        m_silenceTimer.stop();
    } else if (activity || !m_silenceTimer.isActive()) {
        m_silenceTimer.start();
    }
}

void CSetupDlg::OnSilence()
{
    if (!AwaitingReply()) return;
    ConsoleWrite(std::string("[TIMEOUT]=>") + TEXT_NO_REPLY + "\n");
    EndExchanges();
    ShowMessageBox(QString::fromUtf8(TEXT_NO_REPLY));
}

void CSetupDlg::EndExchanges()
{
    m_silenceTimer.stop();
    m_bAwaitConnect = false;
    AbandonExchange(*this);
    ShowUploadProgress(false);
}

void CSetupDlg::ShowUploadProgress(bool finished)
{
    QString title = QString::fromUtf8(SETUP_TEMPLATE.caption);
    const UploadProgress upload = GetUploadProgress();
    if (upload.running) {
        m_bUploadShown = true;
        title += QString::fromUtf8(" - 데이터 전송 %1 / %2").arg(upload.answered).arg(upload.total);
    } else if (m_bUploadShown) {
        m_bUploadShown = false;
        title += QString::fromUtf8(finished ? " - 데이터 전송 완료 %1 / %2" : " - 데이터 전송 중단 %1 / %2")
                     .arg(upload.answered)
                     .arg(upload.total);
    } else {
        return;
    }
    setWindowTitle(title);
}

// ProtocolHost.

void CSetupDlg::WriteConsole(const std::string& line)
{
    ConsoleWrite(line);
}

void CSetupDlg::SetTotalCaption(const std::string& text)
{
    GetDlgItemAs<QLabel>(IDC_TOTAL)->setText(Utf8(text));
}

void CSetupDlg::WriteFrame(const std::string& frame)
{
    m_comm.Write(frame.data(), static_cast<std::uint32_t>(frame.size()));
}

void CSetupDlg::ShowMessage(const std::string& text)
{
    ShowMessageBox(Utf8(text));
}

void CSetupDlg::SetStatusCaption(const std::string& text)
{
    GetDlgItemAs<QLabel>(IDC_STATUS)->setText(Utf8(text));
}

void CSetupDlg::Repaint()
{
    update();
    for (CCalendarCtrl& calendar : m_calendar) calendar.update();
}

int CSetupDlg::GetLongReply()
{
    return m_comm.m_bLongReply;
}

void CSetupDlg::SetLongReply(int value)
{
    m_comm.m_bLongReply = value;
}

void CSetupDlg::RearmFramer()
{
    m_comm.RearmFramer();
}

void CSetupDlg::DiscardPartialReply()
{
    m_comm.DiscardPartialReply();
}
