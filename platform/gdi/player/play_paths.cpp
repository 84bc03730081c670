// Path records.
#include "platform/gdi/player/player_internal.h"

namespace pw::gdi {

namespace {

Outcome Applied(bool ok) { return ok ? Outcome::Played : Outcome::Malformed; }

Outcome PlayPathRecord(Playback& pb, const RecordView& rec) {
  DeviceContext& dc = pb.dc;
  switch (static_cast<RecordType>(rec.type)) {
    case RecordType::BeginPath: dc.BeginPath(); return Outcome::Played;
    case RecordType::EndPath: dc.EndPath(); return Outcome::Played;
    case RecordType::AbortPath: dc.AbortPath(); return Outcome::Played;
    case RecordType::CloseFigure: dc.CloseFigure(); return Outcome::Played;
    case RecordType::FillPath: return Applied(dc.FillPath());
    case RecordType::StrokePath: return Applied(dc.StrokePath());
    case RecordType::StrokeAndFillPath: return Applied(dc.StrokeAndFillPath());
    case RecordType::WidenPath: return Applied(dc.WidenPath());
    case RecordType::FlattenPath: return Applied(dc.FlattenPath());
    default: return Outcome::Malformed;
  }
}

Outcome PlaySelectClipPath(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  const std::int32_t mode = r.I32();
  if (!r.ok() || mode < 1 || mode > 5) return Outcome::Malformed;
  return Applied(pb.dc.SelectClipPath(static_cast<RegionMode>(mode)));
}

}  // namespace

void RegisterPathHandlers(HandlerTable& t) {
  for (RecordType type : {RecordType::BeginPath, RecordType::EndPath, RecordType::AbortPath, RecordType::CloseFigure,
                          RecordType::FillPath, RecordType::StrokePath, RecordType::StrokeAndFillPath,
                          RecordType::WidenPath, RecordType::FlattenPath})
    t.Register(type, PlayPathRecord);
  t.Register(RecordType::SelectClipPath, PlaySelectClipPath);
}

}  // namespace pw::gdi
