// Writes pictures of the widgets to $DORVANE_SCREENSHOT_DIR for a person to look at.
#include <QDir>
#include <QtTest>

#include "app/about_dlg.h"
#include "app/loan_period_dlg.h"
#include "app/weekday_dlg.h"
#include "calendar/calendar_ctrl.h"
#include "calendar_test_util.h"
#include "date/holidays.h"
#include "tests/support/test_globals.h"
#include "widgets/color_label.h"

class Screenshots : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void monthWithEveryHolidayKind();
    void yearLabel();
    void yearView();
    void smallDialogs();

private:
    void Save(QWidget& widget, const QString& name);
    QDir m_dir;
};

void Screenshots::initTestCase()
{
    const QString dir = qEnvironmentVariable("DORVANE_SCREENSHOT_DIR", QDir::tempPath() + "/dorvane-screenshots");
    QVERIFY(QDir().mkpath(dir));
    m_dir.setPath(dir);
}

void Screenshots::Save(QWidget& widget, const QString& name)
{
    const QString path = m_dir.filePath(name + ".png");
    QVERIFY2(widget.grab().save(path), qPrintable(path));
}

void Screenshots::monthWithEveryHolidayKind()
{
    // May 2026: Sundays, Children's Day (5th), Buddha's Birthday (24th, a Sunday), a marked
    // Thursday (14th), a biweekly Wednesday in even week rows (6th, 20th), blue Saturdays.
    ResetTestGlobals();
    g_holidaySettings.marks[5][14] = 1;
    g_holidaySettings.biweeklyUse = 1;
    g_holidaySettings.biweeklyWeekday = 4;
    CCalendarCtrl ctrl;
    ctrl.resize(200, 200);
    ctrl.SetDate(2026, 5, 14);
    const QImage image = ctrl.grab().toImage();
    QCOMPARE(DayColour(image, DayCell(ctrl, 14)), HOLIDAY_RED);
    QCOMPARE(DayColour(image, DayCell(ctrl, 6)), HOLIDAY_RED);
    QCOMPARE(DayColour(image, DayCell(ctrl, 13)), TEXT_BLACK);
    Save(ctrl, "calendar_may_2026");

    CCalendarCtrl big;
    big.resize(400, 400);
    big.SetDate(2026, 5, 14);
    Save(big, "calendar_may_2026_400");
    ResetTestGlobals();
}

void Screenshots::yearLabel()
{
    CColorLabel label;
    label.resize(272, 39);  // 136 x 24 dialog units of the main dialog
    label.SetStyle(0xFFFFFF, 0xFF6464, 20, 1, 0);
    label.SetGradientEnd(0);
    label.SetCaption(QStringLiteral("2026 년"));
    Save(label, "year_label_2026");
}

void Screenshots::yearView()
{
    // Twelve months placed as the main dialog places them.
    QWidget page;
    page.resize(4 * 220 + 10, 3 * 220 + 10);
    for (int i = 0; i < 12; ++i) {
        auto* ctrl = new CCalendarCtrl(&page);
        ctrl->setGeometry((i % 4) * 220 + 10, (i / 4) * 220 + 10, 200, 200);
        ctrl->SetDate(2026, i + 1, 1);
    }
    Save(page, "year_2026");
}

void Screenshots::smallDialogs()
{
    CWeekdayDlg weekday;
    Save(weekday, "weekday_dialog");
    CLoanPeriodDlg loan;
    loan.show();
    Save(loan, "loan_period_dialog");
    CAboutDlg about;
    Save(about, "about_dialog");
}

QTEST_MAIN(Screenshots)
#include "tst_screenshots.moc"
