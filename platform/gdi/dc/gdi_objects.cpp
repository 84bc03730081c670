#include "platform/gdi/dc/gdi_objects.h"

#include <array>
#include <limits>

namespace pw::gdi {

namespace {

// The 20 static colours of the default palette.
constexpr std::array<ColorRef, 20> kDefaultPalette = {
    MakeColorRef(0, 0, 0),       MakeColorRef(128, 0, 0),     MakeColorRef(0, 128, 0),
    MakeColorRef(128, 128, 0),   MakeColorRef(0, 0, 128),     MakeColorRef(128, 0, 128),
    MakeColorRef(0, 128, 128),   MakeColorRef(192, 192, 192), MakeColorRef(192, 220, 192),
    MakeColorRef(166, 202, 240), MakeColorRef(255, 251, 240), MakeColorRef(160, 160, 164),
    MakeColorRef(128, 128, 128), MakeColorRef(255, 0, 0),     MakeColorRef(0, 255, 0),
    MakeColorRef(255, 255, 0),   MakeColorRef(0, 0, 255),     MakeColorRef(255, 0, 255),
    MakeColorRef(0, 255, 255),   MakeColorRef(255, 255, 255),
};

Font StockFont(StockObject which, std::u16string face, std::int32_t height, std::int32_t weight,
               std::uint8_t pitch) {
  Font f;
  f.stock = static_cast<int>(which);
  f.logfont.face_name = std::move(face);
  f.logfont.height = height;
  f.logfont.weight = weight;
  f.logfont.pitch_and_family = pitch;
  return f;
}

Brush SolidBrush(ColorRef color) {
  Brush b;
  b.color = color;
  return b;
}

Pen SolidPen(ColorRef color, PenStyle style = PenStyle::Solid) {
  Pen p;
  p.style = style;
  p.color = color;
  return p;
}

const std::array<std::optional<GdiObject>, 20>& StockObjects() {
  static const std::array<std::optional<GdiObject>, 20> objects = [] {
    std::array<std::optional<GdiObject>, 20> o;
    o[0] = SolidBrush(MakeColorRef(255, 255, 255));
    o[1] = SolidBrush(MakeColorRef(192, 192, 192));
    o[2] = SolidBrush(MakeColorRef(128, 128, 128));
    o[3] = SolidBrush(MakeColorRef(64, 64, 64));
    o[4] = SolidBrush(MakeColorRef(0, 0, 0));
    Brush null_brush;
    null_brush.style = BrushStyle::Null;
    o[5] = null_brush;
    o[6] = SolidPen(MakeColorRef(255, 255, 255));
    o[7] = SolidPen(MakeColorRef(0, 0, 0));
    o[8] = SolidPen(0, PenStyle::Null);
    o[10] = StockFont(StockObject::OemFixedFont, u"Terminal", 12, 400, 1);
    o[11] = StockFont(StockObject::AnsiFixedFont, u"Courier", 12, 400, 1);
    o[12] = StockFont(StockObject::AnsiVarFont, u"MS Sans Serif", 12, 400, 2);
    o[13] = StockFont(StockObject::SystemFont, u"System", 16, 700, 2);
    o[14] = StockFont(StockObject::DeviceDefaultFont, u"System", 16, 700, 2);
    o[15] = Palette{std::vector<ColorRef>(kDefaultPalette.begin(), kDefaultPalette.end())};
    o[16] = StockFont(StockObject::SystemFixedFont, u"Fixedsys", 15, 400, 1);
    o[17] = StockFont(StockObject::DefaultGuiFont, u"MS Shell Dlg", -11, 400, 0);
    o[18] = SolidBrush(MakeColorRef(255, 255, 255));
    o[19] = SolidPen(MakeColorRef(0, 0, 0));
    return o;
  }();
  return objects;
}

}  // namespace

QRgb ToQRgb(ColorRef color) {
  // Bit 24 makes the low word an index into the (default) palette; an index
  // past its end selects entry 0.
  if (color & 0x01000000u) {
    const std::uint32_t index = color & 0xFFFF;
    color = index < kDefaultPalette.size() ? kDefaultPalette[index] : kDefaultPalette[0];
  }
  return qRgb(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
              static_cast<int>((color >> 16) & 0xFF));
}

Pen Pen::FromStyleWord(std::uint32_t style_word, std::int32_t width, ColorRef color, bool extended) {
  Pen p;
  const std::uint32_t style = style_word & 0x0F;
  p.style = style <= static_cast<std::uint32_t>(PenStyle::Alternate) ? static_cast<PenStyle>(style) : PenStyle::Solid;
  const std::uint32_t cap = style_word & 0x0F00;
  p.end_cap = cap == 0x100 ? PenEndCap::Square : cap == 0x200 ? PenEndCap::Flat : PenEndCap::Round;
  const std::uint32_t join = style_word & 0xF000;
  p.join = join == 0x1000 ? PenJoin::Bevel : join == 0x2000 ? PenJoin::Miter : PenJoin::Round;
  p.geometric = extended && (style_word & 0x000F0000u) == 0x00010000u;
  p.extended = extended;
  // The width's magnitude counts; that of INT_MIN does not fit an int and
  // becomes the largest width.
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  p.width = width >= 0 ? width : width == kMin ? std::numeric_limits<std::int32_t>::max() : -width;
  p.color = color;
  return p;
}

const GdiObject* FindStockObject(std::uint32_t index) {
  const auto& objects = StockObjects();
  if (index >= objects.size() || !objects[index]) return nullptr;
  return &*objects[index];
}

ObjectTable::ObjectTable(std::size_t handles) : slots_(std::min(handles, kMaxHandles)) {}

bool ObjectTable::Put(std::uint32_t index, GdiObject object) {
  if (index == 0 || index >= slots_.size()) return false;
  slots_[index] = std::move(object);
  return true;
}

const GdiObject* ObjectTable::Find(std::uint32_t index) const {
  if (index & kStockObjectFlag) return FindStockObject(index & ~kStockObjectFlag);
  if (index == 0 || index >= slots_.size() || !slots_[index]) return nullptr;
  return &*slots_[index];
}

bool ObjectTable::Delete(std::uint32_t index) {
  if (index & kStockObjectFlag) return true;  // deleting a stock object does nothing
  if (index == 0 || index >= slots_.size() || !slots_[index]) return false;
  slots_[index].reset();
  return true;
}

}  // namespace pw::gdi
