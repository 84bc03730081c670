// Bitmap records of the player: the bit-block transfers. Every offset and
// size of a bitmap inside a record is checked against the record before the
// bitmap is decoded; the operations come from the records themselves.
#include <array>
#include <initializer_list>
#include <optional>

#include "platform/gdi/dc/blit.h"
#include "platform/gdi/dc/dib.h"
#include "platform/gdi/player/player_internal.h"

namespace pw::gdi {

namespace {

// Where a record keeps one of its bitmaps.
struct BitmapFields {
  std::uint32_t usage = 0;
  std::uint32_t off_bmi = 0, cb_bmi = 0, off_bits = 0, cb_bits = 0;

  bool Present() const { return off_bmi != 0 && cb_bmi != 0; }
};

BitmapFields ReadBitmapFields(io::ByteReader& r, bool usage_first = true) {
  BitmapFields f;
  if (usage_first) f.usage = r.U32();
  f.off_bmi = r.U32();
  f.cb_bmi = r.U32();
  f.off_bits = r.U32();
  f.cb_bits = r.U32();
  return f;
}

BlitRect ReadRect(io::ByteReader& r) {
  BlitRect b;
  b.x = r.I32();
  b.y = r.I32();
  b.cx = r.I32();
  b.cy = r.I32();
  return b;
}

std::optional<DecodedDib> Decode(Playback& pb, const RecordView& rec, const BitmapFields& f,
                                 std::optional<std::uint32_t> scan_lines = {}) {
  if (f.usage > static_cast<std::uint32_t>(DibColorUsage::PalMono)) return std::nullopt;
  DibOptions options;
  options.usage = static_cast<DibColorUsage>(f.usage);
  options.scan_lines = scan_lines;
  return DecodeRecordDib(pb, rec, f.off_bmi, f.cb_bmi, f.off_bits, f.cb_bits, options);
}

// Whether the source rectangle a record gives (and its scan lines) lies
// within the bound on blits, which every transfer applies; past it the bound
// is noted, and the record is refused before its bitmap is decoded.
bool WithinBlitBound(Playback& pb, const BlitRect& src, std::initializer_list<std::int64_t> more = {}) {
  auto within = [](std::int64_t v) { return (v < 0 ? -v : v) <= kMaxBlitExtent; };
  bool ok = within(src.x) && within(src.y) && within(src.cx) && within(src.cy);
  for (std::int64_t v : more) ok = ok && within(v);
  if (!ok) Refuse(pb, limits::kBlitExtent);
  return ok;
}

Outcome Drawn(bool drawn) { return drawn ? Outcome::Played : Outcome::Ignored; }

// EMR_BITBLT and EMR_STRETCHBLT (the latter adds the source extents).
Outcome PlayBitBlt(Playback& pb, const RecordView& rec) {
  const bool stretch = rec.type == static_cast<std::uint32_t>(RecordType::StretchBlt);
  io::ByteReader r = rec.Params();
  r.Skip(16);  // rclBounds
  const BlitRect dest = ReadRect(r);
  const std::uint32_t rop = r.U32();
  BlitRect src{r.I32(), r.I32(), dest.cx, dest.cy};
  const QTransform xform = ReadXform(r);
  r.U32();  // crBkColorSrc: the source DC's background, which no bitmap source shows
  const BitmapFields bitmap = ReadBitmapFields(r);
  if (stretch) {
    src.cx = r.I32();
    src.cy = r.I32();
  }
  if (!r.ok()) return Outcome::Malformed;
  if (!bitmap.Present()) return Drawn(PatBlt(pb.dc, dest, rop));  // no source: a pattern fill
  if (!WithinBlitBound(pb, src)) return Outcome::Malformed;
  const auto dib = Decode(pb, rec, bitmap);
  if (!dib) return Outcome::Malformed;
  return Drawn(StretchBlt(pb.dc, dest, BlitSource::From(*dib), src, rop, xform));
}

Outcome PlayStretchDIBits(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  r.Skip(16);
  const std::int32_t x = r.I32(), y = r.I32();
  const BlitRect src = ReadRect(r);
  BitmapFields bitmap = ReadBitmapFields(r, false);
  bitmap.usage = r.U32();
  const std::uint32_t rop = r.U32();
  const BlitRect dest{x, y, r.I32(), r.I32()};
  if (!r.ok()) return Outcome::Malformed;
  if (!bitmap.Present()) return Drawn(PatBlt(pb.dc, dest, rop));
  if (!WithinBlitBound(pb, src)) return Outcome::Malformed;
  const auto dib = Decode(pb, rec, bitmap);
  if (!dib) return Outcome::Malformed;
  return Drawn(StretchDIBits(pb.dc, dest, BlitSource::From(*dib), src, !dib->top_down, rop));
}

Outcome PlaySetDIBitsToDevice(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  r.Skip(16);
  const QPoint dest{r.I32(), r.I32()};
  const BlitRect src = ReadRect(r);
  BitmapFields bitmap = ReadBitmapFields(r, false);
  bitmap.usage = r.U32();
  const std::uint32_t start_scan = r.U32(), scans = r.U32();
  if (!r.ok() || !bitmap.Present()) return Outcome::Malformed;
  if (!WithinBlitBound(pb, src, {start_scan, scans})) return Outcome::Malformed;
  const auto dib = Decode(pb, rec, bitmap, scans);
  if (!dib) return Outcome::Malformed;
  return Drawn(SetDIBitsToDevice(pb.dc, dest, BlitSource::From(*dib), src, start_scan, scans,
                                 !dib->top_down));
}

Outcome PlayMaskBlt(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  r.Skip(16);
  const BlitRect dest = ReadRect(r);
  const std::uint32_t rop4 = r.U32();
  const QPoint src{r.I32(), r.I32()};
  const QTransform xform = ReadXform(r);
  r.U32();  // crBkColorSrc
  const BitmapFields source = ReadBitmapFields(r);
  const QPoint mask_origin{r.I32(), r.I32()};
  const BitmapFields mask = ReadBitmapFields(r);
  if (!r.ok()) return Outcome::Malformed;
  if ((source.Present() || mask.Present()) && !WithinBlitBound(pb, {src.x(), src.y(), dest.cx, dest.cy}))
    return Outcome::Malformed;

  std::optional<DecodedDib> source_dib, mask_dib;
  if (source.Present() && !(source_dib = Decode(pb, rec, source))) return Outcome::Malformed;
  if (mask.Present() && !(mask_dib = Decode(pb, rec, mask))) return Outcome::Malformed;
  const BlitSource blit_source = source_dib ? BlitSource::From(*source_dib) : BlitSource{};
  const QImage mask_image = mask_dib ? mask_dib->Opaque() : QImage();
  return Drawn(MaskBlt(pb.dc, dest, source_dib ? &blit_source : nullptr, src,
                       mask_dib ? &mask_image : nullptr, mask_origin, rop4, xform));
}

Outcome PlayPlgBlt(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  r.Skip(16);
  std::array<QPoint, 3> dest;
  for (QPoint& p : dest) p = QPoint{r.I32(), r.I32()};
  const BlitRect src = ReadRect(r);
  const QTransform xform = ReadXform(r);
  r.U32();  // crBkColorSrc
  const BitmapFields source = ReadBitmapFields(r);
  const QPoint mask_origin{r.I32(), r.I32()};
  const BitmapFields mask = ReadBitmapFields(r);
  if (!r.ok() || !source.Present()) return Outcome::Malformed;
  if (!WithinBlitBound(pb, src)) return Outcome::Malformed;

  const auto source_dib = Decode(pb, rec, source);
  if (!source_dib) return Outcome::Malformed;
  std::optional<DecodedDib> mask_dib;
  if (mask.Present() && !(mask_dib = Decode(pb, rec, mask))) return Outcome::Malformed;
  const QImage mask_image = mask_dib ? mask_dib->Opaque() : QImage();
  return Drawn(PlgBlt(pb.dc, dest, BlitSource::From(*source_dib), src,
                      mask_dib ? &mask_image : nullptr, mask_origin, xform));
}

// EMR_ALPHABLEND and EMR_TRANSPARENTBLT share EMR_STRETCHBLT's layout; the
// operation field holds the blend function or the transparent colour.
Outcome PlayAlphaOrTransparent(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  r.Skip(16);
  const BlitRect dest = ReadRect(r);
  const std::uint32_t operation = r.U32();
  BlitRect src{r.I32(), r.I32(), 0, 0};
  const QTransform xform = ReadXform(r);
  r.U32();  // crBkColorSrc
  const BitmapFields bitmap = ReadBitmapFields(r);
  src.cx = r.I32();
  src.cy = r.I32();
  if (!r.ok() || !bitmap.Present()) return Outcome::Malformed;
  if (!WithinBlitBound(pb, src)) return Outcome::Malformed;
  const auto dib = Decode(pb, rec, bitmap);
  if (!dib) return Outcome::Malformed;
  const BlitSource source = BlitSource::From(*dib);
  if (rec.type == static_cast<std::uint32_t>(RecordType::AlphaBlend))
    return Drawn(AlphaBlend(pb.dc, dest, source, src, BlendFunction::FromDword(operation), xform));
  return Drawn(TransparentBlt(pb.dc, dest, source, src, operation, xform));
}

}  // namespace

void RegisterBitmapHandlers(HandlerTable& table) {
  table.Register(RecordType::BitBlt, PlayBitBlt);
  table.Register(RecordType::StretchBlt, PlayBitBlt);
  table.Register(RecordType::MaskBlt, PlayMaskBlt);
  table.Register(RecordType::PlgBlt, PlayPlgBlt);
  table.Register(RecordType::SetDiBitsToDevice, PlaySetDIBitsToDevice);
  table.Register(RecordType::StretchDiBits, PlayStretchDIBits);
  table.Register(RecordType::AlphaBlend, PlayAlphaOrTransparent);
  table.Register(RecordType::TransparentBlt, PlayAlphaOrTransparent);
}

}  // namespace pw::gdi
