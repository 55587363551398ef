// Fonts described the way the dialog code describes them (a Windows face and LOGFONT sizes),
// made from the Hangul faces installed here.
#pragma once

#include <QFont>
#include <QString>

// The one place that maps a Windows face ("굴림", "굴림체", "돋움체", "System") to an installed face.
QString HangulFace(const QString& windowsFace);
// The face for a size scaled away from the one the dialog was laid out with; MakeLogFont takes
// it as it is.
QString ScaledHangulFace(const QString& windowsFace);

// lfHeight > 0 is the cell height (ascent + descent), lfHeight < 0 the character height, in pixels.
// lfWeight 0 is the default weight, 700 bold. lfWidth != 0 stretches to that width of an 'x'.
QFont MakeLogFont(const QString& windowsFace, int lfHeight, int lfWeight, int lfWidth = 0);

// A dialog template's font: its point size at 96 pixels per inch.
QFont MakeDialogFont(const QString& windowsFace, int pointSize);
