// The frame a window manager draws around a top-level window: title bar and borders.
#pragma once

#include <QMargins>
#include <QRect>

class QWidget;

// The frame of `window` as the window manager has told it; before it has (the window is not on
// the screen yet), the frame of `sibling` when that one is known, else a title bar and borders
// as the common window managers draw them. Platforms without a window manager have none.
QMargins ExpectedFrame(const QWidget& window, const QWidget* sibling = nullptr);

// 1 when the window manager has told the window's frame.
bool FrameKnown(const QWidget& window);

// The screen's free area for `window`: without the panels and docks.
QRect ScreenRoom(const QWidget& window);
