#include "tools/make-samples/page_builder.h"

#include <cmath>
#include <tuple>

#include <QFont>
#include <QString>

namespace pw::samples {

using gdi::PointL;
using gdi::RecordBuilder;
using gdi::RecordType;
using gdi::RectL;

namespace {

constexpr std::uint32_t kPenSlot = 1;
constexpr std::uint32_t kBrushSlot = 2;
constexpr std::uint32_t kFontSlot = 3;
constexpr std::uint32_t kStock = 0x80000000u;
constexpr std::uint32_t kNullBrush = kStock | 5;
constexpr std::uint32_t kBlackPen = kStock | 7;
constexpr std::uint32_t kNullPen = kStock | 8;
constexpr std::uint32_t kSystemFont = kStock | 13;
constexpr std::uint32_t kWhiteBrush = kStock | 0;
constexpr std::uint32_t kCompatibleMode = 1;
// Page units to hundredths of a millimetre.
constexpr float kUnitScale = 2540.0f / kUnitsPerInch;

// The faces installed in place of the ones Word documents name; each has
// the same advance widths as the face it stands for.
QString InstalledFace(const std::u16string& face) {
  if (face == u"Arial") return QStringLiteral("Liberation Sans");
  if (face == u"Times New Roman") return QStringLiteral("Liberation Serif");
  if (face == u"Courier New") return QStringLiteral("Liberation Mono");
  if (face == u"Calibri") return QStringLiteral("Carlito");
  if (face == u"Cambria") return QStringLiteral("Caladea");
  return QString::fromStdU16String(face);
}

bool IsSpace(char16_t c) { return c == u' '; }

}  // namespace

bool FontSpec::operator<(const FontSpec& o) const {
  return std::tie(face, points, bold, italic, color) < std::tie(o.face, o.points, o.bold, o.italic, o.color);
}

PageBuilder::PageBuilder() {
  writer_.Frame({0, 0, 21000, 29700}).Device({kPageWidth, kPageHeight}, {210, 297});
  writer_.Bounds({0, 0, kPageWidth - 1, kPageHeight - 1});
  writer_.UseHandle(kFontSlot);
  writer_.SetMapMode(gdi::MapMode::Text).SetBkMode(gdi::BkMode::Transparent).SetTextAlign(gdi::TextAlign::Baseline);
  writer_.SetStretchBltMode(gdi::StretchBltMode::ColorOnColor);
}

PageBuilder::Face& PageBuilder::FaceOf(const FontSpec& font) {
  FontSpec key = font;
  key.color = 0;
  auto found = faces_.find(key);
  if (found != faces_.end()) return found->second;
  QFont qfont(InstalledFace(font.face));
  qfont.setPixelSize(Points(font.points));
  qfont.setBold(font.bold);
  qfont.setItalic(font.italic);
  qfont.setStyleStrategy(QFont::NoFontMerging);
  return faces_.emplace(key, Face{QRawFont::fromFont(qfont)}).first->second;
}

std::vector<int> PageBuilder::Advances(const FontSpec& font, std::u16string_view text) {
  Face& face = FaceOf(font);
  const QString qtext = QString::fromStdU16String(std::u16string(text));
  const QList<quint32> glyphs = face.raw.glyphIndexesForString(qtext);
  const QList<QPointF> advances = face.raw.advancesForGlyphIndexes(glyphs, QRawFont::UseDesignMetrics);
  // Positions are rounded, not each advance, so a line does not drift.
  std::vector<int> dx(text.size(), 0);
  double pen = 0;
  int placed = 0;
  for (std::size_t i = 0; i < dx.size() && i < static_cast<std::size_t>(advances.size()); ++i) {
    pen += advances[static_cast<qsizetype>(i)].x();
    const int next = static_cast<int>(std::lround(pen));
    dx[i] = next - placed;
    placed = next;
  }
  return dx;
}

int PageBuilder::Measure(const FontSpec& font, std::u16string_view text) {
  int width = 0;
  for (int d : Advances(font, text)) width += d;
  return width;
}

int PageBuilder::Ascent(const FontSpec& font) { return static_cast<int>(std::lround(FaceOf(font).raw.ascent())); }

int PageBuilder::LineHeight(const FontSpec& font, double line_factor) {
  const QRawFont& raw = FaceOf(font).raw;
  return static_cast<int>(std::lround((raw.ascent() + raw.descent() + raw.leading()) * line_factor));
}

int PageBuilder::Text(int x, int baseline, const FontSpec& font, std::u16string_view text) {
  if (text.empty()) return 0;
  const std::vector<int> dx = Advances(font, text);
  int width = 0;
  for (int d : dx) width += d;

  RecordBuilder logfont;
  logfont.U32(kFontSlot)
      .I32(-Points(font.points))
      .I32(0)
      .I32(0)
      .I32(0)
      .I32(font.bold ? 700 : 400)
      .U8(font.italic ? 1 : 0)
      .U8(0)
      .U8(0)
      .U8(0)   // ANSI_CHARSET
      .U8(0)
      .U8(0)
      .U8(0)
      .U8(0)
      .Utf16(font.face.substr(0, 31), 32);
  writer_.Record(RecordType::ExtCreateFontIndirectW, logfont);
  writer_.SelectObject(kFontSlot);
  writer_.SetTextColor(font.color);

  const QRawFont& raw = FaceOf(font).raw;
  const RectL bounds{x, baseline - static_cast<int>(raw.ascent()), x + width, baseline + static_cast<int>(raw.descent())};
  const std::uint32_t chars = static_cast<std::uint32_t>(text.size());
  const std::uint32_t off_string = 76;
  const std::uint32_t off_dx = off_string + ((chars * 2 + 3) & ~3u);
  RecordBuilder record;
  record.Rect(bounds).U32(kCompatibleMode).F32(kUnitScale).F32(kUnitScale);
  record.Point({x, baseline}).U32(chars).U32(off_string).U32(0).Rect({0, 0, -1, -1}).U32(off_dx);
  record.Utf16(text).Align4();
  for (int d : dx) record.I32(d);
  writer_.Record(RecordType::ExtTextOutW, record);

  writer_.SelectObject(kSystemFont);
  writer_.DeleteObject(kFontSlot);
  return width;
}

int PageBuilder::Flow(int x, int top, int width, std::span<const Run> runs, double line_factor, bool draw) {
  // Words keep the run they came from; a space ends a word and stays with it.
  struct Word {
    const FontSpec* font;
    std::u16string text;
    int width;
  };
  std::vector<Word> words;
  for (const Run& run : runs) {
    std::size_t start = 0;
    for (std::size_t i = 0; i <= run.text.size(); ++i) {
      const bool end = i == run.text.size();
      if (end || IsSpace(run.text[i])) {
        const std::size_t stop = end ? i : i + 1;
        if (stop > start) {
          std::u16string piece = run.text.substr(start, stop - start);
          words.push_back({&run.font, piece, Measure(run.font, piece)});
        }
        start = stop;
      }
    }
  }
  int line_height = 0;
  int ascent = 0;
  for (const Run& run : runs) {
    line_height = std::max(line_height, LineHeight(run.font, line_factor));
    ascent = std::max(ascent, Ascent(run.font));
  }

  int y = top;
  std::size_t i = 0;
  while (i < words.size()) {
    // Fill the line greedily; a single over-long word still gets a line.
    std::size_t end = i;
    int used = 0;
    while (end < words.size()) {
      std::u16string_view text = words[end].text;
      int trimmed = words[end].width;
      if (!text.empty() && IsSpace(text.back())) trimmed -= Measure(*words[end].font, u" ");
      if (end > i && used + trimmed > width) break;
      used += words[end].width;
      ++end;
    }
    // One text record per stretch of the line in one font.
    int pen = x;
    const int baseline = y + ascent;
    for (std::size_t k = i; k < end;) {
      std::u16string text;
      const FontSpec* font = words[k].font;
      while (k < end && words[k].font == font) text += words[k++].text;
      if (k == end)
        while (!text.empty() && IsSpace(text.back())) text.pop_back();
      pen += draw ? Text(pen, baseline, *font, text) : Measure(*font, text);
    }
    y += line_height;
    i = end;
  }
  return y;
}

void PageBuilder::SelectPenAndBrush(const Pen* pen, const Colorref* fill) {
  if (pen) {
    writer_.CreatePen(kPenSlot, gdi::PenStyle::Solid, pen->width, pen->color).SelectObject(kPenSlot);
  } else {
    writer_.SelectObject(kNullPen);
  }
  if (fill) {
    writer_.CreateBrush(kBrushSlot, gdi::BrushStyle::Solid, *fill).SelectObject(kBrushSlot);
  } else {
    writer_.SelectObject(kNullBrush);
  }
}

void PageBuilder::ReleasePenAndBrush(const Pen* pen, const Colorref* fill) {
  writer_.SelectObject(kBlackPen).SelectObject(kWhiteBrush);
  if (pen) writer_.DeleteObject(kPenSlot);
  if (fill) writer_.DeleteObject(kBrushSlot);
}

void PageBuilder::Rectangle(RectL box, const Pen* pen, const Colorref* fill) {
  SelectPenAndBrush(pen, fill);
  writer_.Rectangle(box);
  ReleasePenAndBrush(pen, fill);
}

void PageBuilder::RoundRect(RectL box, int corner, const Pen* pen, const Colorref* fill) {
  SelectPenAndBrush(pen, fill);
  writer_.Record(RecordType::RoundRect, RecordBuilder().Rect(box).Size({corner, corner}));
  ReleasePenAndBrush(pen, fill);
}

void PageBuilder::Ellipse(RectL box, const Pen* pen, const Colorref* fill) {
  SelectPenAndBrush(pen, fill);
  writer_.Ellipse(box);
  ReleasePenAndBrush(pen, fill);
}

void PageBuilder::Polygon(std::span<const PointL> points, const Pen* pen, const Colorref* fill) {
  SelectPenAndBrush(pen, fill);
  writer_.Poly16(RecordType::Polygon16, points);
  ReleasePenAndBrush(pen, fill);
}

void PageBuilder::Line(PointL from, PointL to, const Pen& pen) {
  SelectPenAndBrush(&pen, nullptr);
  writer_.MoveTo(from.x, from.y).LineTo(to.x, to.y);
  ReleasePenAndBrush(&pen, nullptr);
}

void PageBuilder::Bezier(std::span<const PointL> points, const Pen& pen) {
  SelectPenAndBrush(&pen, nullptr);
  writer_.Poly16(RecordType::PolyBezier16, points);
  ReleasePenAndBrush(&pen, nullptr);
}

void PageBuilder::Bitmap(RectL box, const QImage& image) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  const int w = rgb.width();
  const int h = rgb.height();
  const std::uint32_t stride = (static_cast<std::uint32_t>(w) * 3 + 3) & ~3u;
  const std::uint32_t bits_size = stride * static_cast<std::uint32_t>(h);
  RecordBuilder record;
  record.Rect(box).I32(box.left).I32(box.top).I32(0).I32(0).I32(w).I32(h);
  record.U32(80).U32(40).U32(120).U32(bits_size).U32(0).U32(static_cast<std::uint32_t>(gdi::Rop3::SrcCopy));
  record.I32(box.right - box.left).I32(box.bottom - box.top);
  // BITMAPINFOHEADER of a bottom-up 24-bit DIB.
  record.U32(40).I32(w).I32(h).U16(1).U16(24).U32(0).U32(bits_size).I32(23622).I32(23622).U32(0).U32(0);
  for (int row = h - 1; row >= 0; --row) {
    const uchar* line = rgb.constScanLine(row);
    for (int col = 0; col < w; ++col) record.U8(line[col * 3 + 2]).U8(line[col * 3 + 1]).U8(line[col * 3]);
    for (std::uint32_t pad = static_cast<std::uint32_t>(w) * 3; pad < stride; ++pad) record.U8(0);
  }
  writer_.Record(RecordType::StretchDiBits, record);
}

std::vector<std::byte> PageBuilder::Finish() { return writer_.Finish(); }

}  // namespace pw::samples
