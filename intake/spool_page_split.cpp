// The page split of one EMF spool file into page files.
#include <cstdio>
#include <filesystem>

#include "intake/buffered_file_reader.h"
#include "intake/spool_reader.h"
#include "platform/files/file_writing.h"
#include "platform/gdi/emf/metafile.h"
#include "platform/paths/paths.h"

namespace pw::intake {
namespace {

class FileSource final : public spooler::SpoolSource {
 public:
  explicit FileSource(BufferedFileReader& reader) : reader_(reader) {}
  std::size_t Read(std::span<std::byte> out) override { return reader_.Read(out); }
  void Skip(std::uint64_t count) override { reader_.Skip(count); }
  std::uint64_t Remaining() const override { return reader_.Remaining(); }

 private:
  BufferedFileReader& reader_;
};

}  // namespace

bool WritePageFile(const std::string& path, std::span<const std::byte> bytes) {
  return files::ReplaceFile(path, bytes, files::Access::Private).has_value();
}

std::string PageFileName(std::uint32_t job_id, int page) {
  char name[32];
  std::snprintf(name, sizeof name, "%u%04d.emf", job_id, page);
  return name;
}

spooler::SpoolPages ReadSpoolFilePages(const std::string& spool_file) {
  BufferedFileReader reader;
  if (!reader.Open(spool_file)) return {};
  FileSource source(reader);
  return spooler::ReadSpoolPages(source);
}

SplitReport SplitSpoolFileInto(const std::string& spool_file, std::uint32_t job_id, const std::string& folder) {
  SplitReport report;
  BufferedFileReader reader;
  if (!reader.Open(spool_file)) {
    report.parsed = true;  // a file that does not open is an empty one
    return report;
  }
  FileSource source(reader);
  const spooler::SpoolWalk walk = spooler::WalkSpoolPages(source, [&](int page_number, std::vector<std::byte> data) {
    // The metafile keeps the bytes its header counts, as a copy of the
    // metafile to a file would. Data that is no metafile writes no file.
    const auto metafile = gdi::Metafile::FromBytes(std::move(data));
    if (!metafile) return;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (WritePageFile(folder + PageFileName(job_id, page_number), metafile->Bytes())) ++report.pages_written;
  });
  static_cast<spooler::SpoolTally&>(report) = walk.tally;
  report.parsed = walk.end == spooler::SpoolEnd::Finished;
  return report;
}

bool SplitSpoolFile(const std::string& spool_file, std::uint32_t job_id) {
  const auto folder = platform::WorkFolder();
  if (!folder) return false;
  return SplitSpoolFileInto(spool_file, job_id, *folder).parsed;
}

}  // namespace pw::intake
