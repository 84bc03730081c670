#pragma once
// The capture printer: which print queue Word printed to, that queue's
// jobs, and the inventory of all printers for the emergency report.
#include <cstdint>
#include <string>
#include <vector>

#include <tl/expected.hpp>

#include "platform/spooler/spooler.h"

namespace pw::intake {

inline constexpr std::size_t kMaxCaptureJobs = 10000;
inline constexpr std::size_t kMaxInventoryPrinters = 1000;

// Fills the capture printer name from the printer handshake file: its first
// line up to the first " on " (the whole line when it has none). Without
// the file there is no capture printer; the user's default printer is never
// taken, so a capture never clears the jobs of an unrelated queue. As no
// default printer is taken, the run-time printer resolution of the settings
// record keeps its value. A failed check leaves the name empty.
bool CheckCapturePrinter();

// Empty until CheckCapturePrinter has found a name.
std::string CapturePrinterName();

// Fills the job table (at most 10000 identifiers) from the capture
// printer's queue; false when the printer does not open or cannot be listed.
bool ListCaptureJobs();
std::vector<std::uint32_t> CaptureJobIds();

// Removes every job of the capture printer.
void ClearCaptureJobs();

struct InventoryEntry {
  std::string name;
  std::string port;
  std::string driver;
  std::string datatype;
  std::uint32_t attributes = 0;
};

struct PrinterInventory {
  std::vector<InventoryEntry> local;
  std::vector<InventoryEntry> connections;
};

// The printers as the inventory sees them. The spooler's own directory is
// used unless a test supplies another.
class PrinterDirectory {
 public:
  enum class Failure { NotOpened, NoSize, NoMemory };
  virtual ~PrinterDirectory() = default;
  virtual std::vector<std::string> Names(spooler::PrinterEnum kind) = 0;
  virtual tl::expected<spooler::PrinterInfo2, Failure> Details(const std::string& name) = 0;
};

// Fills both inventory lists (a list is replaced only when its enumeration
// returns a printer); shows one message per printer whose details cannot be
// read. Always true.
bool TakePrinterInventory();
bool TakePrinterInventory(PrinterDirectory& directory);
PrinterInventory LastPrinterInventory();

}  // namespace pw::intake
