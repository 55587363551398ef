#include <QtTest>

#include "dialog/calendar_layout.h"

class TestCalendarLayout : public QObject {
    Q_OBJECT
private slots:
    void layout_data();
    void layout();
};

void TestCalendarLayout::layout_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("weeks");
    QTest::addColumn<QList<int>>("colX");
    QTest::addColumn<QList<int>>("rowY");

    const QList<int> cols200{1, 30, 59, 87, 115, 143, 171, 199};
    // 153 pixels of grid: rows of 153 / 6 = 25, the spare 153 % weeks pixels to the first rows.
    QTest::newRow("200x200, four weeks") << 200 << 200 << 4 << cols200 << QList<int>{46, 72, 97, 122, 147};
    QTest::newRow("200x200, five weeks") << 200 << 200 << 5 << cols200 << QList<int>{46, 72, 98, 124, 149, 174};
    QTest::newRow("200x200, six weeks") << 200 << 200 << 6 << cols200 << QList<int>{46, 72, 98, 124, 149, 174, 199};
    // 205 - 2 = 203 = 7 x 29: no spare column pixels; 160 - 47 = 113 rows of 18, 113 % 5 = 3.
    QTest::newRow("205x160, five weeks") << 205 << 160 << 5 << QList<int>{1, 30, 59, 88, 117, 146, 175, 204}
                                         << QList<int>{46, 65, 84, 103, 121, 139};
}

void TestCalendarLayout::layout()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, weeks);
    QFETCH(QList<int>, colX);
    QFETCH(QList<int>, rowY);

    const CalendarLayout l = LayoutCalendar({0, 0, width, height}, 18, 19, weeks);
    QCOMPARE(l.titleHeight, 26);
    QCOMPARE(l.headerHeight, 19);
    QCOMPARE(l.weeks, weeks);
    QCOMPARE(l.title, (CalRect{1, 1, width - 1, 27}));
    QCOMPARE(l.header, (CalRect{1, 27, width - 1, 46}));
    QCOMPARE(l.grid, (CalRect{1, 46, width - 1, height - 1}));
    QCOMPARE(QList<int>(std::begin(l.colX), std::end(l.colX)), colX);
    QCOMPARE(QList<int>(l.rowY, l.rowY + weeks + 1), rowY);
}

QTEST_APPLESS_MAIN(TestCalendarLayout)
#include "tst_calendar_layout.moc"
