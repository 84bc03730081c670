// Records that draw lines, curves and filled shapes.
#include <cmath>

#include "platform/gdi/player/player_internal.h"

namespace pw::gdi {

namespace {

bool IsSixteenBit(std::uint32_t type) {
  return type >= static_cast<std::uint32_t>(RecordType::PolyBezier16) &&
         type <= static_cast<std::uint32_t>(RecordType::PolyDraw16);
}

Outcome PlayPoly(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  ReadRectL(r);  // bounds
  const std::uint32_t count = r.U32();
  if (!r.ok()) return Outcome::Malformed;
  const auto points = ReadPoints(pb, r, count, IsSixteenBit(rec.type));
  if (!points) return Outcome::Malformed;
  DeviceContext& dc = pb.dc;
  switch (static_cast<RecordType>(rec.type)) {
    case RecordType::PolyBezier:
    case RecordType::PolyBezier16: dc.PolyBezier(*points); break;
    case RecordType::Polygon:
    case RecordType::Polygon16: dc.Polygon(*points); break;
    case RecordType::Polyline:
    case RecordType::Polyline16: dc.Polyline(*points); break;
    case RecordType::PolyBezierTo:
    case RecordType::PolyBezierTo16: dc.PolyBezierTo(*points); break;
    case RecordType::PolylineTo:
    case RecordType::PolylineTo16: dc.PolylineTo(*points); break;
    default: return Outcome::Malformed;
  }
  return Outcome::Played;
}

Outcome PlayPolyPoly(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  ReadRectL(r);  // bounds
  const std::uint32_t polys = r.U32();
  const std::uint32_t count = r.U32();
  if (!r.ok() || !WithinPointBound(pb, polys) || polys > r.remaining() / 4) return Outcome::Malformed;
  std::vector<std::uint32_t> counts(polys);
  std::uint64_t total = 0;
  for (auto& c : counts) {
    c = r.U32();
    total += c;
  }
  if (!r.ok() || total > count) return Outcome::Malformed;
  const auto points = ReadPoints(pb, r, count, IsSixteenBit(rec.type));
  if (!points) return Outcome::Malformed;
  const auto type = static_cast<RecordType>(rec.type);
  if (type == RecordType::PolyPolygon || type == RecordType::PolyPolygon16)
    pb.dc.PolyPolygon(*points, counts);
  else
    pb.dc.PolyPolyline(*points, counts);
  return Outcome::Played;
}

Outcome PlayPolyDraw(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  ReadRectL(r);  // bounds
  const std::uint32_t count = r.U32();
  if (!r.ok()) return Outcome::Malformed;
  const auto points = ReadPoints(pb, r, count, IsSixteenBit(rec.type));
  if (!points) return Outcome::Malformed;
  const auto types = r.Bytes(count);
  if (!r.ok()) return Outcome::Malformed;
  std::vector<std::uint8_t> kinds(count);
  for (std::uint32_t i = 0; i < count; ++i) kinds[i] = static_cast<std::uint8_t>(types[i]);
  pb.dc.PolyDraw(*points, kinds);
  return Outcome::Played;
}

Outcome PlayBox(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  const RectL box = ReadRectL(r);
  if (!r.ok()) return Outcome::Malformed;
  if (rec.type == static_cast<std::uint32_t>(RecordType::Rectangle))
    pb.dc.Rectangle(box);
  else
    pb.dc.Ellipse(box);
  return Outcome::Played;
}

Outcome PlayRoundRect(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  const RectL box = ReadRectL(r);
  const SizeL corner = ReadSizeL(r);
  if (!r.ok()) return Outcome::Malformed;
  pb.dc.RoundRect(box, QSize(corner.cx, corner.cy));
  return Outcome::Played;
}

Outcome PlayArcFamily(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  const RectL box = ReadRectL(r);
  const QPoint start = ToQPoint(ReadPointL(r));
  const QPoint end = ToQPoint(ReadPointL(r));
  if (!r.ok()) return Outcome::Malformed;
  switch (static_cast<RecordType>(rec.type)) {
    case RecordType::Arc: pb.dc.Arc(box, start, end); break;
    case RecordType::ArcTo: pb.dc.ArcTo(box, start, end); break;
    case RecordType::Chord: pb.dc.Chord(box, start, end); break;
    case RecordType::Pie: pb.dc.Pie(box, start, end); break;
    default: return Outcome::Malformed;
  }
  return Outcome::Played;
}

Outcome PlayAngleArc(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  const QPoint center = ToQPoint(ReadPointL(r));
  const std::uint32_t radius = r.U32();
  const float start = r.F32();
  const float sweep = r.F32();
  if (!r.ok() || !std::isfinite(start) || !std::isfinite(sweep) || radius > (1u << 30)) return Outcome::Malformed;
  pb.dc.AngleArc(center, radius, start, sweep);
  return Outcome::Played;
}

Outcome PlayMoveOrLine(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  const QPoint p = ToQPoint(ReadPointL(r));
  if (!r.ok()) return Outcome::Malformed;
  if (rec.type == static_cast<std::uint32_t>(RecordType::MoveToEx))
    pb.dc.MoveTo(p);
  else
    pb.dc.LineTo(p);
  return Outcome::Played;
}

Outcome PlaySetPixel(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  const QPoint p = ToQPoint(ReadPointL(r));
  const ColorRef color = r.U32();
  if (!r.ok()) return Outcome::Malformed;
  pb.dc.SetPixel(p, color);
  return Outcome::Played;
}

// Vertices and meshes are counted by the record; both are checked against
// its size before anything is read.
Outcome PlayGradientFill(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  ReadRectL(r);  // bounds
  const std::uint32_t vertices = r.U32();
  const std::uint32_t meshes = r.U32();
  const std::uint32_t mode = r.U32();
  if (!r.ok() || mode > 2 || !WithinPointBound(pb, vertices) || vertices > r.remaining() / 16)
    return Outcome::Malformed;
  std::vector<GradientVertex> v(vertices);
  for (auto& vertex : v) {
    vertex.x = r.I32();
    vertex.y = r.I32();
    vertex.red = r.U16();
    vertex.green = r.U16();
    vertex.blue = r.U16();
    r.U16();  // alpha
  }
  const std::size_t per_mesh = mode == 2 ? 12 : 8;
  if (!r.ok() || meshes > r.remaining() / per_mesh) return Outcome::Malformed;
  for (std::uint32_t i = 0; i < meshes; ++i) {
    const std::uint32_t a = r.U32(), b = r.U32();
    const std::uint32_t c = mode == 2 ? r.U32() : 0;
    if (a >= vertices || b >= vertices || c >= std::max<std::uint32_t>(vertices, 1)) return Outcome::Malformed;
    if (mode == 2)
      pb.dc.GradientFillTriangle(v[a], v[b], v[c]);
    else
      pb.dc.GradientFillRect(v[a], v[b], mode == 1);
  }
  return Outcome::Played;
}

}  // namespace

void RegisterShapeHandlers(HandlerTable& t) {
  t.Register(RecordType::GradientFill, PlayGradientFill);
  for (RecordType type : {RecordType::PolyBezier, RecordType::Polygon, RecordType::Polyline, RecordType::PolyBezierTo,
                          RecordType::PolylineTo, RecordType::PolyBezier16, RecordType::Polygon16,
                          RecordType::Polyline16, RecordType::PolyBezierTo16, RecordType::PolylineTo16})
    t.Register(type, PlayPoly);
  for (RecordType type : {RecordType::PolyPolyline, RecordType::PolyPolygon, RecordType::PolyPolyline16,
                          RecordType::PolyPolygon16})
    t.Register(type, PlayPolyPoly);
  t.Register(RecordType::PolyDraw, PlayPolyDraw);
  t.Register(RecordType::PolyDraw16, PlayPolyDraw);
  t.Register(RecordType::Rectangle, PlayBox);
  t.Register(RecordType::Ellipse, PlayBox);
  t.Register(RecordType::RoundRect, PlayRoundRect);
  for (RecordType type : {RecordType::Arc, RecordType::ArcTo, RecordType::Chord, RecordType::Pie})
    t.Register(type, PlayArcFamily);
  t.Register(RecordType::AngleArc, PlayAngleArc);
  t.Register(RecordType::MoveToEx, PlayMoveOrLine);
  t.Register(RecordType::LineTo, PlayMoveOrLine);
  t.Register(RecordType::SetPixelV, PlaySetPixel);
}

}  // namespace pw::gdi
