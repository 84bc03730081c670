#pragma once
// The commands of pagewick-capture, the stand-in for the Word macro and the
// capture printer's driver. Each returns the program's exit code.
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace pw::tools {

enum ExitCode : int { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

struct PrintRequest {
  std::string document;         // --doc
  std::string window_title;     // --window; "Microsoft Word - " + document when empty
  bool start_program = true;    // cleared by --no-start
  std::vector<std::string> files;
};

// Adds a job for the document to the capture printer, with the files as
// its spool file (one EMF spool file as it is, EMF pages wrapped into one),
// writes the handshake and starts Pagewick.
int RunPrint(const PrintRequest& request, std::ostream& out, std::ostream& err);

// Puts the EMF on the clipboard and marks the capture as a clipboard one.
int RunClipboard(const std::string& file, bool start_program, std::ostream& out, std::ostream& err);

// Writes the spool file's pages into the folder as the capture load would.
int RunSplit(const std::string& file, const std::string& folder, std::uint32_t job_id, std::ostream& out,
             std::ostream& err);

}  // namespace pw::tools
