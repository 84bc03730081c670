#include "platform/spooler/spool_pages.h"

#include <algorithm>
#include <array>
#include <new>
#include <optional>

#include "platform/io/byte_reader.h"
#include "platform/spooler/spool_records.h"

namespace pw::spooler {
namespace {

struct RecordHeader {
  std::uint32_t type = 0;
  std::uint32_t size = 0;
};

// The next record header; nothing at the end of the source. A header that
// is there only in part means the file was cut off.
std::optional<RecordHeader> ReadRecordHeader(SpoolSource& source, SpoolTally& tally) {
  std::array<std::byte, kSpoolRecordHeaderSize> raw{};
  const std::size_t got = source.Read(raw);
  if (got != raw.size()) {
    tally.cut_off = tally.cut_off || got > 0;
    return std::nullopt;
  }
  io::ByteReader reader(raw);
  const std::uint32_t type = reader.U32();
  return RecordHeader{type, reader.U32()};
}

class MemorySource final : public SpoolSource {
 public:
  explicit MemorySource(std::span<const std::byte> bytes) : reader_(bytes) {}

  std::size_t Read(std::span<std::byte> out) override {
    const auto bytes = reader_.Bytes(std::min(out.size(), reader_.remaining()));
    std::copy(bytes.begin(), bytes.end(), out.begin());
    return bytes.size();
  }
  // A skip past the end leaves the reader at the end.
  void Skip(std::uint64_t count) override { reader_.Skip(static_cast<std::size_t>(count)); }
  std::uint64_t Remaining() const override { return reader_.remaining(); }

 private:
  io::ByteReader reader_;
};

}  // namespace

SpoolWalk WalkSpoolPages(SpoolSource& source,
                         const std::function<void(int page_number, std::vector<std::byte> data)>& page) {
  SpoolWalk walk;
  SpoolTally& tally = walk.tally;
  const auto header = ReadRecordHeader(source, tally);
  if (!header || header->type != static_cast<std::uint32_t>(SpoolRecordType::Header) ||
      header->size < kSpoolRecordHeaderSize)
    return SpoolWalk{};
  walk.end = SpoolEnd::Finished;
  const std::uint64_t header_rest = header->size - kSpoolRecordHeaderSize;
  tally.cut_off = header_rest > source.Remaining();
  source.Skip(header_rest);

  for (;;) {
    const auto record = ReadRecordHeader(source, tally);
    if (!record || record->type == static_cast<std::uint32_t>(SpoolRecordType::End)) break;
    if (record->type == static_cast<std::uint32_t>(SpoolRecordType::MetafileData)) {
      ++tally.page_records;
      // A size beyond the end is a cut-off last record: its page cannot be
      // whole, so nothing is allocated for it.
      if (record->size > source.Remaining()) {
        tally.cut_off = true;
        break;
      }
      std::vector<std::byte> data;
      try {
        data.resize(record->size);
      } catch (const std::bad_alloc&) {
        walk.end = SpoolEnd::OutOfMemory;
        break;
      }
      tally.largest_page_buffer = std::max<std::uint64_t>(tally.largest_page_buffer, data.size());
      if (source.Read(data) != data.size()) {
        tally.cut_off = true;
        break;
      }
      ++tally.pages_seen;
      page(tally.pages_seen, std::move(data));
    } else if (record->type < kFirstHeaderOnlyType) {
      tally.cut_off = tally.cut_off || record->size > source.Remaining();
      source.Skip(record->size);
    }
  }
  return walk;
}

SpoolPages SplitSpoolBytes(std::span<const std::byte> bytes) {
  MemorySource source(bytes);
  return ReadSpoolPages(source);
}

SpoolPages ReadSpoolPages(SpoolSource& source) {
  SpoolPages result;
  const SpoolWalk walk = WalkSpoolPages(source, [&result](int number, std::vector<std::byte> data) {
    // The metafile keeps the bytes its header counts, as a copy of the
    // metafile to a file would.
    if (auto metafile = gdi::Metafile::FromBytes(std::move(data)))
      result.pages.push_back(SpoolPage{number, std::move(*metafile)});
  });
  result.end = walk.end;
  result.tally = walk.tally;
  return result;
}

bool LooksLikeSpoolFile(std::span<const std::byte> bytes) {
  io::ByteReader reader(bytes);
  const std::uint32_t type = reader.U32();
  const std::uint32_t size = reader.U32();
  return reader.ok() && bytes.size() >= kSpoolHeaderFixedSize &&
         type == static_cast<std::uint32_t>(SpoolRecordType::Header) && size >= kSpoolHeaderFixedSize &&
         size <= bytes.size();
}

}  // namespace pw::spooler
