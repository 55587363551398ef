#include <memory>

#include <QHelpEvent>
#include <QToolTip>
#include <QtTest>

#include "calendar/calendar_ctrl.h"
#include "calendar_test_util.h"
#include "date/holidays.h"
#include "tests/support/test_globals.h"
#include "widgets/log_font.h"

// Months of 2026 by their number of week rows.
constexpr int FOUR_WEEKS = 2;  // February 2026 starts on a Sunday
constexpr int FIVE_WEEKS = 1;  // January 2026 starts on a Thursday
constexpr int SIX_WEEKS = 5;   // May 2026 starts on a Friday and has 31 days

class TestCalendarCtrl : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void titleText();
    void fontsAreInstalledHangulFaces_data();
    void fontsAreInstalledHangulFaces();
    void partialRepaintMatchesFullPaint();
    void cellRectangles();
    void hitTest_data();
    void hitTest();
    void nothingIsHitBeforeTheFirstPaint();

    void dayColours_data();
    void dayColours();
    void blankCellsOutsideTheMonth();
    void titleNumberStandsRightOfTheMiddle();
    void gridLines_data();
    void gridLines();
    void outlineAndOpenBand();

    void clickTogglesAndSecondClickRestores();
    void doubleClickTogglesOnce();
    void blankCellClickChangesNothing();
    void titleStripClickTakesNoFocus();
    void keys_data();
    void keys();
    void clickThenPageDownKeepsTheDay();
    void refusedDatesLeaveThePreviousOne();
    void setYearMonthMessage();
    void hoverTellsWhyADayIsAHoliday();

private:
    QImage Paint() { return m_ctrl->grab().toImage(); }

    std::unique_ptr<CCalendarCtrl> m_ctrl;
};

void TestCalendarCtrl::init()
{
    ResetTestGlobals();
    m_ctrl = std::make_unique<CCalendarCtrl>();
    m_ctrl->resize(200, 200);
    m_ctrl->SetDate(2026, SIX_WEEKS, 1);
    m_ctrl->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_ctrl.get()));
    Paint();
}

void TestCalendarCtrl::cleanup()
{
    m_ctrl.reset();
}

void TestCalendarCtrl::titleText()
{
    QCOMPARE(QString::fromStdString(CCalendarModel::TitleText(3)), QStringLiteral("           3 월"));
    QCOMPARE(QString::fromStdString(CCalendarModel::TitleText(12)), QStringLiteral("          12 월"));
}

void TestCalendarCtrl::fontsAreInstalledHangulFaces_data()
{
    QTest::addColumn<QString>("windowsFace");
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("scaledFamily");
    const QString coding = QStringLiteral("NanumGothicCoding");
    QTest::newRow("Gulim") << QStringLiteral("굴림") << QStringLiteral("Baekmuk Gulim")
                           << QStringLiteral("NanumGothic");
    QTest::newRow("GulimChe") << QStringLiteral("굴림체") << coding << coding;
    QTest::newRow("DotumChe") << QStringLiteral("돋움체") << QStringLiteral("Baekmuk Dotum") << coding;
}

void TestCalendarCtrl::fontsAreInstalledHangulFaces()
{
    QFETCH(QString, windowsFace);
    QFETCH(QString, family);
    QFETCH(QString, scaledFamily);
    // A missing font package would silently fall back to a face without the right metrics.
    const QFont font = MakeLogFont(windowsFace, 18, 700);
    QCOMPARE(QFontInfo(font).family(), family);
    QCOMPARE(QFontInfo(MakeLogFont(ScaledHangulFace(windowsFace), 13, 700)).family(), scaledFamily);
    // A positive height is the cell height, or the next smaller one the face has.
    const int height = QFontMetrics(font).height();
    QVERIFY2(height == 18 || height == 17, qPrintable(QString::number(height)));
    QCOMPARE(QFontInfo(MakeLogFont(windowsFace, -20, 0)).pixelSize(), 20);
}

void TestCalendarCtrl::partialRepaintMatchesFullPaint()
{
    g_holidaySettings.marks[SIX_WEEKS][14] = 1;
    const QImage full = Paint();
    // Update rectangles away from the origin: the off-screen image must land where it belongs.
    for (const QRect r : {QRect(130, 4, 65, 20), QRect(35, 80, 90, 70), QRect(0, 0, 200, 200)}) {
        const QImage part = m_ctrl->grab(r).toImage();
        QCOMPARE(part, full.copy(r));
    }
}

void TestCalendarCtrl::cellRectangles()
{
    CalRect r;
    QVERIFY(m_ctrl->Model().GetCellRect(0, 0, &r));
    QCOMPARE(r, (CalRect{1, 46, 30, 72}));  // first row and column start on the grid's edge
    QVERIFY(m_ctrl->Model().GetCellRect(1, 1, &r));
    QCOMPARE(r, (CalRect{31, 73, 59, 98}));
    QVERIFY(m_ctrl->Model().GetCellRect(5, 6, &r));
    QCOMPARE(r, (CalRect{172, 175, 199, 199}));

    const CalRect untouched{7, 7, 7, 7};
    for (const auto& [row, col] : {std::pair{6, 0}, {-1, 0}, {0, 7}, {0, -1}}) {
        r = untouched;
        QVERIFY2(!m_ctrl->Model().GetCellRect(row, col, &r), qPrintable(QStringLiteral("%1,%2").arg(row).arg(col)));
        QCOMPARE(r, untouched);
    }
    QVERIFY(!m_ctrl->Model().GetCellRect(0, 0, nullptr));
}

void TestCalendarCtrl::hitTest_data()
{
    QTest::addColumn<int>("month");
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");

    QTest::newRow("inside the first cell") << SIX_WEEKS << QPoint(10, 50) << 0 << 0;
    QTest::newRow("inside the last cell") << SIX_WEEKS << QPoint(198, 198) << 5 << 6;
    QTest::newRow("on a column edge") << SIX_WEEKS << QPoint(30, 50) << 0 << -1;
    QTest::newRow("on a row edge") << SIX_WEEKS << QPoint(10, 72) << -1 << 0;
    QTest::newRow("on the grid's left edge") << SIX_WEEKS << QPoint(1, 50) << 0 << -1;
    QTest::newRow("in the title") << SIX_WEEKS << QPoint(100, 10) << -1 << 3;
    QTest::newRow("in the header") << SIX_WEEKS << QPoint(100, 35) << -1 << 3;
    QTest::newRow("sixth week row") << SIX_WEEKS << QPoint(100, 190) << 5 << 3;
    QTest::newRow("band under five weeks") << FIVE_WEEKS << QPoint(100, 190) << -1 << 3;
    QTest::newRow("fifth row of five weeks") << FIVE_WEEKS << QPoint(100, 160) << 4 << 3;
    QTest::newRow("band under four weeks") << FOUR_WEEKS << QPoint(100, 160) << -1 << 3;
}

void TestCalendarCtrl::hitTest()
{
    QFETCH(int, month);
    QFETCH(QPoint, point);
    QFETCH(int, row);
    QFETCH(int, col);

    m_ctrl->SetDate(2026, month, 1);
    Paint();
    int gotRow = 7, gotCol = 7;
    m_ctrl->Model().HitTest(point.x(), point.y(), &gotRow, &gotCol);
    QCOMPARE(gotRow, row);
    QCOMPARE(gotCol, col);
}

void TestCalendarCtrl::nothingIsHitBeforeTheFirstPaint()
{
    CCalendarCtrl fresh;
    int row = 7, col = 7;
    fresh.Model().HitTest(10, 50, &row, &col);
    QCOMPARE(row, -1);
    QCOMPARE(col, -1);
    CalRect r;
    QVERIFY(!fresh.Model().GetCellRect(0, 0, &r));
}

void TestCalendarCtrl::dayColours_data()
{
    QTest::addColumn<int>("day");
    QTest::addColumn<bool>("marked");
    QTest::addColumn<bool>("unsetSunday");
    QTest::addColumn<QColor>("colour");

    // May 2026: Saturdays 2, 9, 16; Sundays 3, 10; Children's Day Tuesday 5.
    QTest::newRow("weekday") << 4 << false << false << TEXT_BLACK;
    QTest::newRow("national holiday") << 5 << false << false << HOLIDAY_RED;
    QTest::newRow("national holiday, marked too") << 5 << true << false << HOLIDAY_RED;
    QTest::newRow("Saturday") << 9 << false << false << SATURDAY_BLUE;
    QTest::newRow("marked Saturday") << 9 << true << false << HOLIDAY_RED;
    QTest::newRow("marked weekday") << 14 << true << false << HOLIDAY_RED;
    QTest::newRow("Sunday") << 10 << false << false << HOLIDAY_RED;
    QTest::newRow("Sunday, Sundays unset") << 10 << false << true << TEXT_BLACK;
    QTest::newRow("marked Sunday, Sundays unset") << 10 << true << true << HOLIDAY_RED;
}

void TestCalendarCtrl::dayColours()
{
    QFETCH(int, day);
    QFETCH(bool, marked);
    QFETCH(bool, unsetSunday);
    QFETCH(QColor, colour);

    g_holidaySettings.marks[SIX_WEEKS][day] = marked ? 1 : 0;
    g_holidaySettings.unsetSunday = unsetSunday ? 1 : 0;
    QCOMPARE(DayColour(Paint(), DayCell(*m_ctrl, day)), colour);
}

void TestCalendarCtrl::blankCellsOutsideTheMonth()
{
    const QImage image = Paint();
    const QRgb face = m_ctrl->palette().color(QPalette::Button).rgb();
    // May 2026 starts on a Friday and ends on a Sunday: five blank cells before, six after.
    const auto isBlank = [&](int row, int col) {
        CalRect cell;
        m_ctrl->Model().GetCellRect(row, col, &cell);
        for (int y = cell.top; y < cell.bottom; ++y) {
            for (int x = cell.left; x < cell.right; ++x) {
                if (image.pixel(x, y) != face) return false;
            }
        }
        return true;
    };
    for (int col = 0; col < 7; ++col) {
        QCOMPARE(isBlank(0, col), col < 5);
        QCOMPARE(isBlank(5, col), col > 0);
    }
}

void TestCalendarCtrl::titleNumberStandsRightOfTheMiddle()
{
    const QImage image = Paint();
    const QRgb text = m_ctrl->palette().color(QPalette::HighlightedText).rgb();
    int minX = 200, maxX = -1;
    for (int y = 3; y < 25; ++y) {
        for (int x = 3; x < 197; ++x) {
            if (image.pixel(x, y) != text) continue;
            minX = std::min(minX, x);
            maxX = std::max(maxX, x);
        }
    }
    QVERIFY2(maxX >= 0, "no title text");
    QVERIFY2(minX > 100, qPrintable(QStringLiteral("title text starts at x = %1").arg(minX)));
}

void TestCalendarCtrl::gridLines_data()
{
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("horizontal");
    QTest::newRow("four weeks") << FOUR_WEEKS << 3;
    QTest::newRow("five weeks") << FIVE_WEEKS << 4;
    QTest::newRow("six weeks") << SIX_WEEKS << 5;
}

void TestCalendarCtrl::gridLines()
{
    QFETCH(int, month);
    QFETCH(int, horizontal);

    m_ctrl->SetDate(2026, month, 1);
    const QImage image = Paint();
    const QRgb grid = m_ctrl->palette().color(QPalette::Dark).rgb();  // palette colours carry 16 bits
    CalRect first;
    QVERIFY(m_ctrl->Model().GetCellRect(0, 0, &first));

    // Across the bottom of the first week row and down the right of the first column, where no
    // day number reaches.
    int vertical = 0;
    for (int x = 0; x < 200; ++x) vertical += image.pixel(x, first.bottom - 2) == grid;
    int lines = 0;
    for (int y = first.top; y < 200; ++y) lines += image.pixel(first.right - 2, y) == grid;
    QCOMPARE(vertical, 6);
    QCOMPARE(lines, horizontal);
}

void TestCalendarCtrl::outlineAndOpenBand()
{
    m_ctrl->SetDate(2026, FIVE_WEEKS, 1);
    const QImage image = Paint();
    for (const QPoint p : {QPoint(0, 0), QPoint(199, 0), QPoint(0, 199), QPoint(199, 199), QPoint(100, 199)}) {
        QCOMPARE(image.pixelColor(p), QColor(Qt::black));
    }
    // Under the fifth week: the face colour, no closing line, the column lines stop at 174.
    const QRgb face = m_ctrl->palette().color(QPalette::Button).rgb();
    for (int y = 174; y < 199; ++y) {
        for (int x = 1; x < 199; ++x) QCOMPARE(image.pixel(x, y), face);
    }
}

void TestCalendarCtrl::clickTogglesAndSecondClickRestores()
{
    const QPoint p = DayPoint(*m_ctrl, 14);
    QTest::mouseClick(m_ctrl.get(), Qt::LeftButton, {}, p);
    QCOMPARE(g_holidaySettings.marks[SIX_WEEKS][14], 1);
    QCOMPARE(m_ctrl->GetDate().GetDay(CAL_SOLAR), 14);
    QCOMPARE(DayColour(Paint(), DayCell(*m_ctrl, 14)), HOLIDAY_RED);
    QVERIFY(m_ctrl->hasFocus() || m_ctrl->window()->focusWidget() == m_ctrl.get());

    QTest::mouseClick(m_ctrl.get(), Qt::LeftButton, {}, p);
    QCOMPARE(g_holidaySettings.marks[SIX_WEEKS][14], 0);
    QCOMPARE(DayColour(Paint(), DayCell(*m_ctrl, 14)), TEXT_BLACK);

    // A mark of any other value counts as set and is cleared.
    g_holidaySettings.marks[SIX_WEEKS][14] = 5;
    QTest::mouseClick(m_ctrl.get(), Qt::LeftButton, {}, p);
    QCOMPARE(g_holidaySettings.marks[SIX_WEEKS][14], 0);
}

void TestCalendarCtrl::doubleClickTogglesOnce()
{
    // Through the window, so that Qt itself turns the second press into a double click.
    QWindow* window = m_ctrl->windowHandle();
    QVERIFY(window);
    const QPoint p = m_ctrl->mapTo(m_ctrl->window(), DayPoint(*m_ctrl, 20));
    QTest::mouseDClick(window, Qt::LeftButton, {}, p);
    QCOMPARE(g_holidaySettings.marks[SIX_WEEKS][20], 1);
    QTest::mouseDClick(window, Qt::LeftButton, {}, p);
    QCOMPARE(g_holidaySettings.marks[SIX_WEEKS][20], 0);
}

void TestCalendarCtrl::blankCellClickChangesNothing()
{
    m_ctrl->SetDate(2026, SIX_WEEKS, 12);
    Paint();
    CalRect blank;
    QVERIFY(m_ctrl->Model().GetCellRect(0, 0, &blank));  // 26 April
    QTest::mouseClick(m_ctrl.get(), Qt::LeftButton, {}, QPoint(blank.left + 10, blank.top + 10));
    QTest::mouseClick(m_ctrl.get(), Qt::LeftButton, {}, QPoint(190, 190));  // 6 June
    QCOMPARE(m_ctrl->GetDate().GetDay(CAL_SOLAR), 12);
    QCOMPARE(m_ctrl->GetDate().GetMonth(CAL_SOLAR), SIX_WEEKS);
    QCOMPARE(m_ctrl->Model().GetSelRow(), 5);  // the clicked cell stays selected
    QCOMPARE(m_ctrl->Model().GetSelCol(), 6);
    for (const auto& month : g_holidaySettings.marks) {
        for (int mark : month) QCOMPARE(mark, 0);
    }
}

void TestCalendarCtrl::titleStripClickTakesNoFocus()
{
    QWidget other;
    other.setFocusPolicy(Qt::StrongFocus);
    other.show();
    QApplication::setActiveWindow(m_ctrl.get());
    QTest::mouseClick(m_ctrl.get(), Qt::LeftButton, {}, QPoint(180, 12));
    QVERIFY(m_ctrl->window()->focusWidget() != m_ctrl.get());
    QTest::mouseClick(m_ctrl.get(), Qt::LeftButton, {}, QPoint(20, 12));  // title left of the strip
    QCOMPARE(m_ctrl->window()->focusWidget(), m_ctrl.get());
    QCOMPARE(m_ctrl->GetDate().GetDay(CAL_SOLAR), 1);
}

void TestCalendarCtrl::keys_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("ctrl");
    QTest::addColumn<QDate>("to");

    QTest::newRow("Page Down from 31 Jan")
        << QDate(2026, 1, 31) << int(Qt::Key_PageDown) << false << QDate(2026, 2, 28);
    QTest::newRow("Page Up from 31 Mar") << QDate(2024, 3, 31) << int(Qt::Key_PageUp) << false << QDate(2024, 2, 29);
    QTest::newRow("Ctrl+Page Up from 29 Feb 2008")
        << QDate(2008, 2, 29) << int(Qt::Key_PageUp) << true << QDate(2007, 2, 28);
    QTest::newRow("Ctrl+Page Down") << QDate(2026, 5, 1) << int(Qt::Key_PageDown) << true << QDate(2027, 5, 1);
    QTest::newRow("Right from 31 Jan") << QDate(2026, 1, 31) << int(Qt::Key_Right) << false << QDate(2026, 2, 1);
    QTest::newRow("Left from 1 Jan") << QDate(2026, 1, 1) << int(Qt::Key_Left) << false << QDate(2025, 12, 31);
    QTest::newRow("Up") << QDate(2026, 3, 3) << int(Qt::Key_Up) << false << QDate(2026, 2, 24);
    QTest::newRow("Down") << QDate(2026, 2, 24) << int(Qt::Key_Down) << false << QDate(2026, 3, 3);
    QTest::newRow("Enter does nothing") << QDate(2026, 5, 1) << int(Qt::Key_Return) << false << QDate(2026, 5, 1);
    QTest::newRow("year 3 stays") << QDate(3, 1, 31) << int(Qt::Key_PageUp) << true << QDate(3, 1, 31);
    QTest::newRow("into year 2 is refused") << QDate(3, 1, 1) << int(Qt::Key_Left) << false << QDate(3, 1, 1);
}

void TestCalendarCtrl::keys()
{
    QFETCH(QDate, from);
    QFETCH(int, key);
    QFETCH(bool, ctrl);
    QFETCH(QDate, to);

    m_ctrl->SetDate(from.year(), from.month(), from.day());
    QTest::keyClick(m_ctrl.get(), Qt::Key(key), ctrl ? Qt::ControlModifier : Qt::NoModifier);
    const CLunarDate& d = m_ctrl->GetDate();
    QCOMPARE(QDate(d.GetYear(CAL_SOLAR), d.GetMonth(CAL_SOLAR), d.GetDay(CAL_SOLAR)), to);
    QCOMPARE(m_ctrl->Model().GetSelRow(), d.GetWeekOfMonth() - 1);
    QCOMPARE(m_ctrl->Model().GetSelCol(), d.GetWeekday() - 1);
}

void TestCalendarCtrl::clickThenPageDownKeepsTheDay()
{
    m_ctrl->SetDate(2026, 6, 1);
    Paint();
    QTest::mouseClick(m_ctrl.get(), Qt::LeftButton, {}, DayPoint(*m_ctrl, 15));
    QTest::keyClick(m_ctrl.get(), Qt::Key_PageDown);
    QCOMPARE(m_ctrl->GetDate().GetMonth(CAL_SOLAR), 7);
    QCOMPARE(m_ctrl->GetDate().GetDay(CAL_SOLAR), 15);
    // The picture follows: July 2026 starts on a Wednesday, so 15 is in row 2, column 3.
    Paint();
    QCOMPARE(DayCell(*m_ctrl, 15), [&] {
        CalRect r;
        m_ctrl->Model().GetCellRect(2, 3, &r);
        return r;
    }());
}

void TestCalendarCtrl::refusedDatesLeaveThePreviousOne()
{
    m_ctrl->SetDate(2009, 2, 10);
    m_ctrl->SetDate(2009, 2, 30);
    QCOMPARE(m_ctrl->GetDate().GetDay(CAL_SOLAR), 10);
    m_ctrl->SetDate(2009, 13, 1);
    QCOMPARE(m_ctrl->GetDate().GetMonth(CAL_SOLAR), 2);
}

void TestCalendarCtrl::setYearMonthMessage()
{
    m_ctrl->SetDate(2026, 4, 30);
    QCOMPARE(m_ctrl->Model().OnSetYearMonth(2, 2), 1);  // 30 February: refused
    QCOMPARE(m_ctrl->GetDate().GetMonth(CAL_SOLAR), 4);
    QCOMPARE(m_ctrl->Model().OnSetYearMonth(2, 3), 1);  // neither year nor month
    QCOMPARE(m_ctrl->GetDate().GetMonth(CAL_SOLAR), 4);
    QCOMPARE(m_ctrl->Model().OnSetYearMonth(2030, 1), 1);
    QCOMPARE(m_ctrl->GetDate().GetYear(CAL_SOLAR), 2030);
    QCOMPARE(m_ctrl->Model().OnSetYearMonth(6, 2), 1);
    QCOMPARE(m_ctrl->GetDate().GetMonth(CAL_SOLAR), 6);
    QCOMPARE(m_ctrl->Model().GetSelRow(), m_ctrl->GetDate().GetWeekOfMonth() - 1);
}

void TestCalendarCtrl::hoverTellsWhyADayIsAHoliday()
{
    // 24 May 2026 is both a Sunday and 부처님 오신 날.
    const QPoint day = DayPoint(*m_ctrl, 24);
    QHelpEvent event(QEvent::ToolTip, day, m_ctrl->mapToGlobal(day));
    QApplication::sendEvent(m_ctrl.get(), &event);
    QCOMPARE(QToolTip::text(),
             QStringLiteral("2026년 05월 24일 일요일 (음력 4월 8일)\n일요일\n국가공휴일: 부처님 오신 날"));
}

QTEST_MAIN(TestCalendarCtrl)
#include "tst_calendar_ctrl.moc"
