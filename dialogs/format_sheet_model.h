#pragma once
// The image format sheets without their windows: the working values the
// pages edit, the rules each page applies when it opens and when its
// controls change, and the output format the full sheet's OK picks from
// the page that is showing.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/image_format_values.h"

namespace pw::dialogs {

// The pages in the full sheet's order (its page indexes 0 to 5), and the
// Animated GIF page that only the extra sheet shows.
enum class FormatPage { Jpg = 0, Gif = 1, Png = 2, Bmp = 3, Tif = 4, Pdf = 5, AnimatedGif = 6 };

// The tab caption of a page: "JPG", ..., "Multipaged PDF", "Animated GIF".
std::string_view PageCaption(FormatPage page);

// The PDF page's combo box items, in order.
inline constexpr std::array<std::string_view, 4> kPdfInsideFormats{"BMP", "JPG", "TIF", "PNG"};

inline constexpr int kMaxAnimationDelay = 6000;  // ms

class FormatSheetModel {
 public:
  explicit FormatSheetModel(settings::ImageFormatValues values) : values_(std::move(values)) {}

  // The full sheet's start page for the working output format: the last
  // of TIF, BMP, PNG, GIF, JPG whose flag is set; GIF with none.
  FormatPage StartPage() const;

  // A page's window opens for the first time: the colour counts of GIF, PNG
  // and TIF are limited to 2 ... 256; the PDF page takes the stored inside
  // format. Pages that never open keep their values.
  void OpenPage(FormatPage page);

  // The PDF combo's selected item for the inside format: a prefix match
  // without regard to case; nothing when no item matches.
  std::optional<int> PdfItem() const;
  void SelectPdfItem(int item);

  // The animation delay as typed: limited to 0 ... 6000.
  void TypeDelay(int delay);

  // Whether the colour slider and its edit (and PNG's Dither) are active.
  bool PngColorsEnabled() const { return values_.PNG_TrueIndexGray != 0; }
  bool TifColorsEnabled() const { return values_.TIF_TrueIndexGray == 1 || values_.TIF_TrueIndexGray == 2; }

  // The full sheet's OK on `page`: the page's format becomes the working
  // output format; on the PDF page, the inside format when it names one of
  // TIF, BMP, PNG, GIF, JPG exactly.
  void OkOnPage(FormatPage page);

  settings::ImageFormatValues& Values() { return values_; }
  const settings::ImageFormatValues& Values() const { return values_; }

 private:
  settings::ImageFormatValues values_;
};

}  // namespace pw::dialogs
