// Records that set DC attributes, the mapping and the save stack.
#include <bit>
#include <cmath>

#include "platform/gdi/player/player_internal.h"
#include "platform/limits/limits.h"

namespace pw::gdi {

namespace {

// One 32-bit parameter read as an enum value within [low, high].
template <typename Enum>
std::optional<Enum> ReadEnum(const RecordView& record, std::int32_t low, std::int32_t high) {
  io::ByteReader r = record.Params();
  const std::int32_t v = r.I32();
  if (!r.ok() || v < low || v > high) return std::nullopt;
  return static_cast<Enum>(v);
}

std::optional<QPoint> ReadPointParam(const RecordView& record) {
  io::ByteReader r = record.Params();
  const PointL p = ReadPointL(r);
  if (!r.ok()) return std::nullopt;
  return ToQPoint(p);
}

// A transform the DC may take: read whole and every element finite.
std::optional<QTransform> ReadFiniteXform(io::ByteReader& r) {
  const QTransform t = ReadXform(r);
  if (!r.ok()) return std::nullopt;
  for (double v : {t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy()})
    if (!std::isfinite(v)) return std::nullopt;
  return t;
}

Outcome Applied(bool ok) { return ok ? Outcome::Played : Outcome::Malformed; }

Outcome Ignore(Playback&, const RecordView&) { return Outcome::Ignored; }

Outcome PlaySetMapMode(Playback& pb, const RecordView& rec) {
  const auto mode = ReadEnum<MapMode>(rec, 1, 8);
  if (!mode) return Outcome::Malformed;
  pb.dc.SetMapMode(*mode);
  return Outcome::Played;
}

Outcome PlaySetWindowExt(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  const SizeL s = ReadSizeL(r);
  return Applied(r.ok() && pb.dc.SetWindowExt(QSize(s.cx, s.cy)));
}

Outcome PlaySetViewportExt(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  const SizeL s = ReadSizeL(r);
  return Applied(r.ok() && pb.dc.SetViewportExt(QSize(s.cx, s.cy)));
}

Outcome PlaySetWindowOrg(Playback& pb, const RecordView& rec) {
  const auto p = ReadPointParam(rec);
  if (!p) return Outcome::Malformed;
  pb.dc.SetWindowOrg(*p);
  return Outcome::Played;
}

Outcome PlaySetViewportOrg(Playback& pb, const RecordView& rec) {
  const auto p = ReadPointParam(rec);
  if (!p) return Outcome::Malformed;
  pb.dc.SetViewportOrg(*p);
  return Outcome::Played;
}

Outcome PlayScaleExt(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  const std::int32_t xnum = r.I32(), xdenom = r.I32(), ynum = r.I32(), ydenom = r.I32();
  if (!r.ok()) return Outcome::Malformed;
  if (rec.type == static_cast<std::uint32_t>(RecordType::ScaleWindowExtEx))
    return Applied(pb.dc.ScaleWindowExt(xnum, xdenom, ynum, ydenom));
  return Applied(pb.dc.ScaleViewportExt(xnum, xdenom, ynum, ydenom));
}

Outcome PlaySetBrushOrg(Playback& pb, const RecordView& rec) {
  const auto p = ReadPointParam(rec);
  if (!p) return Outcome::Malformed;
  pb.dc.SetBrushOrigin(*p);
  return Outcome::Played;
}

Outcome PlaySetBkMode(Playback& pb, const RecordView& rec) {
  const auto mode = ReadEnum<BkMode>(rec, 1, 2);
  if (!mode) return Outcome::Malformed;
  pb.dc.SetBkMode(*mode);
  return Outcome::Played;
}

Outcome PlaySetPolyFillMode(Playback& pb, const RecordView& rec) {
  const auto mode = ReadEnum<PolyFillMode>(rec, 1, 2);
  if (!mode) return Outcome::Malformed;
  pb.dc.SetPolyFillMode(*mode);
  return Outcome::Played;
}

Outcome PlaySetRop2(Playback& pb, const RecordView& rec) {
  const auto rop = ReadEnum<Rop2>(rec, 1, 16);
  if (!rop) return Outcome::Malformed;
  pb.dc.SetRop2(*rop);
  return Outcome::Played;
}

Outcome PlaySetStretchBltMode(Playback& pb, const RecordView& rec) {
  const auto mode = ReadEnum<StretchBltMode>(rec, 1, 4);
  if (!mode) return Outcome::Malformed;
  pb.dc.SetStretchBltMode(*mode);
  return Outcome::Played;
}

Outcome PlaySetArcDirection(Playback& pb, const RecordView& rec) {
  const auto dir = ReadEnum<ArcDirection>(rec, 1, 2);
  if (!dir) return Outcome::Malformed;
  pb.dc.SetArcDirection(*dir);
  return Outcome::Played;
}

Outcome PlaySetTextAlign(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  const std::uint32_t align = r.U32();
  if (!r.ok()) return Outcome::Malformed;
  pb.dc.SetTextAlign(align);
  return Outcome::Played;
}

Outcome PlaySetColor(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  const ColorRef color = r.U32();
  if (!r.ok()) return Outcome::Malformed;
  if (rec.type == static_cast<std::uint32_t>(RecordType::SetTextColor))
    pb.dc.SetTextColor(color);
  else
    pb.dc.SetBkColor(color);
  return Outcome::Played;
}

Outcome PlaySetMiterLimit(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  const std::uint32_t raw = r.U32();
  if (!r.ok()) return Outcome::Malformed;
  // Written as a float by GDI, as an integer by some other writers.
  float limit = std::bit_cast<float>(raw);
  if (!std::isfinite(limit) || limit < 1 || limit > 1e6f) limit = static_cast<float>(raw);
  if (limit < 1 || limit > 1e6f) return Outcome::Malformed;
  pb.dc.SetMiterLimit(limit);
  return Outcome::Played;
}

Outcome PlaySetTextJustification(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  const std::int32_t extra = r.I32(), count = r.I32();
  if (!r.ok()) return Outcome::Malformed;
  pb.dc.SetTextJustification(extra, count);
  return Outcome::Played;
}

Outcome PlaySetLayout(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  const std::uint32_t layout = r.U32();
  if (!r.ok()) return Outcome::Malformed;
  pb.dc.SetLayout(layout);
  return Outcome::Played;
}

Outcome PlaySetMapperFlags(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  const std::uint32_t flags = r.U32();
  if (!r.ok()) return Outcome::Malformed;
  pb.dc.SetMapperFlags(flags);
  return Outcome::Played;
}

Outcome PlaySaveDc(Playback& pb, const RecordView&) {
  // Each level copies the whole DC state: a page of SaveDCs alone must not exhaust memory.
  if (pb.dc.SaveLevel() - pb.base_level >= limits::kSaveDepth.value) {
    pb.report.Note(std::string(limits::kSaveDepth.message));
    return Outcome::Malformed;
  }
  pb.dc.SaveDc();
  return Outcome::Played;
}

// Levels count from the playback's own first SaveDC; the caller's saved
// states below them are out of the metafile's reach.
Outcome PlayRestoreDc(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  const std::int32_t level = r.I32();
  if (!r.ok() || level == 0) return Outcome::Malformed;
  const int own_depth = pb.dc.SaveLevel() - pb.base_level;
  int absolute;
  if (level < 0) {
    if (-static_cast<std::int64_t>(level) > own_depth) return Outcome::Malformed;
    absolute = pb.dc.SaveLevel() + level + 1;
  } else {
    if (level > own_depth) return Outcome::Malformed;
    absolute = pb.base_level + level;
  }
  return Applied(pb.dc.RestoreDc(absolute));
}

Outcome PlaySetWorldTransform(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  const auto xform = ReadFiniteXform(r);
  return Applied(xform && pb.dc.SetWorldTransform(*xform));
}

Outcome PlayModifyWorldTransform(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  const auto xform = ReadFiniteXform(r);
  const std::uint32_t mode = r.U32();
  if (!xform || !r.ok() || mode < 1 || mode > 4) return Outcome::Malformed;
  return Applied(pb.dc.ModifyWorldTransform(*xform, static_cast<WorldTransformMode>(mode)));
}

}  // namespace

void RegisterStateHandlers(HandlerTable& t) {
  t.Register(RecordType::SetMapMode, PlaySetMapMode);
  t.Register(RecordType::SetWindowExtEx, PlaySetWindowExt);
  t.Register(RecordType::SetViewportExtEx, PlaySetViewportExt);
  t.Register(RecordType::SetWindowOrgEx, PlaySetWindowOrg);
  t.Register(RecordType::SetViewportOrgEx, PlaySetViewportOrg);
  t.Register(RecordType::ScaleWindowExtEx, PlayScaleExt);
  t.Register(RecordType::ScaleViewportExtEx, PlayScaleExt);
  t.Register(RecordType::SetBrushOrgEx, PlaySetBrushOrg);
  t.Register(RecordType::SetBkMode, PlaySetBkMode);
  t.Register(RecordType::SetPolyFillMode, PlaySetPolyFillMode);
  t.Register(RecordType::SetRop2, PlaySetRop2);
  t.Register(RecordType::SetStretchBltMode, PlaySetStretchBltMode);
  t.Register(RecordType::SetArcDirection, PlaySetArcDirection);
  t.Register(RecordType::SetTextAlign, PlaySetTextAlign);
  t.Register(RecordType::SetTextColor, PlaySetColor);
  t.Register(RecordType::SetBkColor, PlaySetColor);
  t.Register(RecordType::SetMiterLimit, PlaySetMiterLimit);
  t.Register(RecordType::SetTextJustification, PlaySetTextJustification);
  t.Register(RecordType::SetLayout, PlaySetLayout);
  t.Register(RecordType::SetMapperFlags, PlaySetMapperFlags);
  t.Register(RecordType::SaveDc, PlaySaveDc);
  t.Register(RecordType::RestoreDc, PlayRestoreDc);
  t.Register(RecordType::SetWorldTransform, PlaySetWorldTransform);
  t.Register(RecordType::ModifyWorldTransform, PlayModifyWorldTransform);
  // Accepted without effect on a true-colour surface, or meaningless on playback.
  for (RecordType type : {RecordType::GdiComment, RecordType::SetColorAdjustment, RecordType::SetIcmMode,
                          RecordType::CreateColorSpace, RecordType::CreateColorSpaceW, RecordType::SetColorSpace,
                          RecordType::DeleteColorSpace, RecordType::ColorCorrectPalette, RecordType::SetIcmProfileA,
                          RecordType::SetIcmProfileW, RecordType::ColorMatchToTargetW, RecordType::PixelFormat,
                          RecordType::ForceUfiMapping, RecordType::SetLinkedUfis, RecordType::GlsRecord,
                          RecordType::GlsBoundedRecord, RecordType::DrawEscape, RecordType::ExtEscape,
                          RecordType::NamedEscape, RecordType::SelectPalette, RecordType::SetPaletteEntries,
                          RecordType::ResizePalette, RecordType::RealizePalette})
    t.Register(type, Ignore);
}

}  // namespace pw::gdi
