#include "platform/gdi/player/player.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "platform/gdi/player/player_internal.h"
#include "platform/gdi/dc/rounding.h"

namespace pw::gdi {

namespace {

const HandlerTable& Handlers() {
  static const HandlerTable table = [] {
    HandlerTable t;
    RegisterStateHandlers(t);
    RegisterObjectHandlers(t);
    RegisterShapeHandlers(t);
    RegisterPathHandlers(t);
    RegisterClipHandlers(t);
    RegisterBitmapHandlers(t);
    RegisterTextHandlers(t);
    return t;
  }();
  return table;
}

// Where PlayEnhMetaFile puts the picture: the frame (0.01 mm on the
// reference device) stretched onto the rectangle.
QTransform Placement(const EmfHeader& h, const RectL& rect) {
  const double frame_w = static_cast<double>(h.frame.Width());
  const double frame_h = static_cast<double>(h.frame.Height());
  if (frame_w == 0 || frame_h == 0) return {};
  // Millimetres per reference pixel; a device without a size counts as 96 dpi.
  const double mm_per_px_x = (h.device.cx > 0 && h.millimeters.cx > 0)
                                 ? static_cast<double>(h.millimeters.cx) / h.device.cx : 25.4 / 96;
  const double mm_per_px_y = (h.device.cy > 0 && h.millimeters.cy > 0)
                                 ? static_cast<double>(h.millimeters.cy) / h.device.cy : 25.4 / 96;
  const double rect_w = static_cast<double>(rect.Width());
  const double rect_h = static_cast<double>(rect.Height());
  const double sx = rect_w * 100.0 / frame_w * mm_per_px_x;
  const double sy = rect_h * 100.0 / frame_h * mm_per_px_y;
  const double dx = rect.left - rect_w / frame_w * h.frame.left;
  const double dy = rect.top - rect_h / frame_h * h.frame.top;
  return QTransform(sx, 0, 0, sy, dx, dy);
}

}  // namespace

void HandlerTable::Register(RecordType type, RecordHandler handler) {
  const auto index = static_cast<std::size_t>(type);
  if (index < kMaxType) handlers_[index] = handler;
}

RecordCounts PlayReport::Totals() const {
  RecordCounts total;
  for (const auto& [type, c] : records) {
    total.played += c.played;
    total.ignored += c.ignored;
    total.malformed += c.malformed;
    total.unhandled += c.unhandled;
  }
  return total;
}

bool WithinPointBound(Playback& pb, std::uint64_t count) {
  if (count <= static_cast<std::uint64_t>(limits::kRecordPoints.value)) return true;
  Refuse(pb, limits::kRecordPoints);
  return false;
}

std::optional<std::vector<QPoint>> ReadPoints(Playback& pb, io::ByteReader& reader, std::uint32_t count,
                                              bool sixteen_bit) {
  const std::size_t size = sixteen_bit ? 4 : 8;
  if (!WithinPointBound(pb, count) || count > reader.remaining() / size) return std::nullopt;
  std::vector<QPoint> points(count);
  for (auto& p : points) {
    if (sixteen_bit) {
      const int x = reader.I16();
      p = QPoint(x, reader.I16());
    } else {
      const int x = reader.I32();
      p = QPoint(x, reader.I32());
    }
  }
  if (!reader.ok()) return std::nullopt;
  return points;
}

std::optional<DecodedDib> DecodeRecordDib(Playback& pb, const RecordView& rec, std::uint32_t off_bmi,
                                          std::uint32_t cb_bmi, std::uint32_t off_bits, std::uint32_t cb_bits,
                                          const DibOptions& options) {
  auto dib = DecodeDibAt(rec.bytes, off_bmi, cb_bmi, off_bits, cb_bits, options);
  if (dib) return std::move(*dib);
  if (dib.error().limit)
    Refuse(pb, *dib.error().limit);
  else
    pb.report.Note("bitmap refused: " + dib.error().what);
  return std::nullopt;
}

bool PutObject(Playback& pb, std::uint32_t index, GdiObject object) {
  if (pb.objects.Put(index, std::move(object))) return true;
  if (index < kStockObjectFlag && index >= static_cast<std::uint64_t>(limits::kObjectHandles.value))
    Refuse(pb, limits::kObjectHandles);
  return false;
}

namespace {

// Unites rectangles that are not banded. Pairs are united first, then pairs
// of those, and so on, as a binary counter carries: each rectangle takes part
// in log2(n) unions instead of n, so a hostile region costs n log n, not n².
// Nothing once the union holds more rectangles than the region bound allows
// (crossing strips multiply into many more rectangles than they are).
std::optional<QRegion> UniteRects(const QVector<QRect>& rects) {
  const auto bound = static_cast<int>(limits::kRegionRects.value);
  std::vector<std::pair<QRegion, int>> stack;  // region, rank
  for (const QRect& rect : rects) {
    QRegion region(rect);
    int rank = 0;
    while (!stack.empty() && stack.back().second == rank) {
      region = stack.back().first.united(region);
      stack.pop_back();
      if (region.rectCount() > bound) return std::nullopt;
      ++rank;
    }
    stack.emplace_back(std::move(region), rank);
  }
  QRegion all;
  while (!stack.empty()) {
    all = stack.back().first.united(all);
    stack.pop_back();
    if (all.rectCount() > bound) return std::nullopt;
  }
  return all;
}

}  // namespace

std::optional<QRegion> ReadRegionData(Playback& pb, io::ByteReader& reader, std::uint32_t size) {
  constexpr std::uint32_t kHeader = 32;
  if (size < kHeader || size > reader.remaining()) return std::nullopt;
  auto data = reader.Sub(reader.offset(), size);
  reader.Skip(size);
  if (!data) return std::nullopt;
  const std::uint32_t header_size = data->U32();
  data->U32();  // RDH_RECTANGLES
  const std::uint32_t count = data->U32();
  if (header_size < kHeader || header_size > size || !data->Seek(header_size)) return std::nullopt;
  if (count > limits::kRegionRects.value) {
    Refuse(pb, limits::kRegionRects);
    return std::nullopt;
  }
  if (count > data->remaining() / 16) return std::nullopt;
  QVector<QRect> rects;
  rects.reserve(static_cast<int>(count));
  bool banded = true;
  for (std::uint32_t i = 0; i < count; ++i) {
    const RectL r = ReadRectL(*data);
    if (r.right <= r.left || r.bottom <= r.top || r.Width() > INT32_MAX || r.Height() > INT32_MAX) continue;
    const QRect rect(r.left, r.top, static_cast<int>(r.Width()), static_cast<int>(r.Height()));
    if (!rects.isEmpty()) {
      const QRect& last = rects.back();
      const bool same_band = last.top() == rect.top() && last.bottom() == rect.bottom() && last.right() < rect.left();
      if (!same_band && rect.top() <= last.bottom()) banded = false;
    }
    rects.push_back(rect);
  }
  if (!data->ok()) return std::nullopt;
  if (!banded) {
    auto united = UniteRects(rects);
    if (!united) Refuse(pb, limits::kRegionRects);
    return united;
  }
  QRegion region;
  region.setRects(rects.constData(), static_cast<int>(rects.size()));
  return region;
}

QRegion TransformRegion(const QRegion& region, const QTransform& t) {
  if (t.isIdentity()) return region;
  // Rectangles of a region may each be narrow enough and still unite into
  // one wider than an int: corners are taken in double, and device pixels
  // are clamped to where a width between them still fits an int.
  QRegion out;
  for (const QRect& r : region) {
    const QPointF a = t.map(QPointF(r.left(), r.top()));
    const QPointF b = t.map(QPointF(double(r.right()) + 1.0, double(r.bottom()) + 1.0));
    const int x1 = RoundHalfUp(std::min(a.x(), b.x()));
    const int x2 = RoundHalfUp(std::max(a.x(), b.x()));
    const int y1 = RoundHalfUp(std::min(a.y(), b.y()));
    const int y2 = RoundHalfUp(std::max(a.y(), b.y()));
    if (x2 > x1 && y2 > y1) out += QRect(x1, y1, x2 - x1, y2 - y1);
  }
  return out;
}

bool PlayMetafile(DeviceContext& dc, const Metafile& metafile, const RectL& rect, PlayReport* report_out,
                  const PlayOptions& options) {
  if (metafile.IsNull()) return false;
  PlayReport local;
  PlayReport& report = report_out ? *report_out : local;
  const EmfHeader& header = metafile.Header();

  const QTransform placement = Placement(header, rect) * dc.DeviceTransform();
  const SizeL old_pixels = dc.ReferencePixels();
  const SizeL old_mm = dc.ReferenceMillimeters();
  const int level = dc.SaveDc();

  // A fresh playback state; the caller's clip region bounds the picture.
  dc.SetTextColor(0x000000);
  dc.SetBkColor(0xFFFFFF);
  dc.SetTextAlign(0);
  dc.SetRop2(Rop2::CopyPen);
  dc.SetArcDirection(ArcDirection::CounterClockwise);
  dc.SetPolyFillMode(PolyFillMode::Alternate);
  dc.SetStretchBltMode(StretchBltMode::BlackOnWhite);
  dc.SetMetaRgn();
  dc.SetReferenceDevice(header.device, header.millimeters);
  dc.SetMapMode(MapMode::Text);
  dc.SetWindowOrg(QPoint());
  dc.SetViewportOrg(QPoint());
  dc.ModifyWorldTransform(QTransform(), WorldTransformMode::Identity);
  dc.SetBaseTransform(placement);

  Playback playback{dc, metafile, header, ObjectTable(header.handles), report, placement, level};
  const HandlerTable& table = Handlers();
  for (std::size_t i = 0; i < metafile.RecordCount(); ++i) {
    const RecordView record = metafile.Record(i);
    RecordCounts& counts = report.records[record.type];
    const bool skipped = std::find(options.skip_types.begin(), options.skip_types.end(), record.type) !=
                         options.skip_types.end();
    const RecordHandler handler = skipped ? nullptr : table.Find(record.type);
    if (!handler) {
      if (record.type == static_cast<std::uint32_t>(RecordType::Header) ||
          record.type == static_cast<std::uint32_t>(RecordType::Eof))
        ++counts.played;
      else
        ++counts.unhandled;
      continue;
    }
    switch (handler(playback, record)) {
      case Outcome::Played: ++counts.played; break;
      case Outcome::Ignored: ++counts.ignored; break;
      case Outcome::Malformed: ++counts.malformed; break;
    }
  }

  dc.RestoreDc(level);
  dc.SetReferenceDevice(old_pixels, old_mm);
  return true;
}

}  // namespace pw::gdi
