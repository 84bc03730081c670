#pragma once
// The shared corpus of real EMF and spool files beside the checkout
// (../shared/corpus). Tests that need it skip when it is absent.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace pw::test {

// The corpus folder, or nothing when this machine has none.
std::optional<std::filesystem::path> CorpusDir();

// One row of ref/refs.tsv.
struct CorpusPage {
  std::filesystem::path emf;  // absolute
  std::filesystem::path png;  // absolute; empty unless status is ok
  double dpi = 0;
  int cols = 0;
  int rows = 0;
  bool has_text = false;
  bool has_emfplus = false;
  std::string status;
};

// Every row of ref/refs.tsv; empty without a corpus.
std::vector<CorpusPage> CorpusPages();

// Reads a whole file; empty when it cannot be read.
std::vector<unsigned char> ReadFileBytes(const std::filesystem::path& path);

}  // namespace pw::test

// Skips the current test when the corpus is absent.
#define PW_REQUIRE_CORPUS()                                              \
  do {                                                                   \
    if (!::pw::test::CorpusDir()) GTEST_SKIP() << "no shared corpus here"; \
  } while (0)
