#pragma once
// Print queues and their jobs, as the Windows print spooler keeps them:
// rows of the machine's SQLite file plus one spool file per job in the
// spool folder. Nothing here prints.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <tl/expected.hpp>

#include "platform/spooler/spooler_error.h"

namespace pw::spooler {

// The printer installed on the first start.
inline constexpr std::string_view kCapturePrinterName = "Pagewick Capture";
inline constexpr std::string_view kCapturePrinterPort = "PWK1:";
inline constexpr std::string_view kCapturePrinterDriver = "Pagewick EMF Capture";

enum class PrinterEnum : std::uint32_t { Default = 0x1, Local = 0x2, Connections = 0x4 };

// PRINTER_ATTRIBUTE_* flags.
enum class PrinterAttribute : std::uint32_t {
  Queued = 0x1,
  Direct = 0x2,
  Default = 0x4,
  Shared = 0x8,
  Network = 0x10,
  Local = 0x40,
};

constexpr std::uint32_t operator|(PrinterAttribute a, PrinterAttribute b) {
  return static_cast<std::uint32_t>(a) | static_cast<std::uint32_t>(b);
}

// SetJob commands (JOB_CONTROL_*).
enum class JobControl : std::uint32_t { Pause = 1, Resume = 2, Cancel = 3, Restart = 4, Delete = 5 };

struct JobInfo1 {
  std::uint32_t job_id = 0;
  std::string printer_name;
  std::string document;
  std::string datatype;
  std::int64_t submitted = 0;  // seconds since the epoch, UTC
};

struct PrinterInfo1 {
  std::uint32_t flags = 0;
  std::string description;
  std::string name;
  std::string comment;
};

struct PrinterInfo2 {
  std::string printer_name;
  std::string port_name;
  std::string driver_name;
  std::string datatype;
  std::uint32_t attributes = 0;
  std::int16_t print_quality = 0;  // the device mode's dmPrintQuality, dpi
};

struct PrinterInfo5 {
  std::string printer_name;
  std::string port_name;
  std::uint32_t attributes = 0;
};

// What AddPrinter installs.
struct PrinterDefinition {
  std::string name;
  std::string port;
  std::string driver;
  std::string datatype = "RAW";
  std::uint32_t attributes = PrinterAttribute::Queued | PrinterAttribute::Local;
  std::int16_t print_quality = 300;
  bool connection = false;  // a printer connection rather than a local printer
  bool is_default = false;
};

// An open printer; closing it is the destructor's job.
class Printer {
 public:
  const std::string& name() const { return name_; }

 private:
  friend tl::expected<Printer, SpoolerError> OpenPrinter(std::string_view name);
  explicit Printer(std::string name) : name_(std::move(name)) {}
  std::string name_;
};

// Fails with UnknownPrinter for a name no printer has.
tl::expected<Printer, SpoolerError> OpenPrinter(std::string_view name);

// The printer's jobs in submission order.
tl::expected<std::vector<JobInfo1>, SpoolerError> EnumJobs(const Printer& printer);

// Cancel and Delete remove the job's row and its spool file; the other
// commands are not offered by this spooler.
tl::expected<void, SpoolerError> SetJob(const Printer& printer, std::uint32_t job_id,
                                        JobControl command);

// Local printers, connections or the default printer, in installation order.
tl::expected<std::vector<PrinterInfo5>, SpoolerError> EnumPrinters(PrinterEnum which);

tl::expected<PrinterInfo1, SpoolerError> GetPrinter1(const Printer& printer);
tl::expected<PrinterInfo2, SpoolerError> GetPrinter2(const Printer& printer);
tl::expected<PrinterInfo5, SpoolerError> GetPrinter5(const Printer& printer);

tl::expected<void, SpoolerError> AddPrinter(const PrinterDefinition& definition);

// Adds a job whose spool file holds `spool_bytes`. The row and the file
// appear together or not at all.
tl::expected<std::uint32_t, SpoolerError> SubmitJob(const Printer& printer,
                                                    std::string_view document,
                                                    std::span<const std::byte> spool_bytes);

// WindowsFolder() + "SYSTEM32/spool/PRINTERS/".
std::string SpoolFolder();

// "%05d.SPL"; empty for 100000 and above, which have no name.
std::string JobSpoolFileName(std::uint32_t job_id);

}  // namespace pw::spooler
