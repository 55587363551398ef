// The main dialog end to end: clicks on the real dialog, a simulated terminal on a real
// pseudo-terminal, the frames the terminal received.
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QRadioButton>
#include <QtTest>

#include "app/about_dlg.h"
#include "app/loan_period_dlg.h"
#include "app/qt_translation.h"
#include "app/weekday_dlg.h"
#include "date/holidays.h"
#include "protocol/holiday_upload.h"
#include "protocol/link_status.h"
#include "protocol/protocol.h"
#include "protocol/terminal_model.h"
#include "res/resource.h"
#include "setup_rig.h"
#include "tests/support/test_simulator.h"

using DayList = QList<QPair<int, int>>;

namespace {

const QString NOT_CONNECTED = QString::fromUtf8(TEXT_NOT_CONNECTED);
const QString NO_REPLY = QString::fromUtf8(TEXT_NO_REPLY);
constexpr int MODEL_102_IDS[] = {1029, 1017, 1008, 1009, 1010, 1024, 1031};

bool AnyMark()
{
    for (const auto& month : g_holidaySettings.marks) {
        for (int mark : month) {
            if (mark != 0) return true;
        }
    }
    return false;
}

bool Model102ControlsVisible(const CSetupDlg& dlg, bool visible)
{
    for (int id : MODEL_102_IDS) {
        if (dlg.GetDlgItem(id)->isVisible() != visible) return false;
    }
    return true;
}

// The Sundays of 2026 as ZEFA-102 D frames, from Qt's calendar rather than ours.
QStringList Sundays2026()
{
    QStringList frames;
    for (QDate d(2026, 1, 1); d.year() == 2026; d = d.addDays(1)) {
        if (d.dayOfWeek() == Qt::Sunday) frames << QString::asprintf("D26%02d%02d", d.month(), d.day());
    }
    return frames;
}

}  // namespace

class TestSetupDlg : public QObject {
    Q_OBJECT
private slots:
    void presetPortAndModel_data();
    void presetPortAndModel();
    void connect_data();
    void connect();
    void upload_data();
    void upload();
    void readBack_data();
    void readBack();
    void commands_data();
    void commands();
    void notConnected_data();
    void notConnected();
    void silence_data();
    void silence();
    void hangUpDuringUpload();
    void closingWhileSendingAsksInKorean();
    void aYearWithoutItsLunarHolidaysSaysSoAndAsksBeforeSending();
    void portOpen_data();
    void portOpen();
    void messageBox();
    void closing_data();
    void closing();
    void aboutBox();
    void yearNavigation();
    void currentMonthDayClampedInEveryYear();
    void modelSwitch();
    void screenshot();
};

void TestSetupDlg::presetPortAndModel_data()
{
    QTest::addColumn<int>("model");
    QTest::newRow("ZEFA-101") << MODEL_ZEFA101;
    QTest::newRow("ZEFA-102") << MODEL_ZEFA102;
}

void TestSetupDlg::presetPortAndModel()
{
    QFETCH(int, model);
    SetupRig rig(model);
    QVERIFY(rig.started);
    const int port = rig.sim.RegisterPort();
    QCOMPARE(rig.dlg.GetDlgItemAs<QComboBox>(IDC_PORT)->currentText(), "COM" + QString::number(port));
    QCOMPARE(rig.dlg.m_nModel, model);
    QCOMPARE(rig.dlg.GetDlgItemAs<QRadioButton>(IDC_MODEL_102)->isChecked(), model == MODEL_ZEFA102);
    QCOMPARE(rig.dlg.m_comm.m_nFraming.load(), model);
    QVERIFY(Model102ControlsVisible(rig.dlg, model == MODEL_ZEFA102));
    QCOMPARE(rig.Text(IDC_STATUS), QString::fromUtf8(TEXT_DISCONNECTED));
}

void TestSetupDlg::connect_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QString>("frame");
    // ZEFA-101: the frame waits for the terminal's greeting line and answers it.
    QTest::newRow("ZEFA-101") << MODEL_ZEFA101 << "#E";
    QTest::newRow("ZEFA-102") << MODEL_ZEFA102 << "E";
}

void TestSetupDlg::connect()
{
    QFETCH(int, model);
    QFETCH(QString, frame);
    SetupRig rig(model);
    QVERIFY(rig.started);
    QVERIFY(rig.Connect());
    QCOMPARE(g_bConnected, 1);
    QCOMPARE(rig.Frames(), QStringList{frame});
    QCOMPARE(g_nPendingCmd, PENDING_NONE);
    QVERIFY(rig.messages.isEmpty());
}

void TestSetupDlg::upload_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<bool>("unsetSunday");
    QTest::addColumn<DayList>("marked");
    QTest::addColumn<QStringList>("frames");  // after the connect frame
    QTest::addColumn<int>("total");

    // 2026 has 52 Sundays; 5 January and 10 March are weekdays.
    QTest::newRow("ZEFA-101 counts Sundays, sends none")
        << MODEL_ZEFA101 << false << DayList{{3, 10}, {1, 5}} << QStringList{"#D0105", "#D0310"} << 54;
    QTest::newRow("ZEFA-102 ends with the end record")
        << MODEL_ZEFA102 << true << DayList{{12, 31}, {1, 5}} << QStringList{"D260105", "D261231", "D260000"} << 2;
    QTest::newRow("ZEFA-102 sends every Sunday")
        << MODEL_ZEFA102 << false << DayList{} << (Sundays2026() << "D260000") << 52;
}

void TestSetupDlg::upload()
{
    QFETCH(int, model);
    QFETCH(bool, unsetSunday);
    QFETCH(DayList, marked);
    QFETCH(QStringList, frames);
    QFETCH(int, total);

    SetupRig rig(model);
    QVERIFY(rig.started);
    QVERIFY(rig.Connect());
    if (unsetSunday) rig.Click(IDC_UNSET_SUNDAY);
    rig.Click(IDC_UNSET_HOLIDAY);
    for (const auto& [month, day] : marked) rig.ClickDay(month, day);

    rig.Click(IDC_DATA_SEND);
    QCOMPARE(rig.Text(IDC_TOTAL), TotalText(total));
    QTRY_VERIFY_WITH_TIMEOUT(g_nPendingCmd == PENDING_NONE, 10000);

    QCOMPARE(rig.Frames().mid(1), frames);
    QVERIFY(rig.messages.isEmpty());
    // Holidays, not records: the ZEFA-102 end record is none.
    const QString n = QString::number(frames.size() - (model == MODEL_ZEFA102 ? 1 : 0));
    QCOMPARE(rig.Progress(), "데이터 전송 완료 " + n + " / " + n);
    QCOMPARE(rig.dlg.windowTitle(), QStringLiteral("Dorvane"));
}

void TestSetupDlg::readBack_data()
{
    QTest::addColumn<int>("model");
    QTest::newRow("ZEFA-101") << MODEL_ZEFA101;
    QTest::newRow("ZEFA-102") << MODEL_ZEFA102;
}

void TestSetupDlg::readBack()
{
    QFETCH(int, model);
    SetupRig rig(model);
    QVERIFY(rig.started);
    QVERIFY(rig.Connect());
    rig.OnlyMarkedDays({{2, 27}, {11, 3}});
    rig.Click(IDC_DATA_SEND);
    QTRY_VERIFY(g_nPendingCmd == PENDING_NONE);

    // Forget one mark here; the terminal still has both.
    rig.ClickDay(11, 3);
    QCOMPARE(g_holidaySettings.marks[11][3], 0);
    rig.Click(IDC_DATA_READ);
    QTRY_COMPARE(rig.dlg.m_comm.m_bLongReply.load(), 0);
    QCOMPARE(g_holidaySettings.marks[2][27], 1);
    QCOMPARE(g_holidaySettings.marks[11][3], 1);
    QCOMPARE(rig.Text(IDC_TOTAL), TotalText(2));

    // Deleted on the terminal: nothing comes back.
    rig.Click(IDC_DATA_DELETE);
    QVERIFY(!AnyMark());
    rig.Click(IDC_DATA_READ);
    QTRY_COMPARE(rig.dlg.m_comm.m_bLongReply.load(), 0);
    QVERIFY(!AnyMark());
    QCOMPARE(rig.Text(IDC_TOTAL), TotalText(0));
    QVERIFY(rig.messages.isEmpty());
}

void TestSetupDlg::commands_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("frame");

    // Thursday 14 May 2026, 10:30:00 (weekday 5).
    QTest::newRow("ZEFA-101 time has no seconds") << MODEL_ZEFA101 << IDC_SET_TIME << "#T26051451030";
    QTest::newRow("ZEFA-102 time") << MODEL_ZEFA102 << IDC_SET_TIME << "T2605145103000";
    QTest::newRow("ZEFA-101 delete") << MODEL_ZEFA101 << IDC_DATA_DELETE << "#C";
    QTest::newRow("ZEFA-102 delete carries the year") << MODEL_ZEFA102 << IDC_DATA_DELETE << "C26";
    // Monday, Friday, Saturday and Sunday ticked: Sunday goes last.
    QTest::newRow("weekdays") << MODEL_ZEFA102 << IDC_HOLIDAY_WEEKDAYS << "W2671";
    QTest::newRow("loan periods") << MODEL_ZEFA102 << IDC_LOAN_PERIOD << "L014007";
}

void TestSetupDlg::commands()
{
    QFETCH(int, model);
    QFETCH(int, button);
    QFETCH(QString, frame);

    SetupRig rig(model);
    QVERIFY(rig.started);
    QVERIFY(rig.Connect());
    rig.ClickDay(6, 3);
    WhenModal<CWeekdayDlg>([](CWeekdayDlg& dlg) {
        for (int id : {IDC_WEEKDAY_SUN, IDC_WEEKDAY_SAT, IDC_WEEKDAY_FRI, IDC_WEEKDAY_MON}) {
            QTest::mouseClick(dlg.GetDlgItem(id), Qt::LeftButton);
        }
        QTest::mouseClick(dlg.GetDlgItem(IDOK), Qt::LeftButton);
    });
    WhenModal<CLoanPeriodDlg>([](CLoanPeriodDlg& dlg) {
        dlg.GetDlgItemAs<QLineEdit>(IDC_LOAN_PERIOD1)->setText("14");
        dlg.GetDlgItemAs<QLineEdit>(IDC_LOAN_PERIOD2)->setText("7");
        QTest::mouseClick(dlg.GetDlgItem(IDOK), Qt::LeftButton);
    });
    rig.Click(button);
    QVERIFY(rig.sim.WaitForFrames(2, std::chrono::seconds(5)));
    QCOMPARE(rig.Frames().mid(1), QStringList{frame});
    QCOMPARE(AnyMark(), button != IDC_DATA_DELETE);
    QVERIFY(rig.messages.isEmpty());
}

void TestSetupDlg::notConnected_data()
{
    QTest::addColumn<int>("button");
    QTest::newRow("set time") << IDC_SET_TIME;
    QTest::newRow("read") << IDC_DATA_READ;
    QTest::newRow("delete") << IDC_DATA_DELETE;
    QTest::newRow("send") << IDC_DATA_SEND;
    QTest::newRow("weekdays") << IDC_HOLIDAY_WEEKDAYS;
}

void TestSetupDlg::notConnected()
{
    QFETCH(int, button);
    SetupRig rig(MODEL_ZEFA102);
    QVERIFY(rig.started);
    rig.ClickDay(6, 3);
    WhenModal<CWeekdayDlg>([](CWeekdayDlg& dlg) {
        QTest::mouseClick(dlg.GetDlgItem(IDC_WEEKDAY_MON), Qt::LeftButton);
        QTest::mouseClick(dlg.GetDlgItem(IDOK), Qt::LeftButton);
    });
    rig.Click(button);
    QCOMPARE(rig.messages, QStringList{NOT_CONNECTED});
    QVERIFY(!rig.sim.WaitForFrames(1, std::chrono::milliseconds(200)));
    QCOMPARE(g_holidaySettings.marks[6][3], 1);  // a refused delete keeps the marks
    QCOMPARE(g_nPendingCmd, PENDING_NONE);
    QCOMPARE(rig.dlg.m_comm.m_bLongReply.load(), 0);
}

void TestSetupDlg::silence_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("connected");
    QTest::addColumn<QStringList>("frames");
    QTest::addColumn<QString>("progress");

    QTest::newRow("ZEFA-102 connect") << MODEL_ZEFA102 << IDC_SYSTEM_CONNECT << false << QStringList{"E"} << "";
    QTest::newRow("upload") << MODEL_ZEFA102 << IDC_DATA_SEND << true << QStringList{"D260104"}
                            << "데이터 전송 중단 0 / 52";
    QTest::newRow("read") << MODEL_ZEFA102 << IDC_DATA_READ << true << QStringList{"R26"} << "";
}

void TestSetupDlg::silence()
{
    QFETCH(int, model);
    QFETCH(int, button);
    QFETCH(bool, connected);
    QFETCH(QStringList, frames);
    QFETCH(QString, progress);

    SetupRig rig(model, {.silent = true});
    QVERIFY(rig.started);
    rig.dlg.SetSilenceTimeout(200);
    g_bConnected = connected ? 1 : 0;
    if (model == MODEL_ZEFA102) rig.Click(IDC_UNSET_HOLIDAY);  // Sundays only

    rig.Click(button);
    QTRY_COMPARE(rig.messages, QStringList{NO_REPLY});
    QCOMPARE(g_nPendingCmd, PENDING_NONE);
    QCOMPARE(rig.dlg.m_comm.m_bLongReply.load(), 0);
    QCOMPARE(rig.Frames(), frames);
    QCOMPARE(rig.Progress(), progress);
    QCOMPARE(rig.Text(IDC_STATUS), QString::fromUtf8(TEXT_DISCONNECTED));
    // One message per silence, not one per tick.
    QTest::qWait(500);
    QCOMPARE(rig.messages.size(), 1);
}

void TestSetupDlg::hangUpDuringUpload()
{
    SetupRig rig(MODEL_ZEFA102, {.hangUpAfterFrames = 3});
    QVERIFY(rig.started);
    QVERIFY(rig.Connect());
    rig.dlg.SetSilenceTimeout(200);
    rig.Click(IDC_UNSET_HOLIDAY);  // the Sundays and the end record: 53 records
    rig.Click(IDC_DATA_SEND);

    const QString lost = QStringLiteral("COM%1 포트의 연결이 끊어졌습니다.").arg(rig.sim.RegisterPort());
    QTRY_COMPARE(rig.messages, QStringList{lost});
    QCOMPARE(g_nPendingCmd, PENDING_NONE);
    QCOMPARE(rig.Progress(), QStringLiteral("데이터 전송 중단 2 / 52"));
    // The line is gone: no silence is reported on top.
    QTest::qWait(400);
    QCOMPARE(rig.messages.size(), 1);

    QCOMPARE(rig.Text(IDC_STATUS), QString::fromUtf8(TEXT_PORT_LOST));
    rig.Click(IDC_SET_TIME);
    QCOMPARE(rig.messages.last(), QString::fromUtf8(TEXT_OPEN_PORT_FIRST));
    rig.Click(IDC_PORT_OPEN);  // the device went with the hang-up
    QCOMPARE(rig.Text(IDC_STATUS), QString::fromUtf8(TEXT_PORT_OPEN_FAILED));
    // Another terminal's port, typed and entered: the connection shows again, as it never ended.
    std::string error;
    const std::unique_ptr<CTerminalSimulator> other = StartTestSimulator(MODEL_ZEFA102, error);
    QVERIFY2(other, error.c_str());
    auto* combo = rig.dlg.GetDlgItemAs<QComboBox>(IDC_PORT);
    combo->setEditText(QStringLiteral("COM%1").arg(other->RegisterPort()));
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Return);
    QCOMPARE(rig.Text(IDC_STATUS), QString::fromUtf8(TEXT_CONNECTED));
}

void TestSetupDlg::closingWhileSendingAsksInKorean()
{
    for (const char* locale : {"LC_ALL", "LC_MESSAGES", "LANG"}) qunsetenv(locale);
    QVERIFY(InstallKoreanQtTexts(*qApp));
    SetupRig rig(MODEL_ZEFA102, {.silent = true});
    QVERIFY(rig.started);
    g_bConnected = 1;
    rig.Click(IDC_DATA_SEND);
    QVERIFY(GetUploadProgress().running);
    QStringList buttons;
    WhenModal<QMessageBox>([&](QMessageBox& box) {
        for (QAbstractButton* button : box.buttons()) buttons << button->text();
        box.button(QMessageBox::No)->click();
    });
    rig.dlg.close();
    QCOMPARE(buttons, (QStringList{QStringLiteral("예(&Y)"), QStringLiteral("아니요(&N)")}));
}

void TestSetupDlg::aYearWithoutItsLunarHolidaysSaysSoAndAsksBeforeSending()
{
    SetupRig rig(MODEL_ZEFA102, {}, {2049, 12, 1, 9, 0, 0});
    QVERIFY(rig.started);
    QCOMPARE(rig.Progress(), QString());
    rig.Click(IDC_NEXT_YEAR);
    QCOMPARE(rig.Progress(), QStringLiteral("음력 휴일 없음 (음력 표 밖의 해)"));
    QVERIFY(rig.Connect());
    for (const bool send : {false, true}) {
        QString question;
        WhenModal<QMessageBox>([&](QMessageBox& box) {
            question = box.text();
            box.button(send ? QMessageBox::Yes : QMessageBox::No)->click();
        });
        rig.Click(IDC_DATA_SEND);
        QVERIFY(question.startsWith(QStringLiteral("2050년은 음력 표(1841-2049년) 밖이라")));
        QCOMPARE(GetUploadProgress().running, send);
    }
}

void TestSetupDlg::portOpen_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("enter");  // Enter in the box rather than a click on "포트오픈"
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("status");

    const QString unchanged = QString::fromUtf8(TEXT_DISCONNECTED);  // the simulator's port stays open
    const QString failed = QString::fromUtf8(TEXT_PORT_OPEN_FAILED);
    QTest::newRow("no number") << "COM" << false << QString::fromUtf8(TEXT_SELECT_PORT) << unchanged;
    QTest::newRow("zero") << "COM0" << false << QString::fromUtf8(TEXT_SELECT_PORT) << unchanged;
    QTest::newRow("beyond 255") << "COM300" << true << QString::fromUtf8(TEXT_SELECT_PORT) << unchanged;
    QTest::newRow("no such device") << "COM200" << false << QStringLiteral("COM200 포트를 열수가 없습니다.") << failed;
    // A typed address is numbered after the simulator's COM129, then opened.
    QTest::newRow("address, nothing listening")
        << "tcp://127.0.0.1:1" << true
        << QStringLiteral("COM130 포트를 열수가 없습니다.\n127.0.0.1:1 에 연결할 수 없습니다: Connection refused")
        << failed;
    QTest::newRow("address without a port")
        << "rfc2217://127.0.0.1" << false
        << QStringLiteral(
               "네트워크 포트 주소가 잘못되었습니다 (tcp://호스트:포트, rfc2217://호스트:포트, tcp+tls://…, "
               "rfc2217+tls://…): rfc2217://127.0.0.1")
        << unchanged;
}

void TestSetupDlg::portOpen()
{
    QFETCH(QString, name);
    QFETCH(bool, enter);
    QFETCH(QString, message);
    QFETCH(QString, status);
    SetupRig rig(MODEL_ZEFA102);
    QVERIFY(rig.started);
    auto* combo = rig.dlg.GetDlgItemAs<QComboBox>(IDC_PORT);
    combo->setEditText(name);
    if (enter) {
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Return);
    } else {
        rig.Click(IDC_PORT_OPEN);
    }
    QCOMPARE(rig.messages, QStringList{message});
    QCOMPARE(rig.Text(IDC_STATUS), status);
    // Enter never reaches the default button "종  료".
    QVERIFY(rig.dlg.isVisible());
}

void TestSetupDlg::messageBox()
{
    ResetLink();
    CSetupDlg dlg;
    dlg.show();
    QString title, text;
    QList<QAbstractButton*> buttons;
    Qt::WindowModality modality = Qt::NonModal;
    WhenModal<QMessageBox>([&](QMessageBox& box) {
        title = box.windowTitle();
        text = box.text();
        buttons = box.buttons();
        modality = box.windowModality();
        box.accept();
    });
    QTest::mouseClick(dlg.GetDlgItem(IDC_SET_TIME), Qt::LeftButton);  // no port is open
    QCOMPARE(title, QStringLiteral("Dorvane"));
    QCOMPARE(text, QString::fromUtf8(TEXT_OPEN_PORT_FIRST));
    QCOMPARE(buttons.size(), 1);
    QCOMPARE(modality, Qt::WindowModal);  // the dialog's, not the console's
}

void TestSetupDlg::closing_data()
{
    QTest::addColumn<int>("how");  // 0: "종  료", 1: Esc, 2: the close box
    QTest::addColumn<int>("result");
    QTest::newRow("종  료") << 0 << IDOK;
    QTest::newRow("Esc") << 1 << IDCANCEL;
    QTest::newRow("close box") << 2 << IDCANCEL;
}

void TestSetupDlg::closing()
{
    QFETCH(int, how);
    QFETCH(int, result);
    CSetupDlg dlg;
    dlg.SetMessageSink([](const QString&) {});
    bool consoleSelects = false;
    QTimer::singleShot(0, &dlg, [&] {
        // No part of the dialog's modality: a double click on the console, as the window system
        // delivers it, selects a word, once the console shows its lines.
        QTRY_VERIFY(!dlg.m_console.document()->isEmpty());
        const QPoint word = dlg.m_console.viewport()->mapTo(&dlg.m_console, QPoint(20, 8));
        QTest::mouseDClick(dlg.m_console.windowHandle(), Qt::LeftButton, {}, word);
        consoleSelects = dlg.m_console.textCursor().hasSelection();
        if (how == 0) QTest::mouseClick(dlg.GetDlgItem(IDOK), Qt::LeftButton);
        if (how == 1) QTest::keyClick(&dlg, Qt::Key_Escape);
        if (how == 2) dlg.close();
    });
    QCOMPARE(dlg.DoModal(), result);
    QVERIFY(consoleSelects);
}

void TestSetupDlg::aboutBox()
{
    CSetupDlg dlg;
    dlg.SetMessageSink([](const QString&) {});
    dlg.show();
    dlg.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    int opened = 0;
    const auto answer = [&](CAboutDlg& about) {
        ++opened;
        about.accept();
    };
    WhenModal<CAboutDlg>(answer);
    QTest::keyClick(&dlg, Qt::Key_F1);
    QCOMPARE(opened, 1);

    // Right click: the dialog's menu holds the about item.
    QString item;
    QTimer::singleShot(50, &dlg, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return;
        item = menu->actions().value(0)->text();
        WhenModal<CAboutDlg>(answer);
        menu->actions().value(0)->trigger();
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), dlg.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&dlg, &event);
    QCOMPARE(item, QStringLiteral("Dorvane 정보(&A)..."));
    QTRY_COMPARE(opened, 2);
}

void TestSetupDlg::yearNavigation()
{
    SetupRig rig(MODEL_ZEFA101);
    QVERIFY(rig.started);
    for (int i = 0; i < 2026 - 2009; ++i) rig.Click(IDC_PREV_YEAR);
    QCOMPARE(rig.dlg.m_nYear, 2009);

    // At 2009 the year stays, yet the marks go and the calendars return to their days.
    rig.ClickDay(3, 3);
    rig.ClickDay(5, 20);
    QVERIFY(AnyMark());
    rig.Click(IDC_PREV_YEAR);
    QCOMPARE(rig.dlg.m_nYear, 2009);
    QVERIFY(!AnyMark());
    for (int month = 1; month <= 12; ++month) {
        const CLunarDate& date = rig.dlg.m_calendar[month - 1].GetDate();
        QCOMPARE(date.GetYear(CAL_SOLAR), 2009);
        QCOMPARE(date.GetMonth(CAL_SOLAR), month);
        QCOMPARE(date.GetDay(CAL_SOLAR), month == 5 ? 14 : 1);
    }

    // No upper limit, also past the lunar table.
    for (int i = 0; i < 2050 - 2009; ++i) rig.Click(IDC_NEXT_YEAR);
    QCOMPARE(rig.dlg.m_nYear, 2050);
    QCOMPARE(rig.dlg.m_calendar[11].GetDate().GetYear(CAL_SOLAR), 2050);
}

void TestSetupDlg::currentMonthDayClampedInEveryYear()
{
    // On 29 February every common year's February must still show that year.
    SetupRig rig(MODEL_ZEFA101, {}, LocalTime{2028, 2, 29, 9, 0, 0});
    QVERIFY(rig.started);
    for (int year = 2028; year <= 2033; ++year) {
        const CLunarDate& february = rig.dlg.m_calendar[1].GetDate();
        QCOMPARE(february.GetYear(CAL_SOLAR), year);
        QCOMPARE(february.GetDay(CAL_SOLAR), QDate::isLeapYear(year) ? 29 : 28);
        QCOMPARE(rig.dlg.m_calendar[2].GetDate().GetDay(CAL_SOLAR), 1);
        rig.Click(IDC_NEXT_YEAR);
    }
    for (int i = 0; i < 7; ++i) rig.Click(IDC_PREV_YEAR);
    QCOMPARE(rig.dlg.m_calendar[1].GetDate().GetYear(CAL_SOLAR), 2027);
    QCOMPARE(rig.dlg.m_calendar[1].GetDate().GetDay(CAL_SOLAR), 28);
}

void TestSetupDlg::modelSwitch()
{
    SetupRig rig(MODEL_ZEFA101, {.silent = true});
    QVERIFY(rig.started);
    rig.dlg.SetSilenceTimeout(200);

    // A held connect frame is dropped by choosing ZEFA-102, and no silence is reported for it.
    rig.Click(IDC_SYSTEM_CONNECT);
    QCOMPARE(g_nPendingCmd, PENDING_CONNECT);
    rig.Click(IDC_MODEL_102);
    QCOMPARE(g_nPendingCmd, PENDING_NONE);
    QCOMPARE(rig.dlg.m_comm.m_nFraming.load(), FRAMING_STX_ETX);
    QVERIFY(Model102ControlsVisible(rig.dlg, true));
    QTest::qWait(400);
    QVERIFY(rig.messages.isEmpty());
    QVERIFY(rig.Frames().isEmpty());

    // Biweekly Wednesdays in odd weeks, then back to ZEFA-101: hidden, still in force.
    const int before = rig.dlg.CountHolidays(0);
    rig.Click(IDC_BIWEEKLY_USE);
    auto* weekday = rig.dlg.GetDlgItemAs<QComboBox>(IDC_BIWEEKLY_WEEKDAY);
    for (int i = 0; i < 3; ++i) QTest::keyClick(weekday, Qt::Key_Down);
    rig.Click(IDC_BIWEEKLY_ODD);
    QCOMPARE(g_holidaySettings.biweeklyUse, 1);
    QCOMPARE(g_holidaySettings.biweeklyWeekday, 4);
    QCOMPARE(g_holidaySettings.biweeklyOdd, 1);
    rig.Click(IDC_MODEL_101);
    QCOMPARE(rig.dlg.m_nModel, MODEL_ZEFA101);
    QCOMPARE(rig.dlg.m_comm.m_nFraming.load(), FRAMING_LINES);
    QVERIFY(Model102ControlsVisible(rig.dlg, false));
    QCOMPARE(g_holidaySettings.biweeklyUse, 1);
    QVERIFY(rig.dlg.CountHolidays(0) > before);

    // ZEFA-101 keeps a held frame.
    rig.Click(IDC_SYSTEM_CONNECT);
    rig.Click(IDC_MODEL_101);
    QCOMPARE(g_nPendingCmd, PENDING_CONNECT);
}

void TestSetupDlg::screenshot()
{
    const QString dir = qEnvironmentVariable("DORVANE_SCREENSHOT_DIR", QDir::tempPath() + "/dorvane-screenshots");
    QVERIFY(QDir().mkpath(dir));
    {
        // As it starts: ZEFA-101, its seven ZEFA-102 controls hidden.
        SetupRig rig(MODEL_ZEFA101);
        QVERIFY(rig.started);
        const QString path = QDir(dir).filePath("setup_dialog_start.png");
        QVERIFY2(rig.dlg.grab().save(path), qPrintable(path));
    }
    SetupRig rig(MODEL_ZEFA102);
    QVERIFY(rig.started);
    QVERIFY(rig.Connect());
    rig.Click(IDC_BIWEEKLY_USE);
    for (const auto& [month, day] : DayList{{1, 7}, {4, 15}, {8, 20}, {10, 9}}) rig.ClickDay(month, day);
    rig.Click(IDC_DATA_SEND);
    QTRY_VERIFY_WITH_TIMEOUT(g_nPendingCmd == PENDING_NONE, 10000);
    const QString path = QDir(dir).filePath("setup_dialog.png");
    QVERIFY2(rig.dlg.grab().save(path), qPrintable(path));
}

QTEST_MAIN(TestSetupDlg)
#include "tst_setup_dlg.moc"
