// Replays saved fuzz inputs through the fuzz target they were found with:
// tests/data/fuzz-regressions/<target>/ (inputs that once crashed or broke
// an invariant) and tests/fuzz/seeds/<target>/. A broken invariant aborts,
// so the test fails until the fault is mended.
#include <gtest/gtest.h>

#include "tests/support/test_home.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> SavedInputs() {
  const fs::path source = pw::test::SourceDir();
  std::vector<fs::path> files;
  for (const char* folder : {"tests/data/fuzz-regressions/", "tests/fuzz/seeds/"}) {
    const fs::path dir = source / folder / PW_FUZZ_TARGET;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(dir, error)) {
      if (entry.is_regular_file()) files.push_back(entry.path());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

TEST(FuzzRegression, SavedInputsReplayWithoutFault) {
  const auto files = SavedInputs();
  if (files.empty()) GTEST_SKIP() << "no saved inputs for " << PW_FUZZ_TARGET;
  LLVMFuzzerInitialize(nullptr, nullptr);
  for (const auto& file : files) {
    SCOPED_TRACE(file.string());
    std::ifstream in(file, std::ios::binary);
    ASSERT_TRUE(in) << "cannot read";
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(LLVMFuzzerTestOneInput(bytes.data(), bytes.size()), 0);
  }
}

}  // namespace
