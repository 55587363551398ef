// Where the dialog and its console window go on the screen's free area (what panels and docks
// leave): plain arithmetic, so that every view places them alike. Rectangles are windows'
// frames, title bars and borders included, in the screen's logical pixels.
#pragma once

// The console window "Dorvane 콘솔": its title, its client size, the least height it may shrink
// to, its gap to the dialog, the lines it keeps (older ones scroll away) and its font, the
// fixed-pitch Hangul face of the calendar titles at a character height of 14 pixels.
inline constexpr const char* CONSOLE_TITLE = "Dorvane 콘솔";
inline constexpr int CONSOLE_WIDTH = 560;
inline constexpr int CONSOLE_HEIGHT = 400;
inline constexpr int CONSOLE_MIN_HEIGHT = 150;
inline constexpr int CONSOLE_GAP = 8;
inline constexpr int CONSOLE_LINES_KEPT = 10000;
inline constexpr const char* CONSOLE_FACE = "굴림체";
inline constexpr int CONSOLE_FONT_PIXELS = 14;

struct ScreenRect {
    int x, y, width, height;
    int Right() const { return x + width; }  // one past the last column
    int Bottom() const { return y + height; }
};

// The scale, at most 1, at which a window drawn with a client area of `clientWidth` x
// `clientHeight` fits `room` when its frame adds `frameWidth` and `frameHeight`.
double FitScale(int clientWidth, int clientHeight, int frameWidth, int frameHeight, const ScreenRect& room);

// A font size of `pixels` scaled by `scale`. Below 1 (a screen too small for the dialog) it is
// truncated, so that text never grows relative to its box, but not below the smallest size at
// which a Hangul syllable keeps its strokes apart, unless the design was smaller still. From 1 up
// (a screen of more dots per inch) it is rounded.
int ScaledFontPixels(int pixels, double scale);

// The console's frame beside the dialog's: to its right where the room has space for the whole
// console, else below it where at least `minHeight` is left, else in the room's bottom right
// corner, behind the dialog. Never larger than the room and always wholly inside it.
ScreenRect PlaceConsole(const ScreenRect& dialog, const ScreenRect& room, int width, int height, int minHeight,
                        int gap);
