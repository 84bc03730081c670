#include "platform/prnsupport/pw_prn_support.h"

#include <filesystem>
#include <system_error>

#include "platform/spooler/spooler.h"

extern "C" int fnPWPrnRefresh() {
  namespace spooler = pw::spooler;
  auto printer = spooler::OpenPrinter(spooler::kCapturePrinterName);
  if (!printer) return -1;
  auto jobs = spooler::EnumJobs(*printer);
  if (!jobs) return -1;

  const std::string folder = spooler::SpoolFolder();
  int left = 0;
  for (const auto& job : *jobs) {
    const std::string name = spooler::JobSpoolFileName(job.job_id);
    std::error_code error;
    const bool has_file = !name.empty() && std::filesystem::is_regular_file(folder + name, error);
    if (!has_file && spooler::SetJob(*printer, job.job_id, spooler::JobControl::Delete)) continue;
    ++left;
  }
  return left;
}
