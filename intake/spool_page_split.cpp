// The page split of one EMF spool file.
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <new>
#include <vector>

#include "intake/buffered_file_reader.h"
#include "intake/spool_reader.h"
#include "platform/files/file_writing.h"
#include "platform/gdi/emf/metafile.h"
#include "platform/paths/paths.h"

namespace pw::intake {
namespace {

constexpr std::uint32_t kSpoolHeader = 0x00010000;
constexpr std::uint32_t kMetafileData = 0x0000000C;   // EMRI_METAFILE_DATA
constexpr std::uint32_t kFirstHeaderOnlyType = 0xFFFF;  // from here on no body is skipped
constexpr std::size_t kRecordHeaderSize = 8;

struct RecordHeader {
  std::uint32_t type = 0;
  std::uint32_t size = 0;
};

std::optional<RecordHeader> ReadRecordHeader(BufferedFileReader& reader) {
  std::array<std::byte, kRecordHeaderSize> raw{};
  if (reader.Read(raw) != raw.size()) return std::nullopt;
  auto u32 = [&](std::size_t at) {
    return std::to_integer<std::uint32_t>(raw[at]) | std::to_integer<std::uint32_t>(raw[at + 1]) << 8 |
           std::to_integer<std::uint32_t>(raw[at + 2]) << 16 | std::to_integer<std::uint32_t>(raw[at + 3]) << 24;
  };
  return RecordHeader{u32(0), u32(4)};
}

}  // namespace

bool WritePageFile(const std::string& path, std::span<const std::byte> bytes) {
  ::unlink(path.c_str());  // a file or link, never a folder
  return files::CreateNewFile(path, bytes, files::Access::Private).has_value();
}

std::string PageFileName(std::uint32_t job_id, int page) {
  char name[32];
  std::snprintf(name, sizeof name, "%u%04d.emf", job_id, page);
  return name;
}

SplitReport SplitSpoolFileInto(const std::string& spool_file, std::uint32_t job_id, const std::string& folder) {
  SplitReport report;
  BufferedFileReader reader;
  if (!reader.Open(spool_file)) {
    report.parsed = true;  // a file that does not open is an empty one
    return report;
  }

  const auto header = ReadRecordHeader(reader);
  if (!header || header->type != kSpoolHeader || header->size < kRecordHeaderSize) return report;
  reader.Skip(header->size - kRecordHeaderSize);

  for (;;) {
    const auto record = ReadRecordHeader(reader);
    if (!record || record->type == 0 || reader.AtEnd()) break;

    if (record->type == kMetafileData) {
      // A size beyond the end of the file is a truncated last record: its
      // page cannot be whole, so nothing is allocated for it.
      if (record->size > reader.Remaining()) break;
      std::vector<std::byte> page;
      try {
        page.resize(record->size);
      } catch (const std::bad_alloc&) {
        return report;
      }
      report.largest_page_buffer = std::max<std::uint64_t>(report.largest_page_buffer, page.size());
      if (reader.Read(page) != page.size()) break;
      ++report.pages_seen;
      // The metafile keeps the bytes its header counts, as a copy of the
      // metafile to a file would.
      if (const auto metafile = gdi::Metafile::FromBytes(std::move(page))) {
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (WritePageFile(folder + PageFileName(job_id, report.pages_seen), metafile->Bytes())) {
          ++report.pages_written;
        }
      }
    } else if (record->type < kFirstHeaderOnlyType) {
      reader.Skip(record->size);
    }
  }
  report.parsed = true;
  return report;
}

bool SplitSpoolFile(const std::string& spool_file, std::uint32_t job_id) {
  const auto folder = platform::WorkFolder();
  if (!folder) return false;
  return SplitSpoolFileInto(spool_file, job_id, *folder).parsed;
}

}  // namespace pw::intake
