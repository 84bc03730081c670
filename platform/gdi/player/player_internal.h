#pragma once
// What record handlers share: the playback context and the table that maps
// record types to handlers. Each family of records registers its handlers
// from a file of its own (play_state.cpp, play_objects.cpp, ...).
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include <QPoint>
#include <QRegion>
#include <QTransform>

#include "platform/gdi/dc/device_context.h"
#include "platform/gdi/dc/dib.h"
#include "platform/gdi/dc/gdi_objects.h"
#include "platform/gdi/emf/metafile.h"
#include "platform/gdi/player/player.h"
#include "platform/limits/limits.h"

namespace pw::gdi {

enum class Outcome { Played, Ignored, Malformed };

struct Playback {
  DeviceContext& dc;
  const Metafile& metafile;
  const EmfHeader& header;
  ObjectTable objects;
  PlayReport& report;
  // Reference-device pixels → DC device pixels: the placement of the
  // picture. Regions recorded in device units (EMR_EXTSELECTCLIPRGN) go
  // through it.
  QTransform placement;
  // The DC's save level when playback began: the metafile's own SaveDC
  // levels count from here, and it cannot restore below it.
  int base_level = 0;
};

// A handler gets the whole record; Params() skips its type and size.
using RecordHandler = Outcome (*)(Playback& playback, const RecordView& record);

class HandlerTable {
 public:
  static constexpr std::size_t kMaxType = 128;
  void Register(RecordType type, RecordHandler handler);
  RecordHandler Find(std::uint32_t type) const {
    return type < kMaxType ? handlers_[type] : nullptr;
  }

 private:
  std::array<RecordHandler, kMaxType> handlers_{};
};

void RegisterStateHandlers(HandlerTable& table);
void RegisterObjectHandlers(HandlerTable& table);
void RegisterShapeHandlers(HandlerTable& table);
void RegisterPathHandlers(HandlerTable& table);
void RegisterClipHandlers(HandlerTable& table);
void RegisterBitmapHandlers(HandlerTable& table);
void RegisterTextHandlers(HandlerTable& table);

// An XFORM as a record stores it: eM11, eM12, eM21, eM22, eDx, eDy.
inline QTransform ReadXform(io::ByteReader& r) {
  const float m11 = r.F32(), m12 = r.F32(), m21 = r.F32(), m22 = r.F32(), dx = r.F32(), dy = r.F32();
  return QTransform(m11, m12, m21, m22, dx, dy);
}

// A record refused because it goes past one of the bounds on foreign
// input: the bound's message goes into the report.
inline Outcome Refuse(Playback& pb, const limits::Limit& limit) {
  pb.report.Note(std::string(limit.message));
  return Outcome::Malformed;
}

// Whether `count` points (or point counts, or vertices) of one record are
// within the bound; past it the bound is noted. Checked before allocating.
bool WithinPointBound(Playback& pb, std::uint64_t count);

// Reads `count` points of 32-bit (POINTL) or 16-bit (POINTS) coordinates;
// nothing when there are too many or the reader does not hold them.
std::optional<std::vector<QPoint>> ReadPoints(Playback& pb, io::ByteReader& reader, std::uint32_t count,
                                              bool sixteen_bit);

// Decodes a bitmap a record keeps at the given offsets and sizes; nothing,
// with a note of why, when it is refused.
std::optional<DecodedDib> DecodeRecordDib(Playback& pb, const RecordView& rec, std::uint32_t off_bmi,
                                          std::uint32_t cb_bmi, std::uint32_t off_bits, std::uint32_t cb_bits,
                                          const DibOptions& options);

// Stores an object a record created; false when the slot is not in the
// table. A slot past the bound on object tables is noted.
bool PutObject(Playback& pb, std::uint32_t index, GdiObject object);

// Reads RGNDATA of `size` bytes: the rectangles of a region as recorded.
// More rectangles than the region bound allows are refused with a note.
std::optional<QRegion> ReadRegionData(Playback& pb, io::ByteReader& reader, std::uint32_t size);

// A region's rectangles carried through a scale-and-translate transform.
QRegion TransformRegion(const QRegion& region, const QTransform& transform);

inline QPoint ToQPoint(PointL p) { return QPoint(p.x, p.y); }

}  // namespace pw::gdi
