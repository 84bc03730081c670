// Clipping and region records.
#include "platform/gdi/player/player_internal.h"

namespace pw::gdi {

namespace {

const Brush* FindBrush(const Playback& pb, std::uint32_t index) {
  const GdiObject* object = pb.objects.Find(index);
  return object ? std::get_if<Brush>(object) : nullptr;
}

Outcome PlayClipRect(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  const RectL rect = ReadRectL(r);
  if (!r.ok()) return Outcome::Malformed;
  if (rec.type == static_cast<std::uint32_t>(RecordType::IntersectClipRect))
    pb.dc.IntersectClipRect(rect);
  else
    pb.dc.ExcludeClipRect(rect);
  return Outcome::Played;
}

Outcome PlayOffsetClipRgn(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  const PointL offset = ReadPointL(r);
  if (!r.ok()) return Outcome::Malformed;
  pb.dc.OffsetClipRgn(ToQPoint(offset));
  return Outcome::Played;
}

// The region is in device units of the reference device; it follows the
// picture's placement.
Outcome PlayExtSelectClipRgn(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  const std::uint32_t size = r.U32();
  const std::int32_t mode = r.I32();
  if (!r.ok() || mode < 1 || mode > 5) return Outcome::Malformed;
  if (size == 0) {
    if (mode != static_cast<std::int32_t>(RegionMode::Copy)) return Outcome::Malformed;
    pb.dc.ExtSelectClipRgn(nullptr, RegionMode::Copy);
    return Outcome::Played;
  }
  const auto region = ReadRegionData(pb, r, size);
  if (!region) return Outcome::Malformed;
  const QRegion device = TransformRegion(*region, pb.placement);
  pb.dc.ExtSelectClipRgn(&device, static_cast<RegionMode>(mode));
  return Outcome::Played;
}

Outcome PlaySetMetaRgn(Playback& pb, const RecordView&) {
  pb.dc.SetMetaRgn();
  return Outcome::Played;
}

Outcome PlayFillRgn(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  ReadRectL(r);  // bounds
  const std::uint32_t size = r.U32();
  const std::uint32_t brush_index = r.U32();
  if (!r.ok()) return Outcome::Malformed;
  const Brush* brush = FindBrush(pb, brush_index);
  const auto region = ReadRegionData(pb, r, size);
  if (!brush || !region) return Outcome::Malformed;
  pb.dc.FillRegion(*region, *brush);
  return Outcome::Played;
}

Outcome PlayFrameRgn(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  ReadRectL(r);  // bounds
  const std::uint32_t size = r.U32();
  const std::uint32_t brush_index = r.U32();
  const SizeL stroke = ReadSizeL(r);
  if (!r.ok()) return Outcome::Malformed;
  const Brush* brush = FindBrush(pb, brush_index);
  const auto region = ReadRegionData(pb, r, size);
  if (!brush || !region) return Outcome::Malformed;
  pb.dc.FrameRegion(*region, *brush, QSize(stroke.cx, stroke.cy));
  return Outcome::Played;
}

Outcome PlayInvertOrPaintRgn(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  ReadRectL(r);  // bounds
  const std::uint32_t size = r.U32();
  if (!r.ok()) return Outcome::Malformed;
  const auto region = ReadRegionData(pb, r, size);
  if (!region) return Outcome::Malformed;
  if (rec.type == static_cast<std::uint32_t>(RecordType::InvertRgn))
    pb.dc.InvertRegion(*region);
  else
    pb.dc.PaintRegion(*region);
  return Outcome::Played;
}

}  // namespace

void RegisterClipHandlers(HandlerTable& t) {
  t.Register(RecordType::IntersectClipRect, PlayClipRect);
  t.Register(RecordType::ExcludeClipRect, PlayClipRect);
  t.Register(RecordType::OffsetClipRgn, PlayOffsetClipRgn);
  t.Register(RecordType::ExtSelectClipRgn, PlayExtSelectClipRgn);
  t.Register(RecordType::SetMetaRgn, PlaySetMetaRgn);
  t.Register(RecordType::FillRgn, PlayFillRgn);
  t.Register(RecordType::FrameRgn, PlayFrameRgn);
  t.Register(RecordType::InvertRgn, PlayInvertOrPaintRgn);
  t.Register(RecordType::PaintRgn, PlayInvertOrPaintRgn);
}

}  // namespace pw::gdi
