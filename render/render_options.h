#pragma once
// Everything one render reads, taken as one value when the render starts, so
// a render on a worker thread never sees half of a change made on the
// user-interface thread. Field names are the registry value names.
#include <cstdint>
#include <string>

namespace pw::render {

struct BackgroundOptions {
  int lvBkGrHathStyle = 100;
  std::uint32_t lvCurBkGrColor = 0x0080FF80;  // COLORREF 0x00BBGGRR
  std::uint32_t lvHatchColor = 0x00A83E3E;
  int lvHatchWidth = 0;
  int lvHatchDepress = 8;
  int lvHatchAngle = 0;
  bool lvHatchLnHor = true;
  bool lvHatchLnVert = true;
  // Quick Start Reference mode ignores the settings above and draws its grid.
  bool quick_start = false;
};

struct EncodingOptions {
  bool JPG_Default = true;
  bool GIF_Default = false;
  bool PNG_Default = false;
  bool TIF_Default = false;
  bool BMP_Default = false;
  bool JPG_Gray = false;
  bool JPG_Progress = true;
  int JPG_Quality = 90;
  int GIF_IndexGray = 0;
  bool GIF_Interlace = true;
  int GIF_Colors = 64;
  bool GIF_Dither = false;
  int PNG_TrueIndexGray = 0;
  bool PNG_Interlace = true;
  int PNG_Colors = 64;
  bool PNG_Dither = false;
  int TIF_TrueIndexGray = 0;
  int TIF_Colors = 64;
  bool TIF_Lzw = true;
  std::string PDF_Bitmp_Format;
  bool lvSharpen = false;
  // The run-time multipage mode: 0 series, 1 PDF, 2 multipage TIF, 3 animated GIF.
  int KodMultipageFormat = 0;
};

struct RenderOptions {
  int KodAntialias = 3;
  int ScaleCur = 100;
  bool lvIncludeDateTime = false;
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
