// Spool file splitting into a private work folder: nothing may be written
// anywhere else, page files are named job + page number + ".emf", and no
// page buffer is larger than the file it came from. The split of the same
// bytes in memory finds the same records and the same pages.
#include <cstdint>
#include <filesystem>
#include <regex>
#include <span>

#include "intake/spool_reader.h"
#include "platform/spooler/spool_pages.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

namespace fs = std::filesystem;

fs::path root;
std::set<std::string> before;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  root = pw::fuzz::MakeScratchRoot();
  pw::fuzz::WriteFile(root / "in.SPL", {});
  before = pw::fuzz::PathsUnder(root);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::regex page_name("7[0-9]{4,}\\.emf");
  const fs::path input = root / "in.SPL";
  const fs::path work = root / "work";
  if (!pw::fuzz::WriteFile(input, {data, size})) pw::fuzz::Fail("cannot write the input");

  const auto report = pw::intake::SplitSpoolFileInto(input.string(), 7, work.string() + "/");
  if (report.largest_page_buffer > size) pw::fuzz::Fail("page buffer larger than the file");
  if (report.pages_written > report.pages_seen) pw::fuzz::Fail("more pages written than seen");

  int files = 0;
  for (const auto& path : pw::fuzz::PathsUnder(root)) {
    if (before.count(path)) continue;
    const fs::path p(path);
    if (p == work) continue;
    if (p.parent_path() != work || !std::regex_match(p.filename().string(), page_name)) {
      pw::fuzz::Fail("written outside the work folder: " + path);
    }
    ++files;
  }
  if (files != report.pages_written) pw::fuzz::Fail("page files and report disagree");

  const auto in_memory = pw::spooler::SplitSpoolBytes(std::as_bytes(std::span(data, size)));
  if (in_memory.tally.page_records != report.page_records || in_memory.tally.pages_seen != report.pages_seen ||
      in_memory.tally.cut_off != report.cut_off || static_cast<int>(in_memory.pages.size()) != report.pages_written)
    pw::fuzz::Fail("the split in memory and the split into files disagree");
  std::error_code error;
  fs::remove_all(work, error);
  return 0;
}
