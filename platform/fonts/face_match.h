#pragma once
// A font face name matched the way fontconfig matches it, on a screen of
// 96 dpi. Wine's font folder, which holds the old Windows faces such as
// "MS Sans Serif", is part of what is matched against: the system setup of
// fontconfig leaves those faces out as bitmap fonts.
#include <QString>

#include <array>
#include <optional>

namespace pw::platform {

// Where the fonts-wine package puts Wine's fonts.
inline constexpr std::array<const char*, 2> kWineFontDirs{"/usr/share/wine/fonts", "/usr/lib/wine/fonts"};

struct FaceMatch {
  QString family;           // the family fontconfig chose
  QString file;             // its font file
  double pixel_size = 0.0;  // the size it is drawn at, in pixels
};

// Nothing when fontconfig has no font at all. Thread-safe.
std::optional<FaceMatch> MatchFace(const QString& face, double points);

}  // namespace pw::platform
