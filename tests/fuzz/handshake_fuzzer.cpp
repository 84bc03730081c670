// The handshake files the Word macro leaves: the capture file read line by
// line and the printer file's first line. A line never keeps its line end
// and never passes 259 characters.
#include <cstdint>
#include <filesystem>

#include "intake/handshake.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

void CheckLine(const std::optional<std::string>& line) {
  if (!line) pw::fuzz::Fail("a written handshake file did not open");
  if (line->size() > 259) pw::fuzz::Fail("line of " + std::to_string(line->size()) + " characters");
  if (line->find('\n') != std::string::npos) pw::fuzz::Fail("line keeps its line end");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  pw::fuzz::MakeScratchRoot();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::filesystem::path file = pw::intake::CaptureHandshakePath();
  std::filesystem::create_directories(file.parent_path());
  if (!pw::fuzz::WriteFile(file, {data, size})) pw::fuzz::Fail("cannot write the input");
  for (int line = 1; line <= 4; ++line) CheckLine(pw::intake::ReadHandshakeLine(file.string(), line));
  // The registry holds no values here, so these read the file.
  if (!pw::intake::ReadDocumentName() || pw::intake::DocumentName() != pw::intake::ReadHandshakeLine(file.string(), 1)) {
    pw::fuzz::Fail("document name is not line 1");
  }
  pw::intake::ReadWordWindowTitle();
  pw::intake::IsClipboardCapture();
  const std::string printer = pw::intake::PrinterHandshakePath();
  std::filesystem::create_directories(std::filesystem::path(printer).parent_path());
  pw::fuzz::WriteFile(printer, {data, size});
  CheckLine(pw::intake::ReadHandshakeLine(printer, 1));
  return 0;
}
