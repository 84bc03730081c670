#pragma once
// Lays out one A4 page the way Word prints it: a 600-dpi reference device in
// MM_TEXT, text as EMR_EXTTEXTOUTW runs whose advances come from the
// installed faces, pens and brushes made for each shape and deleted after
// it, and bitmaps as EMR_STRETCHDIBITS.
#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include <QImage>
#include <QRawFont>

#include "platform/gdi/emf/emf_writer.h"

namespace pw::samples {

using Colorref = std::uint32_t;

constexpr Colorref Rgb(int r, int g, int b) {
  return static_cast<Colorref>(r) | static_cast<Colorref>(g) << 8 | static_cast<Colorref>(b) << 16;
}

// Logical units of a page: 600 per inch.
inline constexpr int kUnitsPerInch = 600;
inline constexpr int kPageWidth = 4960;   // 210 mm
inline constexpr int kPageHeight = 7016;  // 297 mm

constexpr int Points(double pt) { return static_cast<int>(pt * kUnitsPerInch / 72.0 + 0.5); }

struct FontSpec {
  std::u16string face;  // as the document names it: "Arial", "Calibri", ...
  double points = 11;
  bool bold = false;
  bool italic = false;
  Colorref color = 0;
  bool operator<(const FontSpec& o) const;
};

// A piece of a paragraph in one font.
struct Run {
  FontSpec font;
  std::u16string text;
};

struct Pen {
  Colorref color = 0;
  int width = 3;
};

class PageBuilder {
 public:
  PageBuilder();

  // One line of text with its baseline at y; returns its advance width.
  int Text(int x, int baseline, const FontSpec& font, std::u16string_view text);
  // Left-aligned, word-wrapped runs from `top` within `width`; returns the
  // y below the last line.
  int Paragraph(int x, int top, int width, std::span<const Run> runs, double line_factor = 1.08) {
    return Flow(x, top, width, runs, line_factor, true);
  }
  // The height Paragraph would take, drawing nothing.
  int ParagraphHeight(int width, std::span<const Run> runs, double line_factor = 1.08) {
    return Flow(0, 0, width, runs, line_factor, false);
  }
  int Paragraph(int x, int top, int width, const FontSpec& font, std::u16string_view text) {
    Run run{font, std::u16string(text)};
    return Paragraph(x, top, width, std::span<const Run>(&run, 1));
  }
  // The width of a text in a font, as Text draws it.
  int Measure(const FontSpec& font, std::u16string_view text);
  int Ascent(const FontSpec& font);
  int LineHeight(const FontSpec& font, double line_factor = 1.08);

  // Shapes; a missing pen or brush draws nothing there.
  void Rectangle(gdi::RectL box, const Pen* pen, const Colorref* fill);
  void RoundRect(gdi::RectL box, int corner, const Pen* pen, const Colorref* fill);
  void Ellipse(gdi::RectL box, const Pen* pen, const Colorref* fill);
  void Polygon(std::span<const gdi::PointL> points, const Pen* pen, const Colorref* fill);
  void Line(gdi::PointL from, gdi::PointL to, const Pen& pen);
  // Cubic Bézier segments: start, then three points per segment.
  void Bezier(std::span<const gdi::PointL> points, const Pen& pen);
  // A 24-bit bottom-up DIB of the image, stretched onto `box`.
  void Bitmap(gdi::RectL box, const QImage& image);

  std::vector<std::byte> Finish();

 private:
  struct Face {
    QRawFont raw;
  };
  int Flow(int x, int top, int width, std::span<const Run> runs, double line_factor, bool draw);
  Face& FaceOf(const FontSpec& font);
  std::vector<int> Advances(const FontSpec& font, std::u16string_view text);
  void SelectPenAndBrush(const Pen* pen, const Colorref* fill);
  void ReleasePenAndBrush(const Pen* pen, const Colorref* fill);

  gdi::EmfWriter writer_;
  std::map<FontSpec, Face> faces_;
};

}  // namespace pw::samples
