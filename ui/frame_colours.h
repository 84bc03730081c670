#pragma once
// The main window's colours.
#include <QColor>

namespace pw::ui {

inline const QColor kWindowFill{207, 207, 245};
inline const QColor kDarkBorder{113, 109, 185};
inline const QColor kPanelFill{224, 224, 248};
inline const QColor kLightBorder{242, 242, 251};
inline const QColor kBarBand{215, 215, 247};
inline const QColor kStatusText{0, 0, 175};
inline const QColor kCurrentPageFrame{255, 0, 0};

}  // namespace pw::ui
