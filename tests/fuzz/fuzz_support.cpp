#include "tests/fuzz/fuzz_support.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>

namespace pw::fuzz {

namespace fs = std::filesystem;

fs::path MakeScratchRoot() {
  std::string pattern = (fs::temp_directory_path() / "pagewick-fuzz-XXXXXX").string();
  if (!mkdtemp(pattern.data())) Fail("cannot make a scratch folder");
  const fs::path root(pattern);
  fs::create_directories(root / "home");
  fs::create_directories(root / "tmp");
  setenv("PAGEWICK_HOME", (root / "home").c_str(), 1);
  setenv("TMPDIR", (root / "tmp").c_str(), 1);
  return root;
}

void StartHeadlessGui() {
  if (QCoreApplication::instance()) return;  // a test's application will do
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "pagewick-fuzz";
  static char* argv[] = {name, nullptr};
  // Kept to the end of the process: destroyed among the static objects at
  // exit, it would outlive parts of Qt it needs.
  std::make_unique<QGuiApplication>(argc, argv).release();
}

std::set<std::string> PathsUnder(const fs::path& root) {
  std::set<std::string> paths;
  std::error_code error;
  for (fs::recursive_directory_iterator it(root, error), end; !error && it != end; it.increment(error)) {
    paths.insert(it->path().string());
  }
  return paths;
}

bool WriteFile(const fs::path& path, std::span<const std::uint8_t> bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

void Fail(const std::string& what) {
  std::fprintf(stderr, "fuzz invariant broken: %s\n", what.c_str());
  std::abort();
}

}  // namespace pw::fuzz
