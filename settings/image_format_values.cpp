#include "settings/image_format_values.h"

#include "settings/settings_store.h"
#include "settings/value_names.h"

namespace pw::settings {

ImageFormatValues ImageFormatValuesFrom(const Settings& s) {
  ImageFormatValues v;
  v.JPG_Gray = s.JPG_Gray;
  v.JPG_Progress = s.JPG_Progress;
  v.JPG_Quality = s.JPG_Quality;
  v.GIF_Colors = s.GIF_Colors;
  v.GIF_IndexGray = s.GIF_IndexGray;
  v.GIF_Delay = s.GIF_Delay;
  v.GIF_Dither = s.GIF_Dither;
  v.GIF_Interlace = s.GIF_Interlace;
  v.PNG_TrueIndexGray = s.PNG_TrueIndexGray;
  v.PNG_Colors = s.PNG_Colors;
  v.PNG_Interlace = s.PNG_Interlace;
  v.PNG_Dither = s.PNG_Dither;
  v.TIF_TrueIndexGray = s.TIF_TrueIndexGray;
  v.TIF_Colors = s.TIF_Colors;
  v.TIF_Lzw = s.TIF_Lzw;
  v.JPG_Default = s.JPG_Default;
  v.GIF_Default = s.GIF_Default;
  v.PNG_Default = s.PNG_Default;
  v.BMP_Default = s.BMP_Default;
  v.TIF_Default = s.TIF_Default;
  v.PDF_Bitmp_Format = StoredPdfInsideFormat();
  return v;
}

std::string StoredPdfInsideFormat() {
  std::string stored = ReadUserString(kPdfBitmpFormat).value_or(std::string());
  return stored.size() < 3 ? std::string("BMP") : stored;
}

std::optional<OutputFormat> WorkingOutputFormat(const ImageFormatValues& v) {
  if (v.TIF_Default) return OutputFormat::Tif;
  if (v.BMP_Default) return OutputFormat::Bmp;
  if (v.PNG_Default) return OutputFormat::Png;
  if (v.GIF_Default) return OutputFormat::Gif;
  if (v.JPG_Default) return OutputFormat::Jpg;
  return std::nullopt;
}

void SetWorkingOutputFormat(ImageFormatValues& v, OutputFormat format) {
  v.JPG_Default = format == OutputFormat::Jpg;
  v.GIF_Default = format == OutputFormat::Gif;
  v.PNG_Default = format == OutputFormat::Png;
  v.BMP_Default = format == OutputFormat::Bmp;
  v.TIF_Default = format == OutputFormat::Tif;
}

void CommitImageFormatValues(const ImageFormatValues& v, FormatCommit commit) {
  const bool all = commit == FormatCommit::All;
  if (all || commit == FormatCommit::Jpg) {
    ChangeAndStore(
        [&](Settings& s) {
          s.JPG_Gray = v.JPG_Gray;
          s.JPG_Progress = v.JPG_Progress;
          s.JPG_Quality = v.JPG_Quality;
        },
        {kJpgGray, kJpgProgress, kJpgQuality});
  }
  if (all || commit == FormatCommit::Gif) {
    ChangeAndStore(
        [&](Settings& s) {
          s.GIF_Colors = v.GIF_Colors;
          s.GIF_IndexGray = v.GIF_IndexGray;
          s.GIF_Delay = v.GIF_Delay;
          s.GIF_Dither = v.GIF_Dither;
          s.GIF_Interlace = v.GIF_Interlace;
        },
        {kGifColors, kGifIndexGray, kGifDelay, kGifDither, kGifInterlace});
  }
  if (all || commit == FormatCommit::Png) {
    ChangeAndStore(
        [&](Settings& s) {
          s.PNG_TrueIndexGray = v.PNG_TrueIndexGray;
          s.PNG_Colors = v.PNG_Colors;
          s.PNG_Interlace = v.PNG_Interlace;
          s.PNG_Dither = v.PNG_Dither;
        },
        {kPngTrueIndexGray, kPngColors, kPngInterlace, kPngDither});
  }
  if (all || commit == FormatCommit::Tif) {
    ChangeAndStore(
        [&](Settings& s) {
          s.TIF_TrueIndexGray = v.TIF_TrueIndexGray;
          s.TIF_Colors = v.TIF_Colors;
          s.TIF_Lzw = v.TIF_Lzw;
        },
        {kTifTrueIndexGray, kTifColors, kTifLzw});
  }
  if (!all) return;
  // The flags stay one-hot: the first set flag in this order wins, as it
  // is the one written as 1.
  if (const std::optional<OutputFormat> format = WorkingOutputFormat(v)) {
    ChangeAndStore([&](Settings& s) { SetOutputFormatFlags(s, *format); },
                   {kTifDefault, kBmpDefault, kPngDefault, kGifDefault, kJpgDefault});
  }
  WriteUserString(kPdfBitmpFormat, v.PDF_Bitmp_Format);
}

}  // namespace pw::settings
