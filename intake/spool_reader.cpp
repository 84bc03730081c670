#include "intake/spool_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>

#include "intake/capture_printer.h"
#include "platform/shell/process_launch.h"
#include "platform/msgbox/message_box.h"
#include "platform/spooler/spooler.h"
#include "settings/settings_store.h"
#include "settings/value_names.h"

namespace pw::intake {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kNoFile = "_";
constexpr std::size_t kNoneMaxChars = 3;
constexpr std::size_t kExtensionChars = 4;
constexpr std::string_view kNoSpoolFileQuestion = "Error SPL-file access! (0001)\nRun 'Quick Start Reference'?";

std::optional<std::int64_t> ParseWhole(const std::optional<std::string>& text) {
  if (!text || text->empty()) return std::nullopt;
  std::int64_t value = 0;
  const char* end = text->data() + text->size();
  auto [stop, error] = std::from_chars(text->data(), end, value);
  if (error != std::errc() || stop != end) return std::nullopt;
  return value;
}

// The last-write time of a file that opens; nothing otherwise.
std::optional<std::time_t> LastWriteTime(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat info {};
  const bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  ::close(fd);
  if (!ok) return std::nullopt;
  return info.st_mtim.tv_sec;
}

bool HasSpoolExtension(const fs::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == ".spl";
}

void OfferQuickStartReference() {
  const auto answer = platform::MessageBox(platform::MessageOwner::None, kNoSpoolFileQuestion,
                                           platform::kMessageCaption, platform::MessageButtons::YesNo,
                                           platform::MessageIcon::Question);
  if (answer == platform::MessageAnswer::Yes) platform::StartProgram(platform::SiblingProgramPath(), {"quick"});
}

void RecordSplitTime(const std::string& spool_file) {
  const auto written = LastWriteTime(spool_file);
  if (!written) return;
  std::tm utc{};
  if (!::gmtime_r(&*written, &utc)) return;
  settings::WriteUserDword(settings::kLastSplFileTime, SplitTimeValue(utc));
}

}  // namespace

bool JobMatchesDocument(std::string_view job_document, std::string_view expected_document_name) {
  const std::size_t n = job_document.size();
  if (n <= kExtensionChars) return true;
  const std::size_t compared = n - kExtensionChars;
  if (expected_document_name.size() < compared) return false;
  for (std::size_t i = 0; i < compared; ++i) {
    const char expected = expected_document_name[i];
    if (expected == '(' || expected == ')') continue;  // both copies hold '_' here
    if (job_document[i] != expected) return false;
  }
  return true;
}

std::int64_t SpoolStamp(const std::tm& local) {
  const std::int64_t year = local.tm_year + 1900 - 2000;
  return year * 10'000'000'000 + std::int64_t{local.tm_mon + 1} * 100'000'000 +
         std::int64_t{local.tm_mday} * 1'000'000 + std::int64_t{local.tm_hour} * 10'000 +
         std::int64_t{local.tm_min} * 100 + local.tm_sec;
}

std::int64_t CaptureThreshold() {
  const auto date = ParseWhole(settings::ReadUserString(settings::kCurSplTimeInfo1));
  const auto time = ParseWhole(settings::ReadUserString(settings::kCurSplTimeInfo2));
  if (!date || !time) return 0;
  std::int64_t threshold = 0;
  if (__builtin_mul_overflow(*date, std::int64_t{1'000'000}, &threshold) ||
      __builtin_add_overflow(threshold, *time, &threshold)) {
    return 0;
  }
  return threshold;
}

std::uint32_t SplitTimeValue(const std::tm& utc) {
  const std::int64_t year = utc.tm_year + 1900 - 2003;
  const std::int64_t seconds =
      (((((year * 12 + (utc.tm_mon + 1)) * 30 + utc.tm_mday) * 24 + utc.tm_hour) * 60 + utc.tm_min) * 60) +
      utc.tm_sec;
  return static_cast<std::uint32_t>(seconds);  // modulo 2^32
}

std::string FindCaptureSpoolFile(const std::string& spool_folder, const std::string& /*job_spool_file*/) {
  const std::int64_t threshold = CaptureThreshold();
  bool any_spool_file = false;
  std::error_code error;
  for (fs::directory_iterator it(spool_folder, error), end; !error && it != end; it.increment(error)) {
    if (!HasSpoolExtension(it->path())) continue;
    any_spool_file = true;
    const std::string path = spool_folder + it->path().filename().string();
    const auto written = LastWriteTime(path);
    if (!written) continue;
    std::tm local{};
    if (!::localtime_r(&*written, &local)) continue;
    if (SpoolStamp(local) >= threshold) return path;
  }
  if (!any_spool_file) OfferQuickStartReference();
  return std::string(kNoFile);
}

bool SplitCaptureJobs(std::string_view expected_document_name) {
  auto printer = spooler::OpenPrinter(CapturePrinterName());
  if (!printer) return false;
  auto jobs = spooler::EnumJobs(*printer);
  if (!jobs) return false;

  const std::string spool_folder = spooler::SpoolFolder();
  for (const auto& job : *jobs) {
    if (!JobMatchesDocument(job.document, expected_document_name)) continue;
    const std::string name = spooler::JobSpoolFileName(job.job_id);
    std::string spool_file = name.empty() ? std::string() : spool_folder + name;
    const std::string chosen = FindCaptureSpoolFile(spool_folder, spool_file);
    if (chosen.size() > kNoneMaxChars) {
      spool_file = chosen;
      RecordSplitTime(spool_file);
    }
    SplitSpoolFile(spool_file, job.job_id);
  }
  return true;
}

}  // namespace pw::intake
