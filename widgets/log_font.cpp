#include "widgets/log_font.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <QFontMetrics>
#include <QFontMetricsF>

namespace {

struct FaceMapping {
    const char* windows;
    const char* installed;  // from fonts-baekmuk and fonts-nanum-coding
    const char* scaled;     // from fonts-nanum and fonts-nanum-coding
};

// Gulim and Dotum are Windows faces; the Baekmuk faces are their nearest Hangul relatives, and
// NanumGothicCoding stands in for the fixed-pitch GulimChe. Korean Windows draws its System
// font from Gulim, so the small dialogs get the same face.
// Debian draws Baekmuk unsmoothed below 22 pixels, which reads well at the sizes the dialog was
// laid out with and not in between (a scaled 13 pixel "9" reads like "g"): a size scaled for a
// small screen takes the Nanum face of the same kind, smoothed and hinted at every size.
constexpr FaceMapping FACES[] = {
    {"굴림", "Baekmuk Gulim", "NanumGothic"},
    {"굴림체", "NanumGothicCoding", "NanumGothicCoding"},
    {"돋움체", "Baekmuk Dotum", "NanumGothicCoding"},
    {"System", "Baekmuk Gulim", "NanumGothic"},
};

constexpr int REFERENCE_PIXELS = 100;

}  // namespace

QString HangulFace(const QString& windowsFace)
{
    for (const FaceMapping& f : FACES) {
        if (windowsFace == QString::fromUtf8(f.windows)) return QString::fromUtf8(f.installed);
    }
    return windowsFace;
}

QString ScaledHangulFace(const QString& windowsFace)
{
    for (const FaceMapping& f : FACES) {
        if (windowsFace == QString::fromUtf8(f.windows)) return QString::fromUtf8(f.scaled);
    }
    return windowsFace;
}

QFont MakeLogFont(const QString& windowsFace, int lfHeight, int lfWeight, int lfWidth)
{
    QFont font(HangulFace(windowsFace));
    font.setWeight(lfWeight >= 700 ? QFont::Bold : QFont::Normal);
    font.setPixelSize(REFERENCE_PIXELS);
    if (lfHeight > 0) {
        // A cell height includes the internal leading that a character height leaves out.
        const QFontMetricsF m(font);
        const double cell = m.ascent() + m.descent();
        int pixels = static_cast<int>(std::lround(lfHeight * REFERENCE_PIXELS / cell)) + 1;
        // Like the platform's font mapper: the largest size whose cell does not exceed the height
        // (rounded metrics can skip a height altogether).
        font.setPixelSize(std::max(1, pixels));
        while (pixels > 1 && QFontMetrics(font).height() > lfHeight) font.setPixelSize(--pixels);
    } else if (lfHeight < 0) {
        font.setPixelSize(-lfHeight);
    } else {
        font.setPixelSize(12);  // what the platform picks for height 0
    }
    if (lfWidth != 0) {
        const double natural = QFontMetricsF(font).horizontalAdvance(QLatin1Char('x'));
        if (natural > 0) font.setStretch(static_cast<int>(std::lround(100.0 * std::abs(lfWidth) / natural)));
    }
    return font;
}

QFont MakeDialogFont(const QString& windowsFace, int pointSize)
{
    return MakeLogFont(windowsFace, -(pointSize * 96 + 36) / 72, 0);
}
