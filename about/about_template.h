#pragma once
// Dialog template 5000 of the About library, as data: a popup without
// caption or border, 283 x 158 dialog units, "MS Sans Serif" 8. The
// bitmaps and the cursor are resources of the library itself.
#include <array>

#include "res/maker.h"

namespace pw::about {

inline constexpr int kAboutTemplate = 5000;
inline constexpr int kHandCursor = 5001;
inline constexpr int kPictureBitmap = 5003;  // 60 x 60 pixels
inline constexpr int kBannerBitmap = 5007;   // 300 x 44 pixels

// Controls that the dialog reaches by id.
inline constexpr int kVersionStatic = 5002;
inline constexpr int kCopyrightStatic = 5004;
inline constexpr int kMailLabelStatic = 5006;
inline constexpr int kMailStatic = 5007;
inline constexpr int kWebLabelStatic = 5008;
inline constexpr int kWebStatic = 5009;

inline constexpr int kTemplateWidth = 283;
inline constexpr int kTemplateHeight = 158;

enum class ControlKind { Bitmap, Static };
enum class FontRole { None, Link, Version };

inline constexpr int kNoControlId = -1;

struct TemplateControl {
  int id;      // the control id; kNoControlId for the bitmaps
  int bitmap;  // the bitmap resource a bitmap control shows, else 0
  ControlKind kind;
  const char* text;   // the static's text
  int x, y, width, height;  // dialog units
  FontRole font;
  bool right_aligned;
};

inline constexpr const char* kCopyright = "Copyright (C) Tavrin Software. All rights reserved.";

inline constexpr std::array<TemplateControl, 8> kAboutControls{{
    {kNoControlId, kBannerBitmap, ControlKind::Bitmap, "", 7, 9, 200, 27, FontRole::None, false},
    {kNoControlId, kPictureBitmap, ControlKind::Bitmap, "", 236, 7, 40, 37, FontRole::None, false},
    {kVersionStatic, 0, ControlKind::Static, "Version", 11, 37, 67, 9, FontRole::Version, false},
    {kWebLabelStatic, 0, ControlKind::Static, "WWW :   ", 12, 109, 27, 9, FontRole::Link, false},
    {kWebStatic, 0, ControlKind::Static, res::kWebHost, 40, 109, 104, 9, FontRole::Link, false},
    {kMailLabelStatic, 0, ControlKind::Static, "EMail  :   ", 12, 120, 27, 9, FontRole::Link, false},
    {kMailStatic, 0, ControlKind::Static, res::kSupportAddress, 40, 120, 98, 9, FontRole::Link, false},
    {kCopyrightStatic, 0, ControlKind::Static, kCopyright, 83, 132, 192, 9, FontRole::Link, true},
}};

// The Qt resource paths of the library's own images.
inline constexpr const char* kBannerPath = ":/pwAbout/banner.png";
inline constexpr const char* kPicturePath = ":/pwAbout/picture.png";
inline constexpr const char* kHandCursorPath = ":/pwAbout/hand.png";
inline constexpr int kHandHotSpotX = 7;
inline constexpr int kHandHotSpotY = 1;

}  // namespace pw::about
