#ifndef VINTREL_PLATFORM_UI_DIALOG_UNITS_H_
#define VINTREL_PLATFORM_UI_DIALOG_UNITS_H_

#include <QFont>
#include <QRect>

namespace vintrel::ui {

// Templates keep their sizes in dialog units. One unit is 2 pixels across and 2 down (the
// base units 8 x 16 of a 10-point font, divided by 4 and 8). These are Qt's
// device-independent pixels, so Qt's device pixel ratio scales them on dense screens.
inline constexpr int kPixelsPerUnitX = 2;
inline constexpr int kPixelsPerUnitY = 2;

inline int DialogUnitsToPixelsX(int units) { return units * kPixelsPerUnitX; }
inline int DialogUnitsToPixelsY(int units) { return units * kPixelsPerUnitY; }

// The rectangle X, Y, CX, CY (dialog units) in pixels.
inline QRect DialogUnitsToPixels(int x, int y, int cx, int cy) {
  return QRect(DialogUnitsToPixelsX(x), DialogUnitsToPixelsY(y), DialogUnitsToPixelsX(cx),
               DialogUnitsToPixelsY(cy));
}

// The font of dialogs and forms: a Japanese-capable sans-serif (IPAGothic, else Noto Sans
// CJK JP, else whatever sans-serif the system has) at POINTS points.
QFont DialogFont(int points = 10);

}  // namespace vintrel::ui

#endif  // VINTREL_PLATFORM_UI_DIALOG_UNITS_H_
