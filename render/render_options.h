#pragma once
// Everything one render reads, taken as one value when the render starts, so
// a render on a worker thread never sees half of a change made on the
// user-interface thread. The settings themselves are declared in their
// groups; the options add what a render needs beyond the stored record.
#include <string>

#include "settings/setting_groups.h"

namespace pw::render {

struct BackgroundOptions : settings::BackgroundSettings {
  // Quick Start Reference mode ignores the settings above and draws its grid.
  bool quick_start = false;
};

struct EncodingOptions : settings::EncodingSettings {
  // The image format inside a multipage PDF as stored ("PNG"; "" is BMP).
  std::string PDF_Bitmp_Format;
};

struct RenderOptions : settings::PageSettings {
  BackgroundOptions background;
  EncodingOptions encoding;
};

// The highest supersampling factor: 20 x 20 samples per output pixel.
inline constexpr int kMaxAntialias = 20;
// Page scale limits of the resolution dialog, in percent.
inline constexpr int kMinScale = 1;
inline constexpr int kMaxScale = 300;

// Brings stored values that lie outside what a render can honour (a negative
// or huge factor, a scale of 0 or of a million percent) into range.
RenderOptions Clamped(RenderOptions options);

}  // namespace pw::render
