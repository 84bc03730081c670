#include "dialogs/format_sheet_model.h"

#include <algorithm>
#include <cctype>

namespace pw::dialogs {
namespace {

using settings::OutputFormat;

bool StartsWithNoCase(std::string_view item, std::string_view prefix) {
  if (prefix.size() > item.size()) return false;
  return std::equal(prefix.begin(), prefix.end(), item.begin(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
  });
}

}  // namespace

std::string_view PageCaption(FormatPage page) {
  switch (page) {
    case FormatPage::Jpg: return "JPG";
    case FormatPage::Gif: return "GIF";
    case FormatPage::Png: return "PNG";
    case FormatPage::Bmp: return "BMP";
    case FormatPage::Tif: return "TIF";
    case FormatPage::Pdf: return "Multipaged PDF";
    case FormatPage::AnimatedGif: return "Animated GIF";
  }
  return {};
}

FormatPage FormatSheetModel::StartPage() const {
  FormatPage page = FormatPage::Gif;
  if (values_.TIF_Default) page = FormatPage::Tif;
  if (values_.BMP_Default) page = FormatPage::Bmp;
  if (values_.PNG_Default) page = FormatPage::Png;
  if (values_.GIF_Default) page = FormatPage::Gif;
  if (values_.JPG_Default) page = FormatPage::Jpg;
  return page;
}

void FormatSheetModel::OpenPage(FormatPage page) {
  auto limit = [](int& colors) { colors = std::clamp(colors, 2, 256); };
  switch (page) {
    case FormatPage::Gif: limit(values_.GIF_Colors); break;
    case FormatPage::Png: limit(values_.PNG_Colors); break;
    case FormatPage::Tif: limit(values_.TIF_Colors); break;
    case FormatPage::Pdf: values_.PDF_Bitmp_Format = settings::StoredPdfInsideFormat(); break;
    default: break;
  }
}

std::optional<int> FormatSheetModel::PdfItem() const {
  for (std::size_t i = 0; i < kPdfInsideFormats.size(); ++i) {
    if (StartsWithNoCase(kPdfInsideFormats[i], values_.PDF_Bitmp_Format)) return static_cast<int>(i);
  }
  return std::nullopt;
}

void FormatSheetModel::SelectPdfItem(int item) {
  if (item < 0 || item >= static_cast<int>(kPdfInsideFormats.size())) return;
  values_.PDF_Bitmp_Format = std::string(kPdfInsideFormats[static_cast<std::size_t>(item)]);
}

void FormatSheetModel::TypeDelay(int delay) { values_.GIF_Delay = std::clamp(delay, 0, kMaxAnimationDelay); }

void FormatSheetModel::OkOnPage(FormatPage page) {
  switch (page) {
    case FormatPage::Jpg: settings::SetWorkingOutputFormat(values_, OutputFormat::Jpg); break;
    case FormatPage::Gif: settings::SetWorkingOutputFormat(values_, OutputFormat::Gif); break;
    case FormatPage::Png: settings::SetWorkingOutputFormat(values_, OutputFormat::Png); break;
    case FormatPage::Bmp: settings::SetWorkingOutputFormat(values_, OutputFormat::Bmp); break;
    case FormatPage::Tif: settings::SetWorkingOutputFormat(values_, OutputFormat::Tif); break;
    case FormatPage::Pdf: {
      const std::pair<std::string_view, OutputFormat> named[] = {{"TIF", OutputFormat::Tif},
                                                                 {"BMP", OutputFormat::Bmp},
                                                                 {"PNG", OutputFormat::Png},
                                                                 {"GIF", OutputFormat::Gif},
                                                                 {"JPG", OutputFormat::Jpg}};
      for (const auto& [name, format] : named) {
        if (values_.PDF_Bitmp_Format == name) {
          settings::SetWorkingOutputFormat(values_, format);
          break;
        }
      }
      break;
    }
    case FormatPage::AnimatedGif: break;
  }
}

}  // namespace pw::dialogs
