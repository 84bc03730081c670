#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "intake/spool_reader.h"
#include "platform/spooler/spool_pages.h"
#include "platform/spooler/spool_writer.h"
#include "tests/intake/intake_fixtures.h"
#include "tests/support/corpus.h"
#include "tests/support/test_home.h"

namespace pw::spooler {
namespace {

namespace fs = std::filesystem;

std::vector<std::byte> Filler(std::size_t size) { return std::vector<std::byte>(size, std::byte{0x5A}); }

std::vector<std::byte> BytesOf(std::span<const std::byte> bytes) { return {bytes.begin(), bytes.end()}; }

std::vector<int> NumbersOf(const SpoolPages& split) {
  std::vector<int> numbers;
  for (const SpoolPage& page : split.pages) numbers.push_back(page.number);
  return numbers;
}

TEST(SplitSpoolBytes, PagesComeOutInOrderWithTheirNumbersAndBytes) {
  auto broken = test::TinyEmf(2);
  broken[40] = std::byte{0};  // the signature: no metafile
  const auto spool = SpoolWriter("Microsoft Word - Report.doc", "PWK1:")
                         .AddRecord(SpoolRecordType::Devmode, Filler(220))
                         .AddPage(test::TinyEmf(1))
                         .AddRecord(SpoolRecordType::SubsetFont, Filler(5001))
                         .AddPage(broken)
                         .AddRecord(0x00012345u, {})  // a header alone
                         .AddPage(test::TinyEmf(3))
                         .Finish();
  const SpoolPages split = SplitSpoolBytes(spool);
  EXPECT_EQ(split.end, SpoolEnd::Finished);
  EXPECT_EQ(NumbersOf(split), (std::vector<int>{1, 3}));
  ASSERT_EQ(split.pages.size(), 2u);
  EXPECT_EQ(BytesOf(split.pages[0].metafile.Bytes()), test::TinyEmf(1));
  EXPECT_EQ(BytesOf(split.pages[1].metafile.Bytes()), test::TinyEmf(3));
  EXPECT_EQ(split.tally.page_records, 3);
  EXPECT_EQ(split.tally.pages_seen, 3);
  EXPECT_FALSE(split.tally.cut_off);
  EXPECT_EQ(split.Lost(), 1);
}

TEST(SplitSpoolBytes, TheEndRecordEndsThePagesAndOtherFilesGiveNone) {
  auto spool = SpoolWriter().AddPage(test::TinyEmf(1)).Finish();
  const auto more = SpoolWriter().AddPage(test::TinyEmf(2)).Finish();
  spool.insert(spool.end(), more.begin() + 16, more.end());  // a page after the end record
  EXPECT_EQ(SplitSpoolBytes(spool).pages.size(), 1u);

  for (auto other : {std::vector<std::byte>{}, test::TinyEmf(1), std::vector<std::byte>(4, std::byte{0})}) {
    const SpoolPages none = SplitSpoolBytes(other);
    EXPECT_EQ(none.end, SpoolEnd::NotSpool);
    EXPECT_TRUE(none.pages.empty());
    EXPECT_EQ(none.tally.page_records, 0);
    EXPECT_FALSE(none.tally.cut_off);
  }
}

// Cut anywhere, a file gives exactly the pages whose records it still holds
// whole, and says it was cut off whenever the cut falls inside a record.
TEST(SplitSpoolBytes, ACutFileKeepsItsWholePagesAndSaysItWasCut) {
  const auto font = Filler(300);
  SpoolWriter writer;
  std::vector<std::size_t> boundaries{writer.Finish().size() - 8};
  std::vector<std::size_t> page_ends;
  for (std::uint32_t page = 1; page <= 3; ++page) {
    writer.AddRecord(SpoolRecordType::EngineFont, font);
    boundaries.push_back(writer.Finish().size() - 8);
    writer.AddRecord(SpoolRecordType::MetafileData, test::TinyEmf(page));
    page_ends.push_back(writer.Finish().size() - 8);
    boundaries.push_back(page_ends.back());
  }
  const auto whole = writer.Finish();
  boundaries.push_back(whole.size());
  for (std::size_t cut = boundaries.front(); cut <= whole.size(); ++cut) {
    const std::vector<std::byte> part(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut));
    const SpoolPages split = SplitSpoolBytes(part);
    const auto held = static_cast<int>(std::count_if(page_ends.begin(), page_ends.end(),
                                                     [cut](std::size_t end) { return end <= cut; }));
    const bool on_boundary = std::find(boundaries.begin(), boundaries.end(), cut) != boundaries.end();
    SCOPED_TRACE("cut at " + std::to_string(cut));
    ASSERT_EQ(split.end, SpoolEnd::Finished);
    ASSERT_EQ(static_cast<int>(split.pages.size()), held);
    ASSERT_EQ(split.tally.pages_seen, held);
    ASSERT_EQ(split.tally.cut_off, !on_boundary);
    ASSERT_EQ(split.Lost(), split.tally.page_records - held);
    ASSERT_LE(split.Lost(), 1);
  }
}

TEST(SplitSpoolBytes, AHugeClaimedPageIsNeitherAllocatedNorCounted) {
  auto spool = SpoolWriter().AddPage(test::TinyEmf(1)).Finish();
  const std::size_t size_field = spool.size() - 8 - 16 - test::TinyEmf(1).size() - 4;
  for (int i = 0; i < 4; ++i) spool[size_field + i] = std::byte{0xFF};
  const SpoolPages split = SplitSpoolBytes(spool);
  EXPECT_EQ(split.end, SpoolEnd::Finished);
  EXPECT_EQ(split.tally.page_records, 1);
  EXPECT_EQ(split.tally.pages_seen, 0);
  EXPECT_EQ(split.tally.largest_page_buffer, 0u);
  EXPECT_TRUE(split.tally.cut_off);
}

TEST(LooksLikeSpoolFile, OnlyAWholeHeaderRecord) {
  const auto spool = SpoolWriter("doc").Finish();
  EXPECT_TRUE(LooksLikeSpoolFile(spool));
  EXPECT_FALSE(LooksLikeSpoolFile(std::span(spool).first(15)));
  EXPECT_FALSE(LooksLikeSpoolFile(test::TinyEmf(1)));
  auto oversized = spool;
  oversized[4] = std::byte{0xFF};  // a header larger than the file
  EXPECT_FALSE(LooksLikeSpoolFile(oversized));
}

// Damaged files read from disk a buffer at a time and read in memory give
// the same tally and the same pages.
TEST(SplitSpoolBytes, AgreesWithTheSplitIntoFilesOnDamagedFiles) {
  const auto font = Filler(3000);  // longer than the file reader's buffer
  const auto seed = SpoolWriter("Microsoft Word - Fuzz.doc")
                        .AddRecord(SpoolRecordType::Devmode, font)
                        .AddPage(test::TinyEmf(1))
                        .AddRecord(SpoolRecordType::EngineFontExt, font)
                        .AddPage(test::TinyEmf(2))
                        .AddPage(test::TinyEmf(3))
                        .Finish();
  const fs::path input = test::TempDir() / "damaged.SPL";
  std::mt19937 random(20261209);
  for (int round = 0; round < 400; ++round) {
    auto bytes = seed;
    const std::size_t at = std::uniform_int_distribution<std::size_t>(0, bytes.size() / 4 - 2)(random) * 4 + 4;
    if (round % 2 == 0) bytes[at + (random() % 4)] = static_cast<std::byte>(random() & 0xFF);
    bytes.resize(std::uniform_int_distribution<std::size_t>(0, bytes.size())(random));
    test::WriteBytes(input, bytes);
    const fs::path folder = test::TempDir() / ("pages" + std::to_string(round));
    const auto report = intake::SplitSpoolFileInto(input.string(), 7, folder.string() + "/");
    const SpoolPages split = SplitSpoolBytes(bytes);
    SCOPED_TRACE("round " + std::to_string(round));
    ASSERT_EQ(split.end == SpoolEnd::Finished, report.parsed);
    ASSERT_EQ(split.tally.page_records, report.page_records);
    ASSERT_EQ(split.tally.pages_seen, report.pages_seen);
    ASSERT_EQ(split.tally.cut_off, report.cut_off);
    ASSERT_EQ(static_cast<int>(split.pages.size()), report.pages_written);
    for (const SpoolPage& page : split.pages)
      ASSERT_EQ(test::ReadBytes(folder / intake::PageFileName(7, page.number)), BytesOf(page.metafile.Bytes()));
  }
}

// The pages in memory are the corpus' page files, byte for byte.
TEST(SplitSpoolBytesCorpus, RealSpoolFilesGiveTheirPages) {
  PW_REQUIRE_CORPUS();
  for (const auto& entry : fs::directory_iterator(*test::CorpusDir() / "spl")) {
    const std::string stem = entry.path().stem().string();
    SCOPED_TRACE(stem);
    std::vector<std::vector<std::byte>> expected;
    for (int page = 1;; ++page) {
      const fs::path path = *test::CorpusDir() / "pages" / (stem + "__p" + std::to_string(page) + ".emf");
      if (!fs::exists(path)) break;
      expected.push_back(test::ReadBytes(path));
    }
    const SpoolPages split = SplitSpoolBytes(test::ReadBytes(entry.path()));
    ASSERT_EQ(split.pages.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
      EXPECT_EQ(BytesOf(split.pages[i].metafile.Bytes()), expected[i]);
    EXPECT_FALSE(split.tally.cut_off);
    EXPECT_EQ(split.Lost(), 0);
  }
}

}  // namespace
}  // namespace pw::spooler
