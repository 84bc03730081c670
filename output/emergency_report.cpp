#include "output/emergency_report.h"

#include "output/email_delivery.h"
#include "output/image_file.h"
#include "output/output_run.h"
#include "platform/files/file_writing.h"
#include "platform/msgbox/message_box.h"
#include "platform/paths/paths.h"
#include "platform/spooler/spooler.h"
#include "platform/sysinfo/file_attributes.h"
#include "platform/sysinfo/mail_handler.h"
#include "settings/settings_store.h"
#include "settings/value_names.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include <tl/expected.hpp>

namespace pw::output {
namespace {

constexpr std::string_view kSettingsKey = "Software\\Tavrin\\Pagewick";
constexpr std::string_view kMailClientsKey = "Software\\Clients\\Mail";

std::string Stamp(const ReportTime& t) {
  return std::to_string(t.month) + ":" + std::to_string(t.day) + ":" + std::to_string(t.year) + "  " +
         std::to_string(t.hour) + ":" + std::to_string(t.minute) + ":" + std::to_string(t.second) + ":" +
         std::to_string(t.millisecond);
}

// A text value's characters up to its first zero byte.
std::string ValueText(const registry::Value& value) {
  auto end = std::find(value.data.begin(), value.data.end(), std::uint8_t{0});
  return std::string(value.data.begin(), end);
}

bool IsText(const registry::Value& value) {
  return value.type == registry::ValueType::Sz || value.type == registry::ValueType::ExpandSz;
}

std::string RightsLine(const char* hive, KeyRights rights) {
  switch (rights) {
    case KeyRights::AllAccess: return std::string(hive) + " -> KEY_ALL_ACCESS\n";
    case KeyRights::Write: return std::string(hive) + " -> KEY_WRITE\n";
    case KeyRights::Read: return std::string(hive) + " -> KEY_READ\n";
    case KeyRights::None: break;
  }
  return std::string(hive) + " != ERROR_SUCCESS\n";
}

// One line per text or 32-bit number value, numbered by its place in the
// key; other values keep their number but get no line.
std::string ValueLines(const char* heading, const std::optional<std::vector<registry::Value>>& values) {
  std::string text = std::string(heading) + ":\n";
  if (!values) return text;
  for (std::size_t index = 0; index < values->size(); ++index) {
    const registry::Value& value = (*values)[index];
    if (value.type == registry::ValueType::Sz) {
      text += "(REG_SZ)    " + std::to_string(index) + ": " + value.name + " = " + ValueText(value) + "\n";
    } else if (const auto number = registry::DwordOf(value)) {
      text += "(REG_DWORD) " + std::to_string(index) + ": " + value.name + " = " +
              std::to_string(static_cast<std::int32_t>(*number)) + "\n";
    }
  }
  return text;
}

std::string PrinterLines(const char* heading, const std::vector<intake::InventoryEntry>& printers) {
  if (printers.empty()) return {};
  std::string text = std::string(heading) + " :\n";
  for (const intake::InventoryEntry& printer : printers)
    text += printer.name + "(" + printer.driver + ") " + printer.port + " " + printer.datatype + " " +
            std::to_string(static_cast<std::int32_t>(printer.attributes)) + "\n";
  return text;
}

// The spool folder's attribute words, in the order the report gives them.
// A folder that is not there has no valid attributes: every word is written.
std::string AttributeWords(std::optional<std::uint32_t> attributes) {
  using platform::FileAttribute;
  static constexpr std::pair<FileAttribute, const char*> kWords[] = {
      {FileAttribute::Archive, "ARCHIVE; "},
      {FileAttribute::Compressed, "COMPRESSED; "},
      {FileAttribute::Directory, "DIRECTORY; "},
      {FileAttribute::Encrypted, "ENCRYPTED; "},
      {FileAttribute::Hidden, "HIDDEN; "},
      {FileAttribute::Normal, "NORMAL; "},
      {FileAttribute::NotContentIndexed, "NOT_CONTENT_INDEXED; "},
      {FileAttribute::Offline, "OFFLINE; "},
      {FileAttribute::ReadOnly, "READONLY; "},
      {FileAttribute::ReparsePoint, "REPARSE_POINT; "},
      {FileAttribute::SparseFile, "SPARSE_FILE; "},
      {FileAttribute::System, "SYSTEM; "},
      {FileAttribute::Temporary, "TEMPORARY;"},
  };
  const std::uint32_t flags = attributes.value_or(0xFFFFFFFFu);
  std::string words;
  for (const auto& [attribute, word] : kWords)
    if (platform::HasAttribute(flags, attribute)) words += word;
  return words;
}

KeyRights RightsOf(registry::Hive hive) {
  // The store has no write-only keys: a key that can be changed can be
  // read, so KEY_WRITE is never the best a key allows.
  std::optional<registry::KeyAccess> access = registry::OpenKeyAccess(hive, kSettingsKey);
  if (!access) return KeyRights::None;
  return *access == registry::KeyAccess::ReadWrite ? KeyRights::AllAccess : KeyRights::Read;
}

std::optional<std::string> MailClient() {
  std::optional<registry::Value> value = registry::QueryValue(registry::Hive::LocalMachine, kMailClientsKey, "");
  if (!value || !IsText(*value)) return std::nullopt;
  return ValueText(*value);
}

std::string WithoutTrailingSlash(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

}  // namespace

ReportTime LocalReportTime() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  ::localtime_r(&seconds, &local);
  const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  return {local.tm_mon + 1, local.tm_mday, local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec,
          static_cast<int>(millis)};
}

std::string ComposeReport(const ReportFacts& facts) {
  std::string text;
  text += "\n";
  text += kReportBanner;
  text += Stamp(facts.started) + "\n\n";
  text += "AppDataFolder = " + facts.app_data_folder + "\n";
  text += "TmpDir        = " + facts.temp_folder + "\n";
  text += "osv = " + std::to_string(facts.os.major) + "." + std::to_string(facts.os.minor) + "." +
          std::to_string(facts.os.build) + "." + facts.os.name + "\n";
  text += "SPL-dir Attributes = " + AttributeWords(facts.spool_attributes);
  text += facts.spool_listable ? " != INVALID_HANDLE_VALUE (yes)" : " == INVALID_HANDLE_VALUE (no!)";
  text += "\n";
  text += RightsLine("HKCU", facts.user_rights);
  text += RightsLine("HKLM", facts.machine_rights);
  if (facts.mail_client) text += "DefEClient = " + *facts.mail_client + "\n";
  text += ValueLines("HKLM", facts.machine_values);
  text += ValueLines("HKCU", facts.user_values);
  text += PrinterLines("Local", facts.printers.local);
  text += PrinterLines("Net", facts.printers.connections);
  text += "\n" + Stamp(facts.finished) + "\n";
  text += kReportBanner;
  return text;
}

// What each fact is on this system:
//   AppDataFolder  the shell folders' "Local AppData" + "/Pagewick"
//   TmpDir         the private temporary folder + "Pagewick/" (the work folder)
//   osv            kernel release numbers, the distribution's name (os-release)
//   SPL-dir        the emulated spooler's folder: its attributes as
//                  FileAttributes maps them, and whether it can be listed
//   HKCU/HKLM      what the settings store allows on the settings key: all
//                  access when its file can be written, read when only read
//   DefEClient     the machine hive's "Software\Clients\Mail" default value,
//                  seeded from the desktop's mailto handler
//   values         the settings key's values in the store's order
//   printers       the spooler's printers, as the printer inventory lists them
ReportFacts GatherReportFacts(const ReportSources& sources) {
  ReportFacts facts;
  facts.started = sources.clock();
  facts.app_data_folder = settings::LocalAppDataFolder().value_or(std::string()) + "/Pagewick";
  facts.temp_folder = platform::TempFolder().value_or(std::string()) + "Pagewick/";
  facts.os = sources.os_version();
  const std::string spool = spooler::SpoolFolder();
  facts.spool_attributes = platform::FileAttributes(spool);
  facts.spool_listable = platform::FolderCanBeListed(spool);
  facts.user_rights = RightsOf(registry::Hive::CurrentUser);
  facts.machine_rights = RightsOf(registry::Hive::LocalMachine);
  facts.mail_client = MailClient();
  facts.machine_values = registry::Values(registry::Hive::LocalMachine, kSettingsKey);
  facts.user_values = registry::Values(registry::Hive::CurrentUser, kSettingsKey);
  if (sources.printers)
    intake::TakePrinterInventory(*sources.printers);
  else
    intake::TakePrinterInventory();
  facts.printers = intake::LastPrinterInventory();
  facts.finished = sources.clock();
  return facts;
}

std::string ReportStateFolder() {
  const char* state = std::getenv("XDG_STATE_HOME");
  std::string folder;
  if (state && state[0] == '/') {
    folder = state;
  } else {
    const char* home = std::getenv("HOME");
    folder = std::string(home ? home : "") + "/.local/state";
  }
  return WithoutTrailingSlash(folder) + "/pagewick/";
}

ReportOutcome RunEmergencyReport(const ReportSources& sources) {
  const std::string text = ComposeReport(GatherReportFacts(sources));

  // The install folder first; a system-wide install cannot be written by
  // its users, whose own state folder then holds the report.
  std::optional<std::string> install = settings::ReadMachineString(settings::kInstallPath);
  std::string folder;
  std::string path;
  // The report tells about the user's system, so only the user may read it;
  // it replaces an earlier one whole, and a link at its name is replaced,
  // never followed.
  auto write = [&text](const std::string& to) { return files::ReplaceFile(to, text, files::Access::Private); };
  files::WriteResult written = tl::unexpected(files::FileError{});
  if (install && !install->empty()) {
    folder = *install;
    path = WithoutTrailingSlash(folder) + "/" + kReportFileName;
    written = write(path);
  }
  if (!written) {
    const std::string state = ReportStateFolder();
    std::error_code ignored;
    std::filesystem::create_directories(state, ignored);
    folder = WithoutTrailingSlash(state);
    path = state + kReportFileName;
    written = write(path);
  }
  if (!written) {
    platform::MessageBox(platform::MessageOwner::None, WriteFailureText(path, written.error().Reason()),
                         platform::kMessageCaption, platform::MessageButtons::Ok, platform::MessageIcon::Error);
    return ReportOutcome::NotWritten;
  }

  const std::string question =
      "File 'Report.log' was saved to '" + folder + "'\nSend it to Tavrin Support?";
  if (platform::MessageBox(platform::MessageOwner::None, question, platform::kMessageCaption,
                           platform::MessageButtons::YesNo,
                           platform::MessageIcon::Question) != platform::MessageAnswer::Yes)
    return ReportOutcome::Kept;
  Run().written.Set(0, path);
  SendReport(folder);
  return ReportOutcome::Sent;
}

void SeedDefaultMailClient() {
  if (registry::KeyExists(registry::Hive::LocalMachine, kMailClientsKey)) return;
  // The key is made even without a handler, so the desktop is asked once.
  if (std::optional<std::string> handler = platform::DefaultMailHandler())
    registry::SetValue(registry::Hive::LocalMachine, kMailClientsKey,
                       {"", registry::ValueType::Sz, registry::TextData(*handler)});
  else
    registry::CreateKey(registry::Hive::LocalMachine, kMailClientsKey);
}

}  // namespace pw::output
