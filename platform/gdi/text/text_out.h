#pragma once
// ExtTextOut on a DeviceContext: one string drawn with the DC's selected
// font, text colour, background mode and colour, alignment and current
// position, at the glyph positions a dx array gives (or the font's own
// advances without one).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <QPoint>
#include <QPointF>

#include "platform/gdi/dc/device_context.h"
#include "platform/gdi/text/font_instance.h"

namespace pw::gdi {

// ETO_* option bits.
enum class TextOption : std::uint32_t {
  Opaque = 0x0002,
  Clipped = 0x0004,
  GlyphIndex = 0x0010,
  RtlReading = 0x0080,
  NoRect = 0x0100,
  SmallChars = 0x0200,
  NumericsLocal = 0x0400,
  NumericsLatin = 0x0800,
  IgnoreLanguage = 0x1000,
  Pdy = 0x2000,
};

constexpr bool HasOption(std::uint32_t options, TextOption o) {
  return (options & static_cast<std::uint32_t>(o)) != 0;
}

enum class GraphicsMode : std::uint32_t { Compatible = 1, Advanced = 2 };

// One string as a text record gives it, in logical units.
struct TextRun {
  QPoint reference;
  std::u16string text;  // UTF-16 code units, or glyph indexes with TextOption::GlyphIndex
  // Advances per code unit: x only, or (x, y) pairs with TextOption::Pdy.
  // Empty: the font's own advances.
  std::vector<std::int32_t> dx;
  std::uint32_t options = 0;
  std::optional<RectL> rect;  // opaque and clip rectangle
  GraphicsMode graphics_mode = GraphicsMode::Compatible;
};

// Where a run's glyphs go, all in device pixels.
struct TextLayout {
  std::vector<quint32> glyphs;
  std::vector<QPointF> origins;  // baseline origin of each glyph, aligned
  QPointF start;                 // aligned baseline start of the text
  QPointF advance;               // from start to the end of the text
  QPointF up;                    // unit vector from the baseline towards the ascent
  double angle = 0;              // baseline angle in degrees, counter-clockwise
  QTransform outline;            // glyph outline transform
  // New current position (logical) when TA_UPDATECP is set.
  std::optional<QPoint> next_position;
};

// The font selected in `dc` realised for its current transform; cached per
// thread. Null when no font can be loaded.
std::shared_ptr<const FontInstance> RealizeFont(const DeviceContext& dc, const LogFont& font, GraphicsMode mode);

// Lays out a run (no drawing). Nothing when the font cannot be realised or
// the dx array is shorter than the text.
std::optional<TextLayout> LayoutText(const DeviceContext& dc, const FontInstance& font, const TextRun& run);

// Draws a run. Returns false (drawing nothing) when it is malformed: a dx
// array shorter than the text. `font_replaced`, when given, is set when the
// face had to be replaced by a fallback.
bool ExtTextOut(DeviceContext& dc, const TextRun& run, bool* font_replaced = nullptr);

}  // namespace pw::gdi
