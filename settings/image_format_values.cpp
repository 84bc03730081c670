#include "settings/image_format_values.h"

#include "settings/settings_store.h"
#include "settings/value_names.h"

namespace pw::settings {

ImageFormatValues ImageFormatValuesFrom(const Settings& s) { return ImageFormatValues{{s}, StoredPdfInsideFormat()}; }

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
    ChangeAndStore([&](Settings& s) { static_cast<JpgSettings&>(s) = v; }, {kJpgGray, kJpgProgress, kJpgQuality});
  }
  if (all || commit == FormatCommit::Gif) {
    ChangeAndStore([&](Settings& s) { static_cast<GifSettings&>(s) = v; },
                   {kGifColors, kGifIndexGray, kGifDelay, kGifDither, kGifInterlace});
  }
  if (all || commit == FormatCommit::Png) {
    ChangeAndStore([&](Settings& s) { static_cast<PngSettings&>(s) = v; },
                   {kPngTrueIndexGray, kPngColors, kPngInterlace, kPngDither});
  }
  if (all || commit == FormatCommit::Tif) {
    ChangeAndStore([&](Settings& s) { static_cast<TifSettings&>(s) = v; }, {kTifTrueIndexGray, kTifColors, kTifLzw});
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
