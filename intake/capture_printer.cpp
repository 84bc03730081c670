#include "intake/capture_printer.h"

#include <algorithm>
#include <mutex>
#include <new>

#include "intake/handshake.h"
#include "platform/msgbox/message_box.h"

namespace pw::intake {
namespace {

constexpr std::string_view kPortSeparator = " on ";

struct CaptureState {
  std::mutex mutex;
  std::string printer_name;
  std::vector<std::uint32_t> job_ids;
  PrinterInventory inventory;
};

CaptureState& State() {
  static CaptureState state;
  return state;
}

// The inventory's diagnostics: no owner, no caption, an OK button.
void ShowDiagnostic(std::string_view text) {
  platform::MessageBox(platform::MessageOwner::None, text, "", platform::MessageButtons::Ok);
}

class SpoolerDirectory : public PrinterDirectory {
 public:
  std::vector<std::string> Names(spooler::PrinterEnum kind) override {
    std::vector<std::string> names;
    if (auto printers = spooler::EnumPrinters(kind)) {
      for (auto& printer : *printers) names.push_back(std::move(printer.printer_name));
    }
    return names;
  }

  tl::expected<spooler::PrinterInfo2, Failure> Details(const std::string& name) override {
    auto printer = spooler::OpenPrinter(name);
    if (!printer) return tl::unexpected(Failure::NotOpened);
    auto info = spooler::GetPrinter2(*printer);
    if (!info) return tl::unexpected(Failure::NoSize);
    return *info;
  }
};

struct InventoryTexts {
  std::string_view not_opened;
  std::string_view no_size;
  std::string_view no_memory;
};

constexpr InventoryTexts kLocalTexts{"!bFlag || !hPrinter. Error 020010", "dwNeeded == 0. Error 020011",
                                     "!ppi2.  Error 020012"};
constexpr InventoryTexts kConnectionTexts{"!bFlag || !hPrinter. Error 020013", "dwNeeded == 0. Error 020014",
                                          "!ppi2. Error 020015"};

// Replaces the list only when the enumeration returned a printer; the
// details of a printer that cannot be read stay empty.
void FillList(PrinterDirectory& directory, spooler::PrinterEnum kind, const InventoryTexts& texts,
              std::vector<InventoryEntry>& list) {
  std::vector<std::string> names = directory.Names(kind);
  if (names.empty()) return;
  if (names.size() > kMaxInventoryPrinters) names.resize(kMaxInventoryPrinters);
  list.clear();
  for (auto& name : names) {
    InventoryEntry entry;
    entry.name = std::move(name);
    auto details = directory.Details(entry.name);
    if (details) {
      entry.port = details->port_name;
      entry.driver = details->driver_name;
      entry.datatype = details->datatype;
      entry.attributes = details->attributes;
    } else {
      switch (details.error()) {
        case PrinterDirectory::Failure::NotOpened: ShowDiagnostic(texts.not_opened); break;
        case PrinterDirectory::Failure::NoSize: ShowDiagnostic(texts.no_size); break;
        case PrinterDirectory::Failure::NoMemory: ShowDiagnostic(texts.no_memory); break;
      }
    }
    list.push_back(std::move(entry));
  }
}

}  // namespace

bool CheckCapturePrinter() {
  auto line = ReadHandshakeLine(PrinterHandshakePath(), 1);
  std::lock_guard lock(State().mutex);
  // A failed check forgets the name an earlier one found: the job clean-up
  // after this capture must not clear the queue of a printer it no longer
  // knows to be the capture printer.
  if (!line) {
    State().printer_name.clear();
    return false;
  }
  const std::size_t cut = line->find(kPortSeparator);
  if (cut != std::string::npos) line->resize(cut);
  State().printer_name = std::move(*line);
  return true;
}

std::string CapturePrinterName() {
  std::lock_guard lock(State().mutex);
  return State().printer_name;
}

bool ListCaptureJobs() {
  auto printer = spooler::OpenPrinter(CapturePrinterName());
  if (!printer) return false;
  auto jobs = spooler::EnumJobs(*printer);
  if (!jobs) return false;
  std::vector<std::uint32_t> ids;
  try {
    ids.reserve(std::min(jobs->size(), kMaxCaptureJobs));
  } catch (const std::bad_alloc&) {
    return false;
  }
  for (const auto& job : *jobs) {
    if (ids.size() == kMaxCaptureJobs) break;
    ids.push_back(job.job_id);
  }
  std::lock_guard lock(State().mutex);
  State().job_ids = std::move(ids);
  return true;
}

std::vector<std::uint32_t> CaptureJobIds() {
  std::lock_guard lock(State().mutex);
  return State().job_ids;
}

void ClearCaptureJobs() {
  if (!ListCaptureJobs()) return;
  auto printer = spooler::OpenPrinter(CapturePrinterName());
  if (!printer) return;
  for (const std::uint32_t id : CaptureJobIds()) {
    (void)spooler::SetJob(*printer, id, spooler::JobControl::Delete);  // results are not looked at
  }
}

bool TakePrinterInventory() {
  SpoolerDirectory directory;
  return TakePrinterInventory(directory);
}

bool TakePrinterInventory(PrinterDirectory& directory) {
  PrinterInventory inventory = LastPrinterInventory();
  FillList(directory, spooler::PrinterEnum::Local, kLocalTexts, inventory.local);
  FillList(directory, spooler::PrinterEnum::Connections, kConnectionTexts, inventory.connections);
  std::lock_guard lock(State().mutex);
  State().inventory = std::move(inventory);
  return true;
}

PrinterInventory LastPrinterInventory() {
  std::lock_guard lock(State().mutex);
  return State().inventory;
}

}  // namespace pw::intake
