#include "settings/output_format.h"
#include "settings/value_names.h"

#include <array>

namespace pw::settings {
namespace {

struct FormatInfo {
  OutputFormat format;
  std::string_view extension;
  std::string_view flag_name;
  bool Settings::*flag;
};

constexpr std::array<FormatInfo, 8> kFormats{{
    {OutputFormat::Jpg, ".jpg", kJpgDefault, &Settings::JPG_Default},
    {OutputFormat::Gif, ".gif", kGifDefault, &Settings::GIF_Default},
    {OutputFormat::Png, ".png", kPngDefault, &Settings::PNG_Default},
    {OutputFormat::Bmp, ".bmp", kBmpDefault, &Settings::BMP_Default},
    {OutputFormat::Tif, ".tif", kTifDefault, &Settings::TIF_Default},
    {OutputFormat::MultipagePdf, ".pdf", "", nullptr},
    {OutputFormat::MultipageTif, ".tif", "", nullptr},
    {OutputFormat::AnimatedGif, ".gif", "", nullptr},
}};

const FormatInfo& Info(OutputFormat format) { return kFormats[static_cast<std::size_t>(CodeOf(format) - 1)]; }

}  // namespace

std::optional<OutputFormat> OutputFormatFromCode(int code) {
  if (code < 1 || code > static_cast<int>(kFormats.size())) return std::nullopt;
  return static_cast<OutputFormat>(code);
}

int CodeOf(OutputFormat format) { return static_cast<int>(format); }

std::string_view ExtensionOf(OutputFormat format) { return Info(format).extension; }

std::string_view FlagNameOf(OutputFormat format) { return Info(format).flag_name; }

int MultipageModeOf(OutputFormat format) { return Info(format).flag ? 0 : CodeOf(format) - 5; }

std::optional<OutputFormat> FlaggedFormat(const Settings& settings) {
  for (const FormatInfo& info : kFormats) {
    if (info.flag && settings.*info.flag) return info.format;
  }
  return std::nullopt;
}

void SetOutputFormatFlags(Settings& settings, OutputFormat format) {
  for (const FormatInfo& info : kFormats) {
    if (info.flag) settings.*info.flag = info.format == format;
  }
}

bool MakeOutputFormat(OutputFormat format) {
  if (!Info(format).flag) return false;
  return ChangeAndStore([&](Settings& settings) { SetOutputFormatFlags(settings, format); },
      {kJpgDefault, kGifDefault, kPngDefault, kBmpDefault, kTifDefault});
}

}  // namespace pw::settings
