// The main dialog as the operator meets it: the console window beside it, its keys, a total that
// follows what is on screen, and a screen smaller than the dialog was drawn for.
#include <QAbstractButton>
#include <QDir>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QtTest>

#include "tests/support/unknown_holiday_notes.h"
#include "date/holidays.h"
#include "protocol/terminal_model.h"
#include "res/resource.h"
#include "setup_rig.h"

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
    QTest::addColumn<QString>("connect");  // the line that answered the connect frame's wait
    QTest::addColumn<QStringList>("upload");
    QTest::newRow("ZEFA-101") << MODEL_ZEFA101 << "[RX]=>(15)#ZEFA-101 READY"
                              << QStringList{"Holiday[설정공휴일] => 2026-03-03", kDeclaredDaysNoteLine, "[RX]=>(2)OK"};
    QTest::newRow("ZEFA-102") << MODEL_ZEFA102 << "[RX]=>(2)OK"
                              << QStringList{"Holiday[설정공휴일] => 2026-03-03", kDeclaredDaysNoteLine, "[RX]=>(2)OK",
                                             "[TX]=><STX>D260000<ETX>", "[RX]=>(2)OK"};
}

void TestSetupConsole::consoleShowsTheTraffic()
{
    QFETCH(int, model);
    QFETCH(QString, connect);
    QFETCH(QStringList, upload);
    SetupRig rig(model);
    QVERIFY(rig.started);
    QCOMPARE(rig.dlg.m_console.windowTitle(), QStringLiteral("Dorvane 콘솔"));
    QVERIFY(rig.dlg.m_console.isVisible());
    QVERIFY(rig.dlg.m_console.isReadOnly());
    QVERIFY(rig.Connect());
    QVERIFY(rig.dlg.m_console.Lines().contains(connect));
    QCOMPARE(rig.dlg.m_console.Lines().last(), QStringLiteral("[RX]=>(2)OK"));
    rig.OnlyMarkedDays({{3, 3}});
    const qsizetype before = rig.dlg.m_console.Lines().size();
    rig.Click(IDC_DATA_SEND);
    QTRY_COMPARE(rig.Progress(), QStringLiteral("데이터 전송 완료 1 / 1"));
    QCOMPARE(rig.dlg.m_console.Lines().mid(before), upload);
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
    rig.ClickDay(1, 31);
    for (Qt::Key key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_Left, Qt::Key_Up}) {
        QTest::keyClick(&january, key);
        for (int month = 1; month <= 12; ++month)
            QCOMPARE(rig.dlg.m_calendar[month - 1].GetDate().GetMonth(CAL_SOLAR), month);
    }
    rig.ClickDay(1, 31);  // its mark goes again; the calendar has the focus
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
    const QRect screen = rig.dlg.screen()->geometry();
    const bool small = screen.width() < 1024 || screen.height() < 768;
    if (!small) {
        QCOMPARE(rig.dlg.size(), QSize(1022, 730));  // as drawn
    } else {
        QVERIFY(screen.contains(rig.dlg.frameGeometry()));
        for (const QAbstractButton* button : rig.dlg.findChildren<QAbstractButton*>()) {
            if (!button->isVisible()) continue;
            const QRect rect(button->mapToGlobal(QPoint(0, 0)), button->size());
            QVERIFY2(screen.contains(rect), qPrintable(button->text()));
        }
    }
    QVERIFY(
        Desktop(rig.dlg).save(ScreenshotPath(small ? "setup_dialog_small_screen.png" : "setup_dialog_console.png")));
    if (!small) QVERIFY(rig.dlg.m_console.grab().save(ScreenshotPath("console_window.png")));
}

QTEST_MAIN(TestSetupConsole)
#include "tst_setup_console.moc"
