// pagewick-capture: prints to the capture printer, fills the clipboard or
// splits a spool file, as Word and its macro would for Pagewick.
#include <charconv>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "tools/pagewick-capture/capture_commands.h"

namespace {

using namespace pw::tools;

constexpr std::string_view kUsage =
    "Usage:\n"
    "  pagewick-capture print --doc NAME [--window TITLE] [--no-start] FILE...\n"
    "      Adds a job \"Microsoft Word - NAME\" to the capture printer. FILE is one\n"
    "      EMF spool file, or any number of EMF pages, which become one spool file.\n"
    "      Writes the handshake values and starts Pagewick (not with --no-start).\n"
    "  pagewick-capture clipboard [--no-start] FILE.emf\n"
    "      Puts the EMF on the clipboard and starts Pagewick for a clipboard capture.\n"
    "  pagewick-capture split FILE.SPL DIR [--job N]\n"
    "      Writes the spool file's pages into DIR as job N's page files (N = 1).\n"
    "  pagewick-capture --help\n"
    "Exit codes:\n"
    "  0  done: the job, clipboard or every page of the spool file written whole\n"
    "  1  failed or incomplete: an input that cannot be read, a store that cannot\n"
    "     be written; for split, any page that could not be read or written or a\n"
    "     file that ends inside a record (the pages written are whole)\n"
    "  2  wrong usage\n";

int Usage(std::string_view problem) {
  std::cerr << "pagewick-capture: " << problem << "\n" << kUsage;
  return kExitUsage;
}

int Print(const std::vector<std::string>& args) {
  PrintRequest request;
  bool have_doc = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--doc" || arg == "--window") {
      if (i + 1 >= args.size()) return Usage(arg + " needs a value");
      (arg == "--doc" ? request.document : request.window_title) = args[++i];
      have_doc = have_doc || arg == "--doc";
    } else if (arg == "--no-start") {
      request.start_program = false;
    } else if (arg.starts_with("--")) {
      return Usage("unknown option " + arg);
    } else {
      request.files.push_back(arg);
    }
  }
  if (!have_doc || request.document.empty()) return Usage("print needs --doc NAME");
  if (request.files.empty()) return Usage("print needs at least one file");
  return RunPrint(request, std::cout, std::cerr);
}

int Clipboard(const std::vector<std::string>& args) {
  bool start = true;
  std::vector<std::string> files;
  for (const auto& arg : args) {
    if (arg == "--no-start") {
      start = false;
    } else if (arg.starts_with("--")) {
      return Usage("unknown option " + arg);
    } else {
      files.push_back(arg);
    }
  }
  if (files.size() != 1) return Usage("clipboard needs exactly one EMF file");
  return RunClipboard(files[0], start, std::cout, std::cerr);
}

int Split(const std::vector<std::string>& args) {
  std::uint32_t job = 1;
  std::vector<std::string> positional;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--job") {
      if (i + 1 >= args.size()) return Usage("--job needs a number");
      const std::string& text = args[++i];
      const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), job);
      if (error != std::errc() || end != text.data() + text.size() || job == 0) {
        return Usage("--job needs a positive number, not " + text);
      }
    } else if (args[i].starts_with("--")) {
      return Usage("unknown option " + args[i]);
    } else {
      positional.push_back(args[i]);
    }
  }
  if (positional.size() != 2) return Usage("split needs FILE.SPL and DIR");
  return RunSplit(positional[0], positional[1], job, std::cout, std::cerr);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Usage("no command");
  const std::string command = args.front();
  args.erase(args.begin());
  if (command == "--help" || command == "-h" || command == "help") {
    std::cout << kUsage;
    return kExitOk;
  }
  if (command == "print") return Print(args);
  if (command == "clipboard") return Clipboard(args);
  if (command == "split") return Split(args);
  return Usage("unknown command " + command);
}
