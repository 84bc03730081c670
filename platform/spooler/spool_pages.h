#pragma once
// Reading the pages out of an EMF spool file. One walk over the records
// serves both a file read piece by piece (the capture's split into page
// files) and bytes in memory (SplitSpoolBytes).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "platform/gdi/emf/metafile.h"

namespace pw::spooler {

// Spool file bytes read front to back. Skipped bytes need not be read.
class SpoolSource {
 public:
  virtual ~SpoolSource() = default;
  // Fills `out` as far as the source allows; returns the bytes read.
  virtual std::size_t Read(std::span<std::byte> out) = 0;
  virtual void Skip(std::uint64_t count) = 0;
  virtual std::uint64_t Remaining() const = 0;
};

enum class SpoolEnd {
  Finished,     // read to the end record or the end of the file
  NotSpool,     // the first record is not a spool header: no pages
  OutOfMemory,  // a page could not be held; the pages before it count
};

// What the file held against what could be read whole.
struct SpoolTally {
  int page_records = 0;  // page records met, a cut-off last one included
  int pages_seen = 0;    // page records whose data is all there: the page counter
  bool cut_off = false;  // the file ends inside a record, so what followed is lost
  std::uint64_t largest_page_buffer = 0;  // bytes held for one page, at most
};

struct SpoolWalk {
  SpoolEnd end = SpoolEnd::NotSpool;
  SpoolTally tally;
};

// Walks the records and hands over each whole page record's data with its
// page number (1, 2, … in spool order). Other records are skipped unread.
SpoolWalk WalkSpoolPages(SpoolSource& source,
                         const std::function<void(int page_number, std::vector<std::byte> data)>& page);

struct SpoolPage {
  int number = 0;  // the page number of the walk
  gdi::Metafile metafile;
};

struct SpoolPages {
  SpoolEnd end = SpoolEnd::NotSpool;
  SpoolTally tally;
  std::vector<SpoolPage> pages;  // the valid pages, in spool order

  // Page records that gave no page: cut off, or not a valid metafile.
  int Lost() const { return tally.page_records - static_cast<int>(pages.size()); }
};

// A spool file's pages, as validated metafiles, without touching the disk.
SpoolPages SplitSpoolBytes(std::span<const std::byte> bytes);
// The same for spool bytes read front to back (a file read piece by piece).
SpoolPages ReadSpoolPages(SpoolSource& source);

// True when the bytes begin with a whole spool header record.
bool LooksLikeSpoolFile(std::span<const std::byte> bytes);

}  // namespace pw::spooler
