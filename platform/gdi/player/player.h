#pragma once
// Plays an enhanced metafile into a device context, as PlayEnhMetaFile does:
// the picture frame is mapped onto a rectangle, every record is dispatched,
// and the DC's state is as before once playback ends.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/gdi/dc/device_context.h"
#include "platform/gdi/emf/metafile.h"

namespace pw::gdi {

// How the records of one type fared.
struct RecordCounts {
  std::uint32_t played = 0;     // drawn or applied
  std::uint32_t ignored = 0;    // accepted on purpose without effect (palettes, comments, ...)
  std::uint32_t malformed = 0;  // skipped: a length, count, index or value did not hold
  std::uint32_t unhandled = 0;  // skipped: no handler for the type
};

struct PlayReport {
  std::map<std::uint32_t, RecordCounts> records;  // by record type
  // Other things a reader of the report should know, counted by text
  // (for example a font face that had to be replaced).
  std::map<std::string, std::uint32_t> notes;

  void Note(const std::string& text) { ++notes[text]; }
  RecordCounts Totals() const;
};

struct PlayOptions {
  // Record types passed over as if there were no handler for them (for
  // comparisons with players that drop them).
  std::vector<std::uint32_t> skip_types;
};

// Plays `metafile` into `dc` so that its frame fills `rect` (logical
// coordinates of the DC, right and bottom exclusive). Returns false for an
// empty metafile. `report`, when given, receives the record counts.
bool PlayMetafile(DeviceContext& dc, const Metafile& metafile, const RectL& rect, PlayReport* report = nullptr,
                  const PlayOptions& options = {});

}  // namespace pw::gdi
