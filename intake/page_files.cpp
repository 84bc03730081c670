#include "intake/page_files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>

#include "intake/spool_reader.h"

namespace pw::intake {
namespace {

namespace fs = std::filesystem;

// Why a file cannot be read at all, or nothing when it can.
std::optional<std::string> Unreadable(const std::string& path) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (!fs::exists(status)) return "no such file";
  if (fs::is_directory(status)) return "is a folder, not a file";
  if (!fs::is_regular_file(status)) return "not a regular file";
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return std::string("cannot be read: ") + std::strerror(errno);
  std::fclose(file);
  return std::nullopt;
}

FilePages Unusable(const std::string& path, const std::string& why) {
  FilePages result;
  result.problem = path + ": " + why;
  result.unusable = true;
  return result;
}

}  // namespace

FilePages ReadPageFile(const std::string& path) {
  if (auto why = Unreadable(path)) return Unusable(path, *why);
  auto metafile = gdi::Metafile::FromFile(path);
  if (metafile) {
    FilePages result;
    result.pages.push_back(std::move(*metafile));
    return result;
  }
  // A metafile past a bound says so rather than being tried as a spool file.
  if (metafile.error().limit) return Unusable(path, metafile.error().message);
  spooler::SpoolPages split = ReadSpoolFilePages(path);
  if (split.end == spooler::SpoolEnd::NotSpool) return Unusable(path, "neither an EMF page nor an EMF spool file");
  FilePages result;
  const int lost = std::max(0, split.Lost());
  if (lost > 0 || split.tally.cut_off || split.end == spooler::SpoolEnd::OutOfMemory) {
    result.lost = std::max(lost, 1);
    result.problem = path + ": " + std::to_string(lost) + " of " + std::to_string(split.tally.page_records) +
                     " page(s) could not be read";
    if (split.tally.cut_off) result.problem += "; the file ends inside a record, so any pages after it are lost";
    if (split.end == spooler::SpoolEnd::OutOfMemory) result.problem += "; memory ran out for a page";
  }
  for (spooler::SpoolPage& page : split.pages) result.pages.push_back(std::move(page.metafile));
  return result;
}

}  // namespace pw::intake
