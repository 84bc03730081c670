#include "render/current_settings.h"

#include "settings/settings_store.h"
#include "settings/value_names.h"

namespace pw::render {

RenderOptions RenderOptionsFrom(const settings::Settings& s, std::string pdf_bitmap_format) {
  RenderOptions o;
  o.KodAntialias = s.KodAntialias;
  o.ScaleCur = s.ScaleCur;
  o.lvIncludeDateTime = s.lvIncludeDateTime;

  BackgroundOptions& b = o.background;
  b.lvBkGrHathStyle = s.lvBkGrHathStyle;
  b.lvCurBkGrColor = s.lvCurBkGrColor;
  b.lvHatchColor = s.lvHatchColor;
  b.lvHatchWidth = s.lvHatchWidth;
  b.lvHatchDepress = s.lvHatchDepress;
  b.lvHatchAngle = s.lvHatchAngle;
  b.lvHatchLnHor = s.lvHatchLnHor;
  b.lvHatchLnVert = s.lvHatchLnVert;
  b.quick_start = s.QuickStartReference;

  EncodingOptions& e = o.encoding;
  e.JPG_Default = s.JPG_Default;
  e.GIF_Default = s.GIF_Default;
  e.PNG_Default = s.PNG_Default;
  e.TIF_Default = s.TIF_Default;
  e.BMP_Default = s.BMP_Default;
  e.JPG_Gray = s.JPG_Gray;
  e.JPG_Progress = s.JPG_Progress;
  e.JPG_Quality = s.JPG_Quality;
  e.GIF_IndexGray = s.GIF_IndexGray;
  e.GIF_Interlace = s.GIF_Interlace;
  e.GIF_Colors = s.GIF_Colors;
  e.GIF_Dither = s.GIF_Dither;
  e.PNG_TrueIndexGray = s.PNG_TrueIndexGray;
  e.PNG_Interlace = s.PNG_Interlace;
  e.PNG_Colors = s.PNG_Colors;
  e.PNG_Dither = s.PNG_Dither;
  e.TIF_TrueIndexGray = s.TIF_TrueIndexGray;
  e.TIF_Colors = s.TIF_Colors;
  e.TIF_Lzw = s.TIF_Lzw;
  e.PDF_Bitmp_Format = std::move(pdf_bitmap_format);
  e.lvSharpen = s.lvSharpen;
  e.KodMultipageFormat = s.KodMultipageFormat;
  return o;
}

RenderOptions CurrentRenderOptions() {
  return RenderOptionsFrom(settings::Snapshot(),
                           settings::ReadUserString(settings::kPdfBitmpFormat).value_or(std::string()));
}

ResolutionChoice ResolutionChoiceFrom(const settings::Settings& s) {
  return ResolutionChoice{s.CheckN, s.ResCur, s.DisplayResolution, s.PrinterResolution,
                          s.QuickStartReference};
}

double CurrentResolution() { return CurrentResolution(ResolutionChoiceFrom(settings::Snapshot())); }

}  // namespace pw::render
