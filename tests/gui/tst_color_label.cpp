#include <QtTest>

#include "widgets/color_label.h"

namespace {

// The year caption's colours: white on red 100, green 100, blue 255 fading to black.
constexpr COLORREF WHITE = 0xFFFFFF;
constexpr COLORREF YEAR_BACK = 0xFF6464;

struct Band {
    int left, width;
    QColor colour;
};

// Runs of one colour along a pixel row.
QList<Band> Bands(const QImage& image, int y)
{
    QList<Band> bands;
    for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, y);
        if (bands.isEmpty() || bands.last().colour != c) {
            bands.append({x, 1, c});
        } else {
            ++bands.last().width;
        }
    }
    return bands;
}

}  // namespace

class TestColorLabel : public QObject {
    Q_OBJECT
private slots:
    void gradientBands();
    void narrowLabelIsOneBand();
    void flatWithoutGradient();
    void captionIsCentred();
    void doubleTextShiftsUpLeft();
};

void TestColorLabel::gradientBands()
{
    CColorLabel label;
    label.resize(204, 40);
    QCOMPARE(label.SetStyle(WHITE, YEAR_BACK, 20, 1, 0), 1);
    label.SetGradientEnd(0);
    label.SetCaption(QString());
    const QImage image = label.grab().toImage();

    const QList<Band> bands = Bands(image, 2);
    QCOMPARE(bands.size(), 60);
    for (int i = 0; i < 59; ++i) {
        QCOMPARE(bands[i].left, 3 * i);
        QCOMPARE(bands[i].width, 3);
        // Steps -1, -1 and -4: (0 - 100) / 59 and (0 - 255) / 59 truncated.
        QCOMPARE(bands[i].colour, QColor(100 - i, 100 - i, 255 - 4 * i));
    }
    QCOMPARE(bands[59].left, 177);
    QCOMPARE(bands[59].width, 27);
    QCOMPARE(bands[59].colour, QColor(41, 41, 19));  // not black: the truncation shows

    // The bands stop one row short of the bottom, which keeps the background colour.
    const QList<Band> bottom = Bands(image, 39);
    QCOMPARE(bottom.size(), 1);
    QCOMPARE(bottom[0].colour, QColor(100, 100, 255));
}

void TestColorLabel::narrowLabelIsOneBand()
{
    CColorLabel label;
    label.resize(50, 20);
    label.SetStyle(WHITE, YEAR_BACK, 20, 1, 0);
    label.SetCaption(QString());
    const QList<Band> bands = Bands(label.grab().toImage(), 0);
    QCOMPARE(bands.size(), 1);
    QCOMPARE(bands[0].colour, QColor(41, 41, 19));
}

void TestColorLabel::flatWithoutGradient()
{
    CColorLabel label;
    label.resize(100, 20);
    label.SetStyle(WHITE, MakeColorRef(10, 20, 30), 12, 0, 0);
    label.SetCaption(QString());
    const QImage image = label.grab().toImage();
    for (int y = 0; y < 20; ++y) QCOMPARE(Bands(image, y).size(), 1);
    QCOMPARE(image.pixelColor(50, 10), QColor(10, 20, 30));
}

namespace {

// Bounding box of the pixels in the text colour.
QRect TextBox(const QImage& image, const QColor& text)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == text) box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

}  // namespace

void TestColorLabel::captionIsCentred()
{
    CColorLabel label;
    label.resize(272, 39);
    label.SetStyle(WHITE, YEAR_BACK, 20, 1, 0);
    label.SetGradientEnd(0);
    label.SetCaption(QStringLiteral("2026 년"));
    const QRect box = TextBox(label.grab().toImage(), Qt::white);
    QVERIFY(!box.isEmpty());
    QVERIFY2(qAbs(box.center().x() - 136) <= 3, qPrintable(QString::number(box.center().x())));
    QVERIFY2(qAbs(box.center().y() - 19) <= 3, qPrintable(QString::number(box.center().y())));
    // The caption's font is 20 pixels high and stretched: wider than its plain advance.
    QVERIFY(box.height() >= 12 && box.height() <= 20);
    QVERIFY2(box.width() > 100, qPrintable(QString::number(box.width())));
}

void TestColorLabel::doubleTextShiftsUpLeft()
{
    CColorLabel single, twice;
    for (CColorLabel* label : {&single, &twice}) {
        label->resize(200, 40);
        label->SetCaption(QStringLiteral("2026 년"));
    }
    single.SetStyle(WHITE, YEAR_BACK, 20, 0, 0);
    twice.SetStyle(WHITE, YEAR_BACK, 20, 0, 1);
    const QRect a = TextBox(single.grab().toImage(), Qt::white);
    const QRect b = TextBox(twice.grab().toImage(), Qt::white);
    QCOMPARE(b.bottomRight(), a.bottomRight());
    QCOMPARE(b.topLeft(), a.topLeft() - QPoint(2, 2));
}

QTEST_MAIN(TestColorLabel)
#include "tst_color_label.moc"
