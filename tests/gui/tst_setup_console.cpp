// The main dialog as the operator meets it: the console window beside it, its keys, a total that
// follows what is on screen, and a screen smaller than the dialog was drawn for.
#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QtTest>

#include "date/holidays.h"
#include "protocol/terminal_model.h"
#include "res/resource.h"
#include "setup_rig.h"
#include "tests/support/unknown_holiday_notes.h"

namespace {

QString ScreenshotPath(const QString& name)
{
    const QString dir = qEnvironmentVariable("DORVANE_SCREENSHOT_DIR", QDir::tempPath() + "/dorvane-screenshots");
    QDir().mkpath(dir);
    return QDir(dir).filePath(name);
}

// The screen as the operator sees it: the dialog and its console where they stand.
QImage Desktop(const CSetupDlg& dlg)
{
    QImage image(dlg.screen()->geometry().size(), QImage::Format_RGB32);
    image.fill(QColor(60, 90, 120));
    QPainter painter(&image);
    // The dialog stays on top of its console.
    if (dlg.m_console.isVisible()) {
        painter.drawPixmap(dlg.m_console.geometry().topLeft(), const_cast<CConsoleWindow&>(dlg.m_console).grab());
    }
    painter.drawPixmap(dlg.geometry().topLeft(), const_cast<CSetupDlg&>(dlg).grab());
    return image;
}

}  // namespace

class TestSetupConsole : public QObject {
    Q_OBJECT
private slots:
    void consoleShowsTheTraffic_data();
    void consoleShowsTheTraffic();
    void consoleClosedByHandOnlyHides();
    void keysBelongToTheDialog();
    void totalFollowsWhatIsOnScreen();
    void fitsTheScreen();
};

void TestSetupConsole::consoleShowsTheTraffic_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QStringList>("connect");  // the lines of the connect
    QTest::addColumn<QStringList>("upload");
    // Every frame sent has its line.
    QTest::newRow("ZEFA-101") << MODEL_ZEFA101
                              << QStringList{"[RX]=>(15)#ZEFA-101 READY", "[TX]=>#E<CR><LF>", "[RX]=>(2)OK"}
                              << QStringList{"Holiday[설정공휴일] => 2026-03-03", kDeclaredDaysNoteLine,
                                             "[TX]=>#D0303<CR><LF>", "[RX]=>(2)OK"};
    QTest::newRow("ZEFA-102") << MODEL_ZEFA102 << QStringList{"[TX]=><STX>E<ETX>", "[RX]=>(2)OK"}
                              << QStringList{"Holiday[설정공휴일] => 2026-03-03", kDeclaredDaysNoteLine,
                                             "[TX]=><STX>D260303<ETX>",           "[RX]=>(2)OK",
                                             "[TX]=><STX>D260000<ETX>",           "[RX]=>(2)OK"};
}

void TestSetupConsole::consoleShowsTheTraffic()
{
    QFETCH(int, model);
    QFETCH(QStringList, connect);
    QFETCH(QStringList, upload);
    SetupRig rig(model);
    QVERIFY(rig.started);
    QCOMPARE(rig.dlg.m_console.windowTitle(), QStringLiteral("Dorvane 콘솔"));
    QVERIFY(rig.dlg.m_console.isVisible());
    QVERIFY(rig.dlg.m_console.isReadOnly());
    QVERIFY(rig.Connect());
    // In this order; a ZEFA-101 may greet again before it takes the connect frame.
    const QStringList lines = rig.dlg.m_console.Lines();
    qsizetype at = 0;
    for (const QString& line : connect) QVERIFY2((at = lines.indexOf(line, at)) >= 0, qPrintable(line));
    QCOMPARE(lines.last(), connect.last());
    rig.OnlyMarkedDays({{3, 3}});
    const qsizetype before = rig.dlg.m_console.Lines().size();
    rig.Click(IDC_DATA_SEND);
    QTRY_COMPARE(rig.Progress(), QStringLiteral("데이터 전송 완료 1 / 1"));
    QCOMPARE(rig.dlg.m_console.Lines().mid(before), upload);

    // Line noise long enough for the horizontal bar does not stop it following; reading back does.
    QScrollBar* bar = rig.dlg.m_console.verticalScrollBar();
    rig.dlg.WriteConsole("[RX]=>(900)" + std::string(900, '\x01') + "\n");
    QTest::qWait(50);  // the bar appears, the view shrinks
    for (int i = 0; i < 50; ++i) rig.dlg.WriteConsole("[RX]=>(2)OK\n");
    QCoreApplication::processEvents();  // the lines are laid out after the event that wrote them
    QCOMPARE(bar->value(), bar->maximum());
    bar->setValue(0);
    rig.dlg.WriteConsole("[RX]=>(2)OK\n");
    QCoreApplication::processEvents();
    QCOMPARE(bar->value(), 0);
}

void TestSetupConsole::consoleClosedByHandOnlyHides()
{
    SetupRig rig(MODEL_ZEFA102);
    QVERIFY(rig.started);
    rig.dlg.m_console.close();
    QVERIFY(!rig.dlg.m_console.isVisible());
    rig.dlg.WriteConsole("[RX]=>(2)OK\n");
    QCOMPARE(rig.dlg.m_console.Lines().last(), QStringLiteral("[RX]=>(2)OK"));
    // The dialog's menu brings it back.
    QTimer::singleShot(50, &rig.dlg, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return;
        for (QAction* action : menu->actions()) {
            if (action->text() == QString::fromUtf8(TEXT_SHOW_CONSOLE)) action->trigger();
        }
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), rig.dlg.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&rig.dlg, &event);
    QTRY_VERIFY(rig.dlg.m_console.isVisible());

    // The close box closes the console with the dialog.
    rig.dlg.close();
    QVERIFY(!rig.dlg.m_console.isVisible());
}

void TestSetupConsole::keysBelongToTheDialog()
{
    SetupRig rig(MODEL_ZEFA101);
    QVERIFY(rig.started);
    CCalendarCtrl& january = rig.dlg.m_calendar[0];
    const QString port = rig.dlg.GetDlgItemAs<QComboBox>(IDC_PORT)->currentText();
    rig.ClickDay(1, 31);
    QCOMPARE(rig.dlg.focusWidget(), &january);
    // The arrows stay with the calendar and move nothing: no port changes unseen.
    for (Qt::Key key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_Left, Qt::Key_Up, Qt::Key_Up, Qt::Key_Down}) {
        QTest::keyClick(rig.dlg.focusWidget(), key);
        QCOMPARE(rig.dlg.focusWidget(), &january);
        for (int month = 1; month <= 12; ++month)
            QCOMPARE(rig.dlg.m_calendar[month - 1].GetDate().GetMonth(CAL_SOLAR), month);
    }
    QCOMPARE(rig.dlg.GetDlgItemAs<QComboBox>(IDC_PORT)->currentText(), port);
    QTest::keyClick(&january, Qt::Key_PageDown);
    QCOMPARE(january.GetDate().GetMonth(CAL_SOLAR), 2);
    QCOMPARE(january.GetDate().GetDay(CAL_SOLAR), 28);
}

void TestSetupConsole::totalFollowsWhatIsOnScreen()
{
    SetupRig rig(MODEL_ZEFA101);
    QVERIFY(rig.started);
    QCOMPARE(rig.Text(IDC_TOTAL), TotalText(72));  // 2026
    rig.Click(IDC_PREV_YEAR);
    QCOMPARE(rig.Text(IDC_TOTAL), TotalText(70));  // 2025
    rig.Click(IDC_UNSET_SUNDAY);
    QCOMPARE(rig.Text(IDC_TOTAL), TotalText(19));
    rig.ClickDay(3, 4);  // a Tuesday
    QCOMPARE(rig.Text(IDC_TOTAL), TotalText(20));
}

void TestSetupConsole::fitsTheScreen()
{
    SetupRig rig(MODEL_ZEFA102);
    QVERIFY(rig.started);
    const QRect room = rig.dlg.screen()->availableGeometry();
    const bool small = room.width() < 1024 || room.height() < 768;
    const bool desk = QGuiApplication::platformName() == QLatin1String("xcb");
    // Frames and title bars included; a window manager tells them only once the windows are on
    // the screen, and the dialog fits again then.
    if (desk) QTRY_VERIFY(!rig.dlg.windowHandle()->frameMargins().isNull());
    QTRY_VERIFY(room.contains(rig.dlg.frameGeometry()));
    QTRY_VERIFY(room.contains(rig.dlg.m_console.frameGeometry()));
    // Every calendar scaled with the rest, none over the controls beside them.
    for (const CCalendarCtrl& calendar : rig.dlg.m_calendar) {
        QVERIFY(rig.dlg.GetDlgItem(IDC_BIWEEKLY_FRAME)->x() > calendar.geometry().right());
    }
    if (!small) {
        QCOMPARE(rig.dlg.size(), QSize(1022, 730));  // as drawn
    } else {
        for (const QAbstractButton* button : rig.dlg.findChildren<QAbstractButton*>()) {
            if (!button->isVisible()) continue;
            const QRect rect(button->mapToGlobal(QPoint(0, 0)), button->size());
            QVERIFY2(room.contains(rect), qPrintable(button->text()));
        }
    }
    // The console lays out its lines once the events that wrote them are done; a window manager
    // draws its frames meanwhile.
    QTest::qWait(200);
    if (desk) {  // as the window manager shows it
        QVERIFY(rig.dlg.screen()->grabWindow(0).save(ScreenshotPath("setup_dialog_desk.png")));
        return;
    }
    QVERIFY(
        Desktop(rig.dlg).save(ScreenshotPath(small ? "setup_dialog_small_screen.png" : "setup_dialog_console.png")));
    if (!small) QVERIFY(rig.dlg.m_console.grab().save(ScreenshotPath("console_window.png")));
}

QTEST_MAIN(TestSetupConsole)
#include "tst_setup_console.moc"
