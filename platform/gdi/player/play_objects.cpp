// Records that create, select and delete GDI objects.
#include <variant>

#include "platform/gdi/dc/dib.h"
#include "platform/gdi/player/player_internal.h"

namespace pw::gdi {

namespace {

constexpr std::uint32_t kMaxStyleEntries = 16;  // as ExtCreatePen allows

Brush PatternBrush(const DecodedDib& dib, bool monochrome) {
  Brush b;
  b.style = BrushStyle::DibPatternPt;
  b.monochrome = monochrome;
  b.pattern = monochrome ? dib.image : dib.Opaque();
  return b;
}

std::optional<Brush> LogBrush(std::uint32_t style, ColorRef color, std::uint32_t hatch) {
  Brush b;
  b.color = color;
  switch (style) {
    case 0: b.style = BrushStyle::Solid; break;
    case 1: b.style = BrushStyle::Null; break;
    case 2:
      if (hatch > 5) return std::nullopt;
      b.style = BrushStyle::Hatched;
      b.hatch = static_cast<HatchStyle>(hatch);
      break;
    default: return std::nullopt;
  }
  return b;
}

Outcome PlayCreatePen(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  const std::uint32_t index = r.U32();
  const std::uint32_t style = r.U32();
  const PointL width = ReadPointL(r);
  const ColorRef color = r.U32();
  if (!r.ok()) return Outcome::Malformed;
  return PutObject(pb, index, Pen::FromStyleWord(style, width.x, color, false)) ? Outcome::Played : Outcome::Malformed;
}

Outcome PlayExtCreatePen(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  const std::uint32_t index = r.U32();
  const std::uint32_t off_bmi = r.U32(), cb_bmi = r.U32(), off_bits = r.U32(), cb_bits = r.U32();
  const std::uint32_t style = r.U32();
  const std::int32_t width = r.I32();
  const std::uint32_t brush_style = r.U32();
  const ColorRef color = r.U32();
  const std::uint32_t hatch = r.U32();
  const std::uint32_t entries = r.U32();
  if (!r.ok()) return Outcome::Malformed;
  Pen pen = Pen::FromStyleWord(style, width, color, true);
  if (pen.style == PenStyle::UserStyle) {
    if (entries > kMaxStyleEntries || entries > r.remaining() / 4) return Outcome::Malformed;
    for (std::uint32_t i = 0; i < entries; ++i) pen.user_style.push_back(r.U32());
  }
  if (brush_style == 5 || brush_style == 6) {
    DibOptions options;
    options.usage = brush_style == 5 ? static_cast<DibColorUsage>(hatch & 3) : DibColorUsage::RgbColors;
    if (auto dib = DecodeRecordDib(pb, rec, off_bmi, cb_bmi, off_bits, cb_bits, options))
      pen.brush = PatternBrush(*dib, false);
  } else if (brush_style == 1) {
    pen.style = PenStyle::Null;
  } else if (auto brush = LogBrush(brush_style, color, hatch)) {
    if (brush->style == BrushStyle::Hatched) pen.brush = *brush;
  }
  return PutObject(pb, index, std::move(pen)) ? Outcome::Played : Outcome::Malformed;
}

Outcome PlayCreateBrush(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  const std::uint32_t index = r.U32();
  const std::uint32_t style = r.U32();
  const ColorRef color = r.U32();
  const std::uint32_t hatch = r.U32();
  if (!r.ok()) return Outcome::Malformed;
  auto brush = LogBrush(style, color, hatch);
  // Styles other than solid, null and hatched cannot be recorded here; GDI
  // makes a solid brush of them.
  if (!brush) brush = LogBrush(0, color, 0);
  return PutObject(pb, index, *brush) ? Outcome::Played : Outcome::Malformed;
}

Outcome PlayCreatePatternBrush(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  const std::uint32_t index = r.U32();
  const std::uint32_t usage = r.U32();
  const std::uint32_t off_bmi = r.U32(), cb_bmi = r.U32(), off_bits = r.U32(), cb_bits = r.U32();
  if (!r.ok() || usage > 2) return Outcome::Malformed;
  const bool mono_brush = rec.type == static_cast<std::uint32_t>(RecordType::CreateMonoBrush);
  DibOptions options;
  options.usage = static_cast<DibColorUsage>(usage);
  auto dib = DecodeRecordDib(pb, rec, off_bmi, cb_bmi, off_bits, cb_bits, options);
  if (!dib) return Outcome::Malformed;
  // A monochrome brush takes the DC's text and background colours.
  const bool mono = (mono_brush || usage == 2) && dib->monochrome;
  return PutObject(pb, index, PatternBrush(*dib, mono)) ? Outcome::Played : Outcome::Malformed;
}

Outcome PlayCreatePalette(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  const std::uint32_t index = r.U32();
  r.U16();  // version
  const std::uint16_t count = r.U16();
  if (!r.ok() || count > r.remaining() / 4) return Outcome::Malformed;
  Palette palette;
  palette.entries.reserve(count);
  for (std::uint16_t i = 0; i < count; ++i) palette.entries.push_back(r.U32() & 0xFFFFFF);
  return PutObject(pb, index, std::move(palette)) ? Outcome::Played : Outcome::Malformed;
}

Outcome PlaySelectObject(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  const std::uint32_t index = r.U32();
  if (!r.ok()) return Outcome::Malformed;
  const GdiObject* object = pb.objects.Find(index);
  if (!object) return Outcome::Malformed;
  DeviceContext& dc = pb.dc;
  std::visit(
      [&dc](const auto& o) {
        using T = std::decay_t<decltype(o)>;
        if constexpr (std::is_same_v<T, Pen>) dc.SelectPen(o);
        else if constexpr (std::is_same_v<T, Brush>) dc.SelectBrush(o);
        else if constexpr (std::is_same_v<T, Font>) dc.SelectFont(o);
      },
      *object);
  return Outcome::Played;
}

Outcome PlayDeleteObject(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  const std::uint32_t index = r.U32();
  if (!r.ok()) return Outcome::Malformed;
  return pb.objects.Delete(index) ? Outcome::Played : Outcome::Malformed;
}

}  // namespace

void RegisterObjectHandlers(HandlerTable& t) {
  t.Register(RecordType::CreatePen, PlayCreatePen);
  t.Register(RecordType::ExtCreatePen, PlayExtCreatePen);
  t.Register(RecordType::CreateBrushIndirect, PlayCreateBrush);
  t.Register(RecordType::CreateDibPatternBrushPt, PlayCreatePatternBrush);
  t.Register(RecordType::CreateMonoBrush, PlayCreatePatternBrush);
  t.Register(RecordType::CreatePalette, PlayCreatePalette);
  t.Register(RecordType::SelectObject, PlaySelectObject);
  t.Register(RecordType::DeleteObject, PlayDeleteObject);
}

}  // namespace pw::gdi
