#include "intake/handshake.h"

#include <fstream>
#include <mutex>

#include "platform/paths/paths.h"
#include "settings/settings_store.h"
#include "settings/value_names.h"

namespace pw::intake {
namespace {

constexpr std::size_t kMaxLineChars = 259;
constexpr std::size_t kMinKnownFolderChars = 4;

// The kept texts are read on the capture load thread and on the
// user-interface thread.
struct KeptTexts {
  std::mutex mutex;
  std::string document_name;
  std::string word_window_title;
};

KeptTexts& Kept() {
  static KeptTexts kept;
  return kept;
}

std::optional<std::string> KnownLocalAppData() {
  auto folder = settings::LocalAppDataFolder();
  if (!folder || folder->size() < kMinKnownFolderChars) return std::nullopt;
  return folder;
}

// The registry value, else the given line of the capture handshake file.
std::optional<std::string> ReadHandshakeValue(std::string_view value_name, int line_number) {
  if (auto value = settings::ReadUserString(value_name)) return value;
  return ReadHandshakeLine(CaptureHandshakePath(), line_number);
}

bool Keep(std::string KeptTexts::*field, std::optional<std::string> value) {
  if (!value) return false;
  std::lock_guard lock(Kept().mutex);
  Kept().*field = std::move(*value);
  return true;
}

// Reads one line, keeping at most `keep` characters and skipping the rest;
// false at the end of the file, as std::getline.
bool ReadBoundedLine(std::istream& in, std::string& line, std::size_t keep) {
  line.clear();
  bool extracted = false;
  for (int c = in.get(); c != std::char_traits<char>::eof(); c = in.get()) {
    extracted = true;
    if (c == '\n') return true;
    if (line.size() < keep) line.push_back(static_cast<char>(c));
  }
  return extracted;
}

}  // namespace

std::optional<std::string> ReadHandshakeLine(const std::string& path, int line_number) {
  std::ifstream in(path);
  if (!in) return std::nullopt;
  std::string line;
  for (int i = 0; i < line_number; ++i) {
    // One character more than a line may keep, so a final '\r' can still
    // be told from a long line; a huge line costs no memory.
    if (!ReadBoundedLine(in, line, kMaxLineChars + 1)) return std::string();
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line.size() > kMaxLineChars) line.resize(kMaxLineChars);
  return line;
}

std::string CaptureHandshakePath() {
  if (auto folder = KnownLocalAppData()) {
    const std::string path = *folder + "/" + std::string(kCaptureHandshakeFile);
    if (std::ifstream(path)) return path;
  }
  return platform::MachineRootFolder() + std::string(kCaptureHandshakeFile);
}

std::string PrinterHandshakePath() {
  if (auto folder = KnownLocalAppData()) return *folder + "/Pagewick/" + std::string(kPrinterHandshakeFile);
  return platform::MachineRootFolder() + std::string(kPrinterHandshakeFile);
}

bool ReadDocumentName() { return Keep(&KeptTexts::document_name, ReadHandshakeValue(settings::kCurDocName, 1)); }

bool ReadWordWindowTitle() {
  return Keep(&KeptTexts::word_window_title, ReadHandshakeValue(settings::kCurWordWinName, 2));
}

namespace {

bool ReadClipboardFlag(bool reset) {
  if (auto value = settings::ReadUserString(settings::kCurWordKodClipbrd)) {
    if (reset) settings::WriteUserString(settings::kCurWordKodClipbrd, "FALSE");
    return *value == "TRUE";
  }
  return ReadHandshakeLine(CaptureHandshakePath(), 3) == std::optional<std::string>("TRUE");
}

}  // namespace

bool IsClipboardCapture() { return ReadClipboardFlag(true); }

bool PeekClipboardCapture() { return ReadClipboardFlag(false); }

std::string DocumentName() {
  std::lock_guard lock(Kept().mutex);
  return Kept().document_name;
}

void SetDocumentName(std::string name) { Keep(&KeptTexts::document_name, std::move(name)); }

std::string WordWindowTitle() {
  std::lock_guard lock(Kept().mutex);
  return Kept().word_window_title;
}

}  // namespace pw::intake
