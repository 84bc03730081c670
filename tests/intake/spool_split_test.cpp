#include <gtest/gtest.h>

#include <filesystem>

#include "intake/spool_reader.h"
#include "platform/paths/paths.h"
#include "platform/spooler/spool_writer.h"
#include "tests/intake/intake_fixtures.h"
#include "tests/support/corpus.h"
#include "tests/support/test_home.h"

namespace pw::intake {
namespace {

namespace fs = std::filesystem;
using spooler::SpoolRecordType;
using spooler::SpoolWriter;

std::vector<std::byte> Filler(std::size_t size) { return std::vector<std::byte>(size, std::byte{0x5A}); }

std::string Work() { return platform::WorkFolder().value(); }

fs::path WriteSpool(const std::vector<std::byte>& bytes) {
  const fs::path path = test::TempDir() / "input.SPL";
  test::WriteBytes(path, bytes);
  return path;
}

TEST(SpoolSplit, PagesBetweenOtherRecordsLandInOrderUnderTheJobNumber) {
  const auto spool = SpoolWriter("Microsoft Word - Report.doc", "PWK1:")
                         .AddRecord(SpoolRecordType::Devmode, Filler(220))
                         .AddRecord(SpoolRecordType::EngineFontExt, Filler(3000))
                         .AddPage(test::TinyEmf(1))
                         .AddRecord(SpoolRecordType::SubsetFont, Filler(5001))
                         .AddPage(test::TinyEmf(2))
                         .AddRecord(SpoolRecordType::DeltaFont, Filler(17))
                         .AddPage(test::TinyEmf(3))
                         .Finish();
  ASSERT_TRUE(SplitSpoolFile(WriteSpool(spool), 5));
  EXPECT_EQ(test::FileNames(Work()), (std::vector<std::string>{"50001.emf", "50002.emf", "50003.emf"}));
  for (std::uint32_t page = 1; page <= 3; ++page) {
    EXPECT_EQ(test::ReadBytes(Work() + PageFileName(5, static_cast<int>(page))), test::TinyEmf(page));
  }
}

TEST(SpoolSplit, PageFileNamesGrowPastFourDigits) {
  EXPECT_EQ(PageFileName(12, 3), "120003.emf");
  EXPECT_EQ(PageFileName(5, 99), "50099.emf");
  EXPECT_EQ(PageFileName(5, 999), "50999.emf");
  EXPECT_EQ(PageFileName(5, 1000), "51000.emf");
  EXPECT_EQ(PageFileName(5, 10000), "510000.emf");
  EXPECT_EQ(PageFileName(51, 10000), "5110000.emf");
}

TEST(SpoolSplit, TenThousandthPageOfJob5IsNamed510000) {
  SpoolWriter writer;
  for (std::uint32_t page = 1; page <= 10000; ++page) writer.AddPage(test::TinyEmf(page));
  const fs::path folder = test::TempDir() / "pages/";
  const auto report = SplitSpoolFileInto(WriteSpool(writer.Finish()), 5, folder.string());
  EXPECT_TRUE(report.parsed);
  EXPECT_EQ(report.pages_written, 10000);
  EXPECT_EQ(test::ReadBytes(folder / "510000.emf"), test::TinyEmf(10000));
  EXPECT_EQ(test::ReadBytes(folder / "59999.emf"), test::TinyEmf(9999));
  EXPECT_EQ(test::ReadBytes(folder / "50001.emf"), test::TinyEmf(1));
  EXPECT_EQ(test::FileNames(folder).size(), 10000u);
}

TEST(SpoolSplit, RecordTypesFrom0xFFFFOnAdvanceByTheirHeaderOnly) {
  const std::size_t header = SpoolWriter().Finish().size() - 8;
  const auto page = test::TinyEmf(7);
  auto spool = SpoolWriter().AddRecord(0x00012345u, {}).AddPage(page).Finish();
  // It claims 8 bytes of body: they are the page record's header, which
  // must still be read as one.
  spool[header + 4] = std::byte{8};
  ASSERT_TRUE(SplitSpoolFile(WriteSpool(spool), 2));
  EXPECT_EQ(test::FileNames(Work()), std::vector<std::string>{"20001.emf"});
  EXPECT_EQ(test::ReadBytes(Work() + "20001.emf"), page);
}

TEST(SpoolSplit, InvalidPageWritesNothingButUsesItsNumber) {
  auto broken = test::TinyEmf(2);
  broken[40] = std::byte{0};  // signature
  const auto spool = SpoolWriter().AddPage(test::TinyEmf(1)).AddPage(broken).AddPage(test::TinyEmf(3)).Finish();
  const auto report = SplitSpoolFileInto(WriteSpool(spool).string(), 4, Work());
  EXPECT_TRUE(report.parsed);
  EXPECT_EQ(report.pages_seen, 3);
  EXPECT_EQ(report.pages_written, 2);
  EXPECT_EQ(test::FileNames(Work()), (std::vector<std::string>{"40001.emf", "40003.emf"}));
}

TEST(SpoolSplit, PageLongerThanItsMetafileIsCutToTheHeaderByteCount) {
  auto padded = test::TinyEmf(9);
  const auto exact = padded;
  padded.insert(padded.end(), 12, std::byte{0});
  ASSERT_TRUE(SplitSpoolFile(WriteSpool(SpoolWriter().AddPage(padded).Finish()), 3));
  EXPECT_EQ(test::ReadBytes(Work() + "30001.emf"), exact);
}

TEST(SpoolSplit, FileWithoutASpoolHeaderGivesNoPages) {
  auto spool = SpoolWriter().AddPage(test::TinyEmf(1)).Finish();
  spool[2] = std::byte{2};
  EXPECT_FALSE(SplitSpoolFile(WriteSpool(spool), 1));
  EXPECT_FALSE(SplitSpoolFile(WriteSpool({}), 1));
  EXPECT_TRUE(test::FileNames(Work()).empty());
}

TEST(SpoolSplit, MissingFileIsAnEmptyOne) {
  EXPECT_TRUE(SplitSpoolFile((test::TempDir() / "absent.SPL").string(), 1));
  EXPECT_TRUE(test::FileNames(Work()).empty());
}

TEST(SpoolSplit, TruncatedLastPageIsNeitherAllocatedNorWritten) {
  auto spool = SpoolWriter().AddPage(test::TinyEmf(1)).AddPage(test::TinyEmf(2)).Finish();
  spool.resize(spool.size() - 8 - 16 - 30);  // into the second page
  const auto report = SplitSpoolFileInto(WriteSpool(spool).string(), 6, Work());
  EXPECT_TRUE(report.parsed);
  EXPECT_EQ(report.pages_written, 1);
  EXPECT_EQ(test::FileNames(Work()), std::vector<std::string>{"60001.emf"});
  EXPECT_LE(report.largest_page_buffer, spool.size());
}

TEST(SpoolSplit, HugeClaimedPageSizeIsNotAllocated) {
  auto spool = SpoolWriter().AddPage(test::TinyEmf(1)).Finish();
  const std::size_t size_field = spool.size() - 8 - 16 - test::TinyEmf(1).size() - 4;
  for (int i = 0; i < 4; ++i) spool[size_field + i] = std::byte{0xFF};
  const auto report = SplitSpoolFileInto(WriteSpool(spool).string(), 6, Work());
  EXPECT_TRUE(report.parsed);
  EXPECT_EQ(report.pages_seen, 0);
  EXPECT_EQ(report.largest_page_buffer, 0u);
}

// A record claiming more than the file holds ends the split: the bytes
// after it, past the reader's first buffer, are not taken for records.
TEST(SpoolSplit, ARecordReachingPastTheEndEndsTheSplit) {
  const std::size_t header = SpoolWriter().Finish().size() - 8;
  auto spool = SpoolWriter().AddRecord(SpoolRecordType::Devmode, {}).Finish();
  spool.resize(header + 8);
  for (int i = 0; i < 4; ++i) spool[header + 4 + i] = std::byte{0x7F};  // a size past the end
  spool.resize(2048, std::byte{0});  // the page record starts the second buffer
  const auto page = SpoolWriter().AddPage(test::TinyEmf(1)).Finish();
  spool.insert(spool.end(), page.begin() + static_cast<std::ptrdiff_t>(header), page.end());
  const auto report = SplitSpoolFileInto(WriteSpool(spool).string(), 3, Work());
  EXPECT_TRUE(report.parsed);
  EXPECT_EQ(report.page_records, 0);
  EXPECT_TRUE(report.cut_off);
  EXPECT_TRUE(test::FileNames(Work()).empty());
}

TEST(SpoolSplit, ExistingPageFilesAreReplacedAndLinksNotFollowed) {
  const fs::path outside = test::TempDir() / "outside.txt";
  test::WriteText(outside, "keep");
  fs::create_directories(Work());
  fs::create_symlink(outside, Work() + "80001.emf");
  test::WriteText(Work() + "80002.emf", "old");
  const auto spool = SpoolWriter().AddPage(test::TinyEmf(1)).AddPage(test::TinyEmf(2)).Finish();
  SplitSpoolFile(WriteSpool(spool), 8);
  EXPECT_EQ(test::ReadBytes(outside).size(), 4u);
  EXPECT_EQ(test::ReadBytes(Work() + "80002.emf"), test::TinyEmf(2));
}

TEST(SpoolSplit, ALinkAtAPageNameGivesWayToThePageAndAFolderThereCostsOnlyItsPage) {
  const fs::path outside = test::TempDir() / "outside.emf";
  test::WriteText(outside, "keep");
  const fs::path folder = test::TempDir() / "pages";
  fs::create_directories(folder / "90002.emf");
  fs::create_symlink(outside, folder / "90001.emf");
  const auto spool = SpoolWriter().AddPage(test::TinyEmf(1)).AddPage(test::TinyEmf(2)).AddPage(test::TinyEmf(3)).Finish();
  const auto report = SplitSpoolFileInto(WriteSpool(spool).string(), 9, folder.string() + "/");
  EXPECT_EQ(report.pages_seen, 3);
  EXPECT_EQ(report.pages_written, 2);
  EXPECT_FALSE(fs::is_symlink(fs::symlink_status(folder / "90001.emf")));
  EXPECT_EQ(test::ReadBytes(folder / "90001.emf"), test::TinyEmf(1));
  EXPECT_EQ(test::ReadBytes(folder / "90003.emf"), test::TinyEmf(3));
  EXPECT_EQ(test::ReadBytes(outside).size(), 4u);
}

// Every EMF spool file of the corpus gives exactly its page EMFs, byte for byte.
TEST(SpoolSplitCorpus, RealSpoolFilesGiveTheirPagesByteForByte) {
  PW_REQUIRE_CORPUS();
  int spool_files = 0;
  for (const auto& entry : fs::directory_iterator(*test::CorpusDir() / "spl")) {
    const std::string stem = entry.path().stem().string();
    std::vector<fs::path> expected;
    for (int page = 1;; ++page) {
      const fs::path path = *test::CorpusDir() / "pages" / (stem + "__p" + std::to_string(page) + ".emf");
      if (!fs::exists(path)) break;
      expected.push_back(path);
    }
    const fs::path folder = test::TempDir() / stem / "";
    const auto report = SplitSpoolFileInto(entry.path().string(), 7, folder.string());
    SCOPED_TRACE(stem);
    EXPECT_EQ(report.pages_written, static_cast<int>(expected.size()));
    ASSERT_EQ(test::FileNames(folder).size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
      EXPECT_EQ(test::ReadBytes(folder / PageFileName(7, static_cast<int>(i + 1))), test::ReadBytes(expected[i]));
    }
    if (expected.empty()) {
      EXPECT_FALSE(report.parsed);  // the XPS package has no spool header
    }
    ++spool_files;
  }
  EXPECT_EQ(spool_files, 6);
}

}  // namespace
}  // namespace pw::intake
