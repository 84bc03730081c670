#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <thread>

#include "intake/capture_printer.h"
#include "intake/handshake.h"
#include "platform/shell/process_launch.h"
#include "intake/spool_reader.h"
#include "platform/paths/paths.h"
#include "platform/spooler/spool_writer.h"
#include "platform/spooler/spooler.h"
#include "settings/settings_store.h"
#include "tests/intake/intake_fixtures.h"
#include "tests/support/test_home.h"

namespace pw::intake {
namespace {

namespace fs = std::filesystem;

TEST(JobMatching, ExtensionIsLeftOutAndCaseCounts) {
  EXPECT_TRUE(JobMatchesDocument("Microsoft Word - Report.doc", "Microsoft Word - Report.doc"));
  EXPECT_TRUE(JobMatchesDocument("Microsoft Word - Report.doc", "Microsoft Word - Report"));
  EXPECT_FALSE(JobMatchesDocument("microsoft word - Report.doc", "Microsoft Word - Report.doc"));
  EXPECT_FALSE(JobMatchesDocument("Microsoft Word - Report.doc", "Microsoft Word - Repo"));
  EXPECT_FALSE(JobMatchesDocument("Microsoft Word - Other.doc", "Microsoft Word - Report.doc"));
  // Only the first n - 4 characters count, whatever follows in the expected name.
  EXPECT_TRUE(JobMatchesDocument("Microsoft Word - Report.doc", "Microsoft Word - Report.docx and more"));
}

TEST(JobMatching, ParenthesesOfTheExpectedNameMatchAnything) {
  EXPECT_TRUE(JobMatchesDocument("Microsoft Word - Plan (v2).doc", "Microsoft Word - Plan (v2).doc"));
  EXPECT_TRUE(JobMatchesDocument("Microsoft Word - Plan [v2].doc", "Microsoft Word - Plan (v2).doc"));
  EXPECT_TRUE(JobMatchesDocument("Microsoft Word - Plan _v2_.doc", "Microsoft Word - Plan (v2).doc"));
  EXPECT_FALSE(JobMatchesDocument("Microsoft Word - Plan [v3].doc", "Microsoft Word - Plan (v2).doc"));
  // Parentheses in the job name alone are compared as they are.
  EXPECT_FALSE(JobMatchesDocument("Microsoft Word - Plan (v2).doc", "Microsoft Word - Plan [v2].doc"));
}

TEST(JobMatching, ShortJobNamesMatchAnything) {
  EXPECT_TRUE(JobMatchesDocument("", "Microsoft Word - Report.doc"));
  EXPECT_TRUE(JobMatchesDocument("a.bc", "Microsoft Word - Report.doc"));
  EXPECT_FALSE(JobMatchesDocument("ab.cd", "Microsoft Word - Report.doc"));
  EXPECT_TRUE(JobMatchesDocument("Mi.cd", "Microsoft Word - Report.doc"));
}

TEST(SpoolStamps, StampsAndThresholdsCompareAcrossTheYearBoundary) {
  std::tm new_year{};
  new_year.tm_year = 2027 - 1900;
  new_year.tm_mon = 0;
  new_year.tm_mday = 1;
  new_year.tm_hour = 0;
  new_year.tm_min = 0;
  new_year.tm_sec = 5;
  EXPECT_EQ(SpoolStamp(new_year), 270101000005);

  ASSERT_TRUE(settings::WriteUserString("CurSPLTimeInfo1", "261231"));
  ASSERT_TRUE(settings::WriteUserString("CurSPLTimeInfo2", "235958"));
  EXPECT_EQ(CaptureThreshold(), 261231235958);
  EXPECT_GT(SpoolStamp(new_year), CaptureThreshold());
}

TEST(SpoolStamps, UnknownCaptureMomentLetsEverySpoolFileQualify) {
  EXPECT_EQ(CaptureThreshold(), 0);
  ASSERT_TRUE(settings::WriteUserString("CurSPLTimeInfo1", "261231"));
  EXPECT_EQ(CaptureThreshold(), 0);
  ASSERT_TRUE(settings::WriteUserString("CurSPLTimeInfo2", "12:30"));
  EXPECT_EQ(CaptureThreshold(), 0);
  ASSERT_TRUE(settings::WriteUserString("CurSPLTimeInfo2", "99999999999999999999"));
  EXPECT_EQ(CaptureThreshold(), 0);
  ASSERT_TRUE(settings::WriteUserString("CurSPLTimeInfo1", "9999999999999999"));
  ASSERT_TRUE(settings::WriteUserString("CurSPLTimeInfo2", "1"));
  EXPECT_EQ(CaptureThreshold(), 0);  // would overflow 64 bits
  ASSERT_TRUE(settings::WriteUserString("CurSPLTimeInfo1", "090101"));
  ASSERT_TRUE(settings::WriteUserString("CurSPLTimeInfo2", "000001"));
  EXPECT_EQ(CaptureThreshold(), 90101000001);
}

TEST(SpoolStamps, SplitTimeCountsThirtyDayMonthsFrom2003) {
  std::tm utc{};
  utc.tm_year = 2003 - 1900;
  utc.tm_mon = 0;
  utc.tm_mday = 1;
  EXPECT_EQ(SplitTimeValue(utc), ((1u * 30 + 1) * 24) * 3600);
  utc.tm_year = 2026 - 1900;
  utc.tm_mon = 11;
  utc.tm_mday = 31;
  utc.tm_hour = 23;
  utc.tm_min = 59;
  utc.tm_sec = 59;
  const std::int64_t expected = (((((23LL * 12 + 12) * 30 + 31) * 24 + 23) * 60 + 59) * 60) + 59;
  EXPECT_EQ(SplitTimeValue(utc), static_cast<std::uint32_t>(expected));
  utc.tm_year = 2200 - 1900;  // past 2^32 seconds: kept modulo 2^32
  const std::int64_t later = (((((197LL * 12 + 12) * 30 + 31) * 24 + 23) * 60 + 59) * 60) + 59;
  EXPECT_EQ(SplitTimeValue(utc), static_cast<std::uint32_t>(later % (1LL << 32)));
}

class SpoolFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_ = test::InstallScriptedHost();
    platform::SetProgramLauncher([this](const std::string& program, const std::vector<std::string>& arguments) {
      launches_.push_back({program, arguments});
      return true;
    });
    folder_ = spooler::SpoolFolder();
    fs::create_directories(folder_);
  }
  void TearDown() override { platform::SetProgramLauncher(nullptr); }

  fs::path MakeSpool(const std::string& name, int year, int month, int day, int hour, int minute, int second) {
    const fs::path path = folder_ + name;
    test::WriteBytes(path, spooler::SpoolWriter().AddPage(test::TinyEmf(1)).Finish());
    test::SetLocalWriteTime(path, year, month, day, hour, minute, second);
    return path;
  }

  void SetCaptureMoment(const char* date, const char* time) {
    ASSERT_TRUE(settings::WriteUserString("CurSPLTimeInfo1", date));
    ASSERT_TRUE(settings::WriteUserString("CurSPLTimeInfo2", time));
  }

  std::shared_ptr<platform::ScriptedMessageBoxHost> host_;
  std::vector<std::pair<std::string, std::vector<std::string>>> launches_;
  std::string folder_;
};

TEST_F(SpoolFolderTest, FirstQualifyingFileInListingOrderIsTaken) {
  SetCaptureMoment("260601", "120000");
  MakeSpool("00001.SPL", 2026, 5, 31, 23, 0, 0);  // before the capture
  MakeSpool("00002.SPL", 2026, 6, 1, 12, 0, 0);
  MakeSpool("00003.spl", 2026, 6, 2, 8, 0, 0);
  MakeSpool("00004.txt", 2026, 6, 2, 8, 0, 0);
  std::string first_qualifying;
  for (const auto& entry : fs::directory_iterator(folder_)) {
    const std::string name = entry.path().filename().string();
    if (name == "00002.SPL" || name == "00003.spl") {
      first_qualifying = folder_ + name;
      break;
    }
  }
  EXPECT_EQ(FindCaptureSpoolFile(folder_, folder_ + "00009.SPL"), first_qualifying);
  EXPECT_TRUE(host_->Texts().empty());
}

TEST_F(SpoolFolderTest, CaptureOnNewYearsEveFindsAFileOfNewYearsDay) {
  SetCaptureMoment("261231", "235959");
  const auto path = MakeSpool("00001.SPL", 2027, 1, 1, 0, 0, 1);
  EXPECT_EQ(FindCaptureSpoolFile(folder_, ""), path.string());
}

TEST_F(SpoolFolderTest, FilesOlderThanTheCaptureDoNotQualify) {
  SetCaptureMoment("270101", "000002");
  MakeSpool("00001.SPL", 2026, 12, 31, 23, 59, 59);
  EXPECT_EQ(FindCaptureSpoolFile(folder_, ""), "_");
  EXPECT_TRUE(host_->Texts().empty());
}

TEST_F(SpoolFolderTest, NoSpoolFileOffersTheQuickStartReference) {
  host_->PushAnswer(platform::MessageAnswer::No);
  host_->PushAnswer(platform::MessageAnswer::Yes);
  EXPECT_EQ(FindCaptureSpoolFile(folder_, ""), "_");
  EXPECT_TRUE(launches_.empty());
  EXPECT_EQ(FindCaptureSpoolFile(folder_, ""), "_");

  const auto requests = host_->Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].text, "Error SPL-file access! (0001)\nRun 'Quick Start Reference'?");
  EXPECT_EQ(requests[0].caption, "Tavrin Pagewick Message");
  EXPECT_EQ(requests[0].buttons, platform::MessageButtons::YesNo);
  EXPECT_EQ(requests[0].icon, platform::MessageIcon::Question);
  EXPECT_EQ(requests[0].owner, platform::MessageOwner::None);
  ASSERT_EQ(launches_.size(), 1u);
  EXPECT_EQ(fs::path(launches_[0].first).filename(), "pagewick");
  EXPECT_EQ(fs::path(launches_[0].first).parent_path(), fs::read_symlink("/proc/self/exe").parent_path());
  EXPECT_EQ(launches_[0].second, std::vector<std::string>{"quick"});
}

class CaptureSplit : public SpoolFolderTest {
 protected:
  void SetUp() override {
    SpoolFolderTest::SetUp();
    test::WriteText(PrinterHandshakePath(), "Pagewick Capture on PWK1:\n");
    ASSERT_TRUE(CheckCapturePrinter());
    SetCaptureMoment("000101", "000000");
  }

  std::uint32_t Submit(std::string_view document, std::vector<std::uint32_t> markers) {
    spooler::SpoolWriter writer(document);
    for (auto marker : markers) writer.AddPage(test::TinyEmf(marker));
    auto printer = spooler::OpenPrinter(spooler::kCapturePrinterName);
    auto job = spooler::SubmitJob(*printer, document, writer.Finish());
    EXPECT_TRUE(job);
    return job.value_or(0);
  }
};

TEST_F(CaptureSplit, OnlyMatchingJobsAreSplitAndTheSplitTimeIsRecorded) {
  const auto other = Submit("Microsoft Word - Other.doc", {5});
  test::SetLocalWriteTime(folder_ + spooler::JobSpoolFileName(other), 1999, 1, 1, 0, 0, 0);
  const auto report = Submit("Microsoft Word - Report.doc", {1, 2});
  const std::string report_file = folder_ + spooler::JobSpoolFileName(report);
  test::SetLocalWriteTime(report_file, 2026, 3, 4, 5, 6, 7);

  ASSERT_TRUE(SplitCaptureJobs("Microsoft Word - Report.doc"));
  const std::string work = platform::WorkFolder().value();
  EXPECT_EQ(test::FileNames(work), (std::vector<std::string>{PageFileName(report, 1), PageFileName(report, 2)}));
  EXPECT_EQ(test::ReadBytes(work + PageFileName(report, 2)), test::TinyEmf(2));

  struct stat info {};
  ASSERT_EQ(::stat(report_file.c_str(), &info), 0);
  const std::time_t written = info.st_mtime;
  std::tm utc{};
  ::gmtime_r(&written, &utc);
  EXPECT_EQ(static_cast<std::uint32_t>(settings::ReadUserDword("LastSplFileTime")), SplitTimeValue(utc));
}

TEST_F(CaptureSplit, TwoMatchingJobsSplitTheSameQualifyingFileTwice) {
  const auto first = Submit("Microsoft Word - Report.doc", {1, 2});
  const auto second = Submit("Microsoft Word - Report.doc", {3});
  // Only the first job's file qualifies.
  test::SetLocalWriteTime(folder_ + spooler::JobSpoolFileName(second), 1999, 1, 1, 0, 0, 0);
  SetCaptureMoment("000101", "000000");
  ASSERT_TRUE(SplitCaptureJobs("Microsoft Word - Report"));
  const std::string work = platform::WorkFolder().value();
  EXPECT_EQ(test::FileNames(work),
            (std::vector<std::string>{PageFileName(first, 1), PageFileName(first, 2), PageFileName(second, 1),
                                      PageFileName(second, 2)}));
  EXPECT_EQ(test::ReadBytes(work + PageFileName(second, 2)), test::TinyEmf(2));
}

TEST_F(CaptureSplit, WithoutAQualifyingFileTheJobsOwnFileIsSplit) {
  const auto job = Submit("Microsoft Word - Report.doc", {4});
  SetCaptureMoment("991231", "235959");
  ASSERT_TRUE(SplitCaptureJobs("Microsoft Word - Report.doc"));
  EXPECT_EQ(test::FileNames(platform::WorkFolder().value()), std::vector<std::string>{PageFileName(job, 1)});
  EXPECT_EQ(settings::ReadUserDword("LastSplFileTime"), -1);
}

TEST_F(CaptureSplit, UnknownCapturePrinterSplitsNothing) {
  Submit("Microsoft Word - Report.doc", {1});
  test::WriteText(PrinterHandshakePath(), "Elsewhere on LPT1:\n");
  ASSERT_TRUE(CheckCapturePrinter());
  EXPECT_FALSE(SplitCaptureJobs("Microsoft Word - Report.doc"));
  EXPECT_TRUE(test::FileNames(platform::WorkFolder().value()).empty());
}

TEST(ProcessLaunch, DetachedProcessRunsWithItsArguments) {
  const fs::path marker = test::TempDir() / "started";
  ASSERT_TRUE(platform::StartDetachedProcess("/bin/sh", {"-c", "echo \"$0\" > " + marker.string(), "quick"}));
  for (int i = 0; i < 500 && test::ReadBytes(marker).size() < 6; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(test::ReadBytes(marker).size(), 6u);  // "quick\n"
  EXPECT_FALSE(platform::StartDetachedProcess((test::TempDir() / "no-such-program").string(), {}));
}

}  // namespace
}  // namespace pw::intake
