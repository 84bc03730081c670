// pagewick-make-samples FOLDER: writes the Quick Start Reference pages into
// FOLDER (created when missing), replacing older pages of the same names.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <QGuiApplication>

#include "platform/files/file_writing.h"
#include "tools/make-samples/sample_pages.h"
#include "platform/paths/paths.h"

int main(int argc, char** argv) {
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::printf(
        "Usage: pagewick-make-samples FOLDER\n\n"
        "Writes the Quick Start Reference sample pages (00001.emf ...) into FOLDER,\n"
        "made when missing, replacing older pages of the same names whole.\n"
        "Exit codes: 0 every page written, 1 the folder or a page could not be\n"
        "written, 2 wrong usage.\n");
    return 0;
  }
  if (argc != 2 || argv[1][0] == '-') {
    std::fprintf(stderr, "usage: pagewick-make-samples FOLDER\n");
    return 2;
  }
  // Font metrics need the GUI library, not a display.
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  int qt_argc = 1;
  pw::platform::ProvideRuntimeFolder();
  QGuiApplication app(qt_argc, argv);

  const std::filesystem::path folder = argv[1];
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    std::fprintf(stderr, "pagewick-make-samples: cannot make %s: %s\n", folder.c_str(), error.message().c_str());
    return 1;
  }
  for (const auto& page : pw::samples::QuickStartPages()) {
    if (auto written = pw::files::ReplaceFile(folder / page.file_name, page.emf); !written) {
      std::fprintf(stderr, "pagewick-make-samples: %s\n", written.error().Message().c_str());
      return 1;
    }
  }
  return 0;
}
