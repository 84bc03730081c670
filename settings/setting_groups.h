#pragma once
// The groups of settings that other parts take whole: the settings record is
// built from them, the render options and the format sheet's working values
// extend them, so each option is declared once, with its default, and a new
// one is added to its group alone. Field names are the registry value names.
#include <cstdint>

namespace pw::settings {

// Windows colour value 0x00BBGGRR.
using Colorref = std::uint32_t;

// How a page is rendered besides its background and encoding.
struct PageSettings {
  int ScaleCur = 100;
  int KodAntialias = 3;
  bool lvIncludeDateTime = false;
};

// The background colour or hatch pattern behind a page.
struct BackgroundSettings {
  Colorref lvCurBkGrColor = 0x0080FF80;
  Colorref lvHatchColor = 0x00A83E3E;
  int lvHatchWidth = 0;
  int lvHatchDepress = 8;
  int lvHatchAngle = 0;
  bool lvHatchLnHor = true;
  bool lvHatchLnVert = true;
  int lvBkGrHathStyle = 100;
};

// The values of each image format, one group per format so that a sheet for
// one format commits its own group.
struct JpgSettings {
  bool JPG_Gray = false;
  bool JPG_Progress = true;
  int JPG_Quality = 90;

  friend bool operator==(const JpgSettings&, const JpgSettings&) = default;
};

struct GifSettings {
  int GIF_Colors = 64;
  int GIF_IndexGray = 0;
  bool GIF_Dither = false;
  bool GIF_Interlace = true;
  int GIF_Delay = 100;

  friend bool operator==(const GifSettings&, const GifSettings&) = default;
};

struct PngSettings {
  int PNG_TrueIndexGray = 0;
  int PNG_Colors = 64;
  bool PNG_Interlace = true;
  bool PNG_Dither = false;

  friend bool operator==(const PngSettings&, const PngSettings&) = default;
};

struct TifSettings {
  int TIF_TrueIndexGray = 0;
  int TIF_Colors = 64;
  bool TIF_Lzw = true;

  friend bool operator==(const TifSettings&, const TifSettings&) = default;
};

// The five output format flags; one of them set, or none in a damaged record.
struct OutputFlagSettings {
  bool JPG_Default = true;
  bool GIF_Default = false;
  bool PNG_Default = false;
  bool BMP_Default = false;
  bool TIF_Default = false;

  friend bool operator==(const OutputFlagSettings&, const OutputFlagSettings&) = default;
};

// Every format's values and the output format flags.
struct FormatSettings : JpgSettings, GifSettings, PngSettings, TifSettings, OutputFlagSettings {
  friend bool operator==(const FormatSettings&, const FormatSettings&) = default;
};

// What the encoding of a rendered page reads besides the format values.
struct EncodingSettings : FormatSettings {
  bool lvSharpen = false;
  // Run-time: 0 series, 1 PDF, 2 multipage TIF, 3 animated GIF. Stored by
  // the save commands but never read back.
  int KodMultipageFormat = 0;
};

}  // namespace pw::settings
