// Damaged spool files: truncated and byte-flipped copies of a well-formed
// one must never crash the split, never make it allocate more for a page
// than the file holds, and never make it write anywhere but the work folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <regex>
#include <set>

#include "intake/spool_reader.h"
#include "platform/paths/paths.h"
#include "platform/spooler/spool_writer.h"
#include "tests/intake/intake_fixtures.h"
#include "tests/support/test_home.h"

namespace pw::intake {
namespace {

namespace fs = std::filesystem;
using spooler::SpoolRecordType;

std::vector<std::byte> SeedSpool() {
  const std::vector<std::byte> font(300, std::byte{0x11});
  return spooler::SpoolWriter("Microsoft Word - Fuzz.doc", "PWK1:")
      .AddRecord(SpoolRecordType::Devmode, font)
      .AddPage(test::TinyEmf(1))
      .AddRecord(SpoolRecordType::EngineFontExt, font)
      .AddPage(test::TinyEmf(2))
      .AddRecord(0x00012345u, {})
      .AddPage(test::TinyEmf(3))
      .Finish();
}

std::set<std::string> AllPaths(const fs::path& root) {
  std::set<std::string> paths;
  for (const auto& entry : fs::recursive_directory_iterator(root)) paths.insert(entry.path().string());
  return paths;
}

TEST(SpoolFuzz, DamagedSpoolFilesAreSplitSafely) {
  const auto seed = SeedSpool();
  const std::string work = platform::WorkFolder().value();
  const fs::path input = test::TempDir() / "fuzz.SPL";
  test::WriteBytes(input, seed);
  const auto before_home = AllPaths(test::HomeDir());
  const auto before_temp = AllPaths(test::TempDir());

  std::mt19937 random(20261208);
  const std::regex page_name("7[0-9]{4,}\\.emf");
  int pages_written = 0;
  for (int round = 0; round < 3000; ++round) {
    auto bytes = seed;
    const int flips = std::uniform_int_distribution<int>(0, 12)(random);
    for (int i = 0; i < flips; ++i) {
      const std::size_t at = std::uniform_int_distribution<std::size_t>(0, bytes.size() - 1)(random);
      bytes[at] = static_cast<std::byte>(std::uniform_int_distribution<int>(0, 255)(random));
    }
    if (round % 3 == 0) {
      // Aim at a size field: the bytes 4 to 7 of some record-aligned spot.
      const std::size_t at = std::uniform_int_distribution<std::size_t>(0, bytes.size() / 4 - 2)(random) * 4 + 4;
      for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::byte>(random() & 0xFF);
    }
    if (round % 2 == 0) bytes.resize(std::uniform_int_distribution<std::size_t>(0, bytes.size())(random));
    test::WriteBytes(input, bytes);

    const auto report = SplitSpoolFileInto(input.string(), 7, work);
    ASSERT_LE(report.largest_page_buffer, bytes.size()) << "round " << round;
    ASSERT_LE(report.pages_written, report.pages_seen);
    for (const auto& name : test::FileNames(work)) {
      ASSERT_TRUE(std::regex_match(name, page_name)) << name;
      ++pages_written;
      fs::remove(work + name);
    }
  }
  EXPECT_GT(pages_written, 0);  // the damage left some pages whole
  auto after_home = AllPaths(test::HomeDir());
  auto after_temp = AllPaths(test::TempDir());
  EXPECT_EQ(after_home, before_home);
  EXPECT_EQ(after_temp, before_temp);
}

}  // namespace
}  // namespace pw::intake
