#pragma once
// GDI objects as plain values, and the metafile's object table: a flat
// array of checked slots sized by the header's handle count. Indexes with
// the high bit set name stock objects.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

#include <QImage>
#include <QRegion>

#include "platform/gdi/emf/gdi_enums.h"
#include "platform/gdi/emf/logfont.h"
#include "platform/limits/limits.h"

namespace pw::gdi {

// 0x00BBGGRR; bit 24 set makes the low word a palette index.
using ColorRef = std::uint32_t;

constexpr ColorRef MakeColorRef(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return ColorRef{r} | (ColorRef{g} << 8) | (ColorRef{b} << 16);
}
// The opaque QRgb of a COLORREF; palette indexes resolve through the default palette.
QRgb ToQRgb(ColorRef color);

struct Brush {
  BrushStyle style = BrushStyle::Solid;
  ColorRef color = 0xFFFFFF;
  HatchStyle hatch = HatchStyle::Horizontal;
  // Pattern brushes: the decoded pattern. A monochrome pattern takes the
  // DC's text colour (0 bits) and background colour (1 bits) when drawn.
  QImage pattern;
  bool monochrome = false;

  bool IsNull() const { return style == BrushStyle::Null; }
};

struct Pen {
  PenStyle style = PenStyle::Solid;
  PenEndCap end_cap = PenEndCap::Round;
  PenJoin join = PenJoin::Round;
  bool geometric = false;  // PS_GEOMETRIC from EMR_EXTCREATEPEN
  bool extended = false;   // made by EMR_EXTCREATEPEN
  std::int32_t width = 0;  // logical units; 0 is one device pixel
  ColorRef color = 0;
  std::vector<std::uint32_t> user_style;  // PS_USERSTYLE dash and gap lengths
  std::optional<Brush> brush;              // the geometric pen's brush, when not solid

  bool IsNull() const { return style == PenStyle::Null; }
  // Decodes the style word of LOGPEN / EXTLOGPEN.
  static Pen FromStyleWord(std::uint32_t style_word, std::int32_t width, ColorRef color, bool extended);
};

struct Font {
  LogFont logfont;
  int stock = -1;  // the stock-object index of a stock font, else -1
};

struct Palette {
  std::vector<ColorRef> entries;
};

struct Region {
  QRegion region;
};

using GdiObject = std::variant<Pen, Brush, Font, Palette, Region>;

constexpr std::uint32_t kStockObjectFlag = 0x80000000u;

enum class StockObject : std::uint32_t {
  WhiteBrush = 0, LtGrayBrush = 1, GrayBrush = 2, DkGrayBrush = 3, BlackBrush = 4, NullBrush = 5,
  WhitePen = 6, BlackPen = 7, NullPen = 8, OemFixedFont = 10, AnsiFixedFont = 11, AnsiVarFont = 12,
  SystemFont = 13, DeviceDefaultFont = 14, DefaultPalette = 15, SystemFixedFont = 16, DefaultGuiFont = 17,
  DcBrush = 18, DcPen = 19,
};

// A stock object by its index (without the high bit); nothing for unknown indexes.
const GdiObject* FindStockObject(std::uint32_t index);

class ObjectTable {
 public:
  static constexpr std::size_t kMaxHandles = static_cast<std::size_t>(limits::kObjectHandles.value);

  explicit ObjectTable(std::size_t handles);

  std::size_t size() const { return slots_.size(); }
  // Stores an object in slot `index`; slot 0 belongs to the metafile itself.
  bool Put(std::uint32_t index, GdiObject object);
  // The object in a slot, or the stock object for an index with the high bit.
  const GdiObject* Find(std::uint32_t index) const;
  bool Delete(std::uint32_t index);

 private:
  std::vector<std::optional<GdiObject>> slots_;
};

}  // namespace pw::gdi
