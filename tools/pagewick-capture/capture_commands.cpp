#include "tools/pagewick-capture/capture_commands.h"

#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "intake/handshake.h"
#include "platform/shell/process_launch.h"
#include "intake/spool_reader.h"
#include "platform/clipboard/clipboard_store.h"
#include "platform/files/file_writing.h"
#include "platform/gdi/emf/metafile.h"
#include "platform/spooler/spool_pages.h"
#include "platform/spooler/spool_writer.h"
#include "platform/spooler/spooler.h"
#include "settings/settings_store.h"
#include "settings/value_names.h"

namespace pw::tools {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kWordPrefix = "Microsoft Word - ";

struct InputFile {
  std::string path;
  std::vector<std::byte> bytes;
};

std::optional<InputFile> ReadInput(const std::string& path, std::ostream& err) {
  std::error_code error;
  if (!fs::is_regular_file(path, error)) {
    err << "pagewick-capture: " << path << ": no such file\n";
    return std::nullopt;
  }
  std::ifstream in(path, std::ios::binary);
  std::vector<char> raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad() || !in.is_open()) {
    err << "pagewick-capture: " << path << ": cannot be read\n";
    return std::nullopt;
  }
  InputFile file{path, std::vector<std::byte>(raw.size())};
  for (std::size_t i = 0; i < raw.size(); ++i) file.bytes[i] = static_cast<std::byte>(raw[i]);
  return file;
}

bool IsEnhancedMetafile(const InputFile& file) {
  return gdi::Metafile::FromBytes(std::span<const std::byte>(file.bytes)).has_value();
}

// One spool file is taken as it is; EMF pages are wrapped into one.
std::optional<std::vector<std::byte>> SpoolBytesFor(const std::vector<InputFile>& inputs, const std::string& document,
                                                    std::ostream& err) {
  if (inputs.size() == 1 && spooler::LooksLikeSpoolFile(inputs[0].bytes)) return inputs[0].bytes;
  spooler::SpoolWriter writer(document, std::string(spooler::kCapturePrinterPort));
  for (const auto& input : inputs) {
    if (spooler::LooksLikeSpoolFile(input.bytes)) {
      err << "pagewick-capture: " << input.path << ": a spool file must be the only file of a capture\n";
      return std::nullopt;
    }
    if (!IsEnhancedMetafile(input)) {
      err << "pagewick-capture: " << input.path << ": not an enhanced metafile (EMF) or EMF spool file\n";
      return std::nullopt;
    }
    writer.AddPage(input.bytes);
  }
  return writer.Finish();
}

// The capture moment as the Word macro writes it: YYMMDD and hhmmss of the
// local time.
std::pair<std::string, std::string> CaptureMoment() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  char date[40], time[40];
  std::snprintf(date, sizeof date, "%02d%02d%02d", local.tm_year + 1900 - 2000, local.tm_mon + 1, local.tm_mday);
  std::snprintf(time, sizeof time, "%02d%02d%02d", local.tm_hour, local.tm_min, local.tm_sec);
  return {date, time};
}

bool WriteHandshakeFile(const std::string& path, std::string_view text) {
  std::error_code error;
  fs::create_directories(fs::path(path).parent_path(), error);
  return files::ReplaceFile(path, text).has_value();
}

int StartPagewick(bool start_program, std::ostream& err) {
  if (!start_program) return kExitOk;
  const std::string program = platform::SiblingProgramPath();
  if (platform::StartProgram(program, {})) return kExitOk;
  err << "pagewick-capture: the capture is stored, but " << program << " could not be started\n";
  return kExitFailed;
}

}  // namespace

int RunPrint(const PrintRequest& request, std::ostream& out, std::ostream& err) {
  std::vector<InputFile> inputs;
  for (const auto& path : request.files) {
    auto input = ReadInput(path, err);
    if (!input) return kExitFailed;
    inputs.push_back(std::move(*input));
  }
  const std::string job_name = std::string(kWordPrefix) + request.document;
  const auto spool = SpoolBytesFor(inputs, job_name, err);
  if (!spool) return kExitFailed;

  auto printer = spooler::OpenPrinter(spooler::kCapturePrinterName);
  if (!printer) {
    err << "pagewick-capture: printer \"" << spooler::kCapturePrinterName << "\": "
        << spooler::Describe(printer.error()) << "\n";
    return kExitFailed;
  }
  auto details = spooler::GetPrinter2(*printer);
  const std::string port = details ? details->port_name : std::string(spooler::kCapturePrinterPort);

  // The moment is taken before the spool file is written, so the file's
  // last-write time is never earlier.
  const auto [date, time] = CaptureMoment();
  auto job = spooler::SubmitJob(*printer, job_name, *spool);
  if (!job) {
    err << "pagewick-capture: the job cannot be added: " << spooler::Describe(job.error()) << "\n";
    return kExitFailed;
  }
  const std::string title = request.window_title.empty() ? job_name : request.window_title;
  const bool handshake_written =
      settings::WriteUserString(settings::kCurSplTimeInfo1, date) && settings::WriteUserString(settings::kCurSplTimeInfo2, time) &&
      settings::WriteUserString(settings::kCurDocName, request.document) &&
      settings::WriteUserString(settings::kCurWordWinName, title) &&
      settings::WriteUserString(settings::kCurWordKodClipbrd, "FALSE") &&
      WriteHandshakeFile(intake::PrinterHandshakePath(), std::string(spooler::kCapturePrinterName) + " on " + port + "\n");
  if (!handshake_written) {
    (void)spooler::SetJob(*printer, *job, spooler::JobControl::Delete);
    err << "pagewick-capture: the handshake values cannot be written; the job is withdrawn\n";
    return kExitFailed;
  }
  out << "job " << *job << ": \"" << job_name << "\" on " << spooler::kCapturePrinterName << "\n";
  return StartPagewick(request.start_program, err);
}

int RunClipboard(const std::string& file, bool start_program, std::ostream& out, std::ostream& err) {
  auto input = ReadInput(file, err);
  if (!input) return kExitFailed;
  if (!IsEnhancedMetafile(*input)) {
    err << "pagewick-capture: " << file << ": not an enhanced metafile (EMF)\n";
    return kExitFailed;
  }
  if (!clipboard::PutEnhMetafile(input->bytes)) {
    err << "pagewick-capture: the clipboard store " << clipboard::ClipboardStorePath() << " cannot be written\n";
    return kExitFailed;
  }
  if (!settings::WriteUserString(settings::kCurWordKodClipbrd, "TRUE")) {
    clipboard::EmptyClipboard();
    err << "pagewick-capture: the clipboard flag cannot be written\n";
    return kExitFailed;
  }
  out << "clipboard: " << input->bytes.size() << " bytes\n";
  return StartPagewick(start_program, err);
}

int RunSplit(const std::string& file, const std::string& folder, std::uint32_t job_id, std::ostream& out,
             std::ostream& err) {
  auto input = ReadInput(file, err);
  if (!input) return kExitFailed;
  if (!spooler::LooksLikeSpoolFile(input->bytes)) {
    err << "pagewick-capture: " << file << ": not an EMF spool file\n";
    return kExitFailed;
  }
  std::error_code error;
  fs::create_directories(folder, error);
  if (!fs::is_directory(folder, error)) {
    err << "pagewick-capture: " << folder << ": cannot make the folder\n";
    return kExitFailed;
  }
  const std::string target = folder.ends_with('/') ? folder : folder + "/";
  const auto report = intake::SplitSpoolFileInto(file, job_id, target);
  if (!report.parsed) {
    err << "pagewick-capture: " << file << ": the spool file cannot be read to its end\n";
    return kExitFailed;
  }
  out << report.pages_written << " of " << report.page_records << " page(s) written to " << target << "\n";
  if (report.cut_off)
    err << "pagewick-capture: " << file << ": the file ends inside a record; any pages after it are lost\n";
  if (report.pages_written < report.page_records)
    err << "pagewick-capture: " << report.page_records - report.pages_written
        << " page(s) could not be read or written\n";
  return report.pages_written == report.page_records && !report.cut_off ? kExitOk : kExitFailed;
}

}  // namespace pw::tools
