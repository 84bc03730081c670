#pragma once
// Dialog templates give sizes in dialog units of their 8-point font. Both
// fonts the templates name ("MS Sans Serif" 8 and "MS Shell Dlg" 8) have
// base units of 6 x 13 pixels at 96 dpi: a horizontal unit is a quarter of
// 6 pixels and a vertical one an eighth of 13, rounded to the nearest pixel.
// The font itself is platform::DialogFont.
#include <QRect>
#include <QSize>

namespace pw::res {

constexpr int DluToPixelsX(int units) { return (units * 6 + 2) / 4; }
constexpr int DluToPixelsY(int units) { return (units * 13 + 4) / 8; }

constexpr QSize DluSize(int width, int height) {
  return QSize(DluToPixelsX(width), DluToPixelsY(height));
}

constexpr QRect DluRect(int x, int y, int width, int height) {
  return QRect(DluToPixelsX(x), DluToPixelsY(y), DluToPixelsX(width), DluToPixelsY(height));
}

}  // namespace pw::res
