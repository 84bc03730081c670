// pagewick-capture as a user runs it, checked through what the capture load
// then finds: the job, the handshake and the pages.
#include <gtest/gtest.h>

#include <QProcess>
#include <QStringList>
#include <filesystem>

#include "intake/capture_printer.h"
#include "intake/handshake.h"
#include "intake/spool_reader.h"
#include "platform/clipboard/clipboard_store.h"
#include "platform/paths/paths.h"
#include "platform/spooler/spool_writer.h"
#include "platform/spooler/spooler.h"
#include "settings/settings_store.h"
#include "tests/intake/intake_fixtures.h"
#include "tests/support/corpus.h"
#include "tests/support/test_home.h"

namespace pw::intake {
namespace {

namespace fs = std::filesystem;

struct ToolRun {
  int exit_code = -1;
  std::string out;
  std::string err;
};

ToolRun RunTool(const std::vector<std::string>& args) {
  QStringList arguments;
  for (const auto& arg : args) arguments << QString::fromStdString(arg);
  QProcess process;
  process.start(QString::fromStdString((test::BuildDir() / "bin" / "pagewick-capture").string()), arguments);
  if (!process.waitForFinished(60000)) return {};
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          process.readAllStandardOutput().toStdString(), process.readAllStandardError().toStdString()};
}

std::vector<spooler::JobInfo1> CaptureJobs() {
  auto printer = spooler::OpenPrinter(spooler::kCapturePrinterName);
  return printer ? spooler::EnumJobs(*printer).value_or(std::vector<spooler::JobInfo1>{})
                 : std::vector<spooler::JobInfo1>{};
}

std::vector<fs::path> WritePages(int count) {
  std::vector<fs::path> pages;
  for (int i = 1; i <= count; ++i) {
    pages.push_back(test::TempDir() / ("page" + std::to_string(i) + ".emf"));
    test::WriteBytes(pages.back(), test::TinyEmf(static_cast<std::uint32_t>(100 + i)));
  }
  return pages;
}

TEST(CaptureTool, PrintedPagesComeBackThroughTheCaptureRoad) {
  const auto pages = WritePages(3);
  const auto run = RunTool({"print", "--doc", "Plan (v2).doc", "--no-start", pages[0], pages[1], pages[2]});
  ASSERT_EQ(run.exit_code, 0) << run.err;

  const auto jobs = CaptureJobs();
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(jobs[0].document, "Microsoft Word - Plan (v2).doc");
  EXPECT_EQ(settings::ReadUserString("CurWordKodClipbrd"), "FALSE");
  EXPECT_EQ(settings::ReadUserString("CurWordWinName"), "Microsoft Word - Plan (v2).doc");

  // What the capture load does with it.
  ASSERT_TRUE(CheckCapturePrinter());
  EXPECT_EQ(CapturePrinterName(), spooler::kCapturePrinterName);
  EXPECT_FALSE(IsClipboardCapture());
  ASSERT_TRUE(ReadDocumentName());
  const std::string spool_file = spooler::SpoolFolder() + spooler::JobSpoolFileName(jobs[0].job_id);
  EXPECT_EQ(FindCaptureSpoolFile(spooler::SpoolFolder(), spool_file), spool_file);
  ASSERT_TRUE(SplitCaptureJobs("Microsoft Word - " + DocumentName()));
  const std::string work = platform::WorkFolder().value();
  ASSERT_EQ(test::FileNames(work).size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(test::ReadBytes(work + PageFileName(jobs[0].job_id, i + 1)), test::ReadBytes(pages[i]));
  }
  ClearCaptureJobs();
  EXPECT_TRUE(CaptureJobs().empty());
  EXPECT_FALSE(fs::exists(spool_file));
}

TEST(CaptureTool, CapturesFromSeveralProcessesAtOnceEachGetTheirJob) {
  const auto pages = WritePages(1);
  const QString program = QString::fromStdString((test::BuildDir() / "bin" / "pagewick-capture").string());
  std::vector<std::unique_ptr<QProcess>> processes;
  for (int i = 0; i < 4; ++i) {
    processes.push_back(std::make_unique<QProcess>());
    processes.back()->start(program, {"print", "--doc", QString("Doc%1.doc").arg(i), "--no-start",
                                      QString::fromStdString(pages[0].string())});
  }
  for (auto& process : processes) {
    ASSERT_TRUE(process->waitForFinished(60000));
    EXPECT_EQ(process->exitCode(), 0) << process->readAllStandardError().toStdString();
  }
  const auto jobs = CaptureJobs();
  ASSERT_EQ(jobs.size(), 4u);
  for (const auto& job : jobs) {
    EXPECT_EQ(test::ReadBytes(spooler::SpoolFolder() + spooler::JobSpoolFileName(job.job_id)),
              spooler::SpoolWriter(job.document, "PWK1:").AddPage(test::ReadBytes(pages[0])).Finish());
  }
}

TEST(CaptureTool, SplitWritesThePagesUnderTheGivenJobNumber) {
  const auto pages = WritePages(2);
  const fs::path spool = test::TempDir() / "made.SPL";
  test::WriteBytes(spool, spooler::SpoolWriter().AddPage(test::ReadBytes(pages[0])).AddPage(test::ReadBytes(pages[1])).Finish());
  const fs::path out = test::TempDir() / "out";
  auto run = RunTool({"split", spool, out, "--job", "42"});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(test::FileNames(out), (std::vector<std::string>{"420001.emf", "420002.emf"}));
  EXPECT_EQ(test::ReadBytes(out / "420002.emf"), test::ReadBytes(pages[1]));

  run = RunTool({"split", spool, test::TempDir() / "one"});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(test::FileNames(test::TempDir() / "one"), (std::vector<std::string>{"10001.emf", "10002.emf"}));
}

TEST(CaptureTool, RealSpoolFilePrintedAsItIsSplitsIntoItsPages) {
  PW_REQUIRE_CORPUS();
  const fs::path spool = *test::CorpusDir() / "spl" / "emfspoolreader__EMFSpoolfileReader_00004.SPL";
  ASSERT_EQ(RunTool({"print", "--doc", "Shadow.doc", "--no-start", spool}).exit_code, 0);
  const auto jobs = CaptureJobs();
  ASSERT_EQ(jobs.size(), 1u);
  const std::string spool_file = spooler::SpoolFolder() + spooler::JobSpoolFileName(jobs[0].job_id);
  EXPECT_EQ(test::ReadBytes(spool_file), test::ReadBytes(spool));
  const fs::path out = test::TempDir() / "out";
  ASSERT_EQ(RunTool({"split", spool_file, out, "--job", "3"}).exit_code, 0);
  ASSERT_EQ(test::FileNames(out).size(), 3u);
  for (int page = 1; page <= 3; ++page) {
    const auto expected = *test::CorpusDir() / "pages" /
                          ("emfspoolreader__EMFSpoolfileReader_00004__p" + std::to_string(page) + ".emf");
    EXPECT_EQ(test::ReadBytes(out / PageFileName(3, page)), test::ReadBytes(expected));
  }
}

TEST(CaptureTool, FailedPrintLeavesNoJobAndNoSpoolFile) {
  const auto pages = WritePages(1);
  const fs::path not_emf = test::TempDir() / "notes.txt";
  test::WriteText(not_emf, "just some text, long enough to look like something at all......................");
  const fs::path spool = test::TempDir() / "made.SPL";
  test::WriteBytes(spool, spooler::SpoolWriter().AddPage(test::TinyEmf(1)).Finish());

  for (const auto& args : std::vector<std::vector<std::string>>{
           {"print", "--doc", "A.doc", "--no-start", pages[0], (test::TempDir() / "missing.emf").string()},
           {"print", "--doc", "A.doc", "--no-start", pages[0], not_emf},
           {"print", "--doc", "A.doc", "--no-start", pages[0], spool}}) {
    const auto run = RunTool(args);
    EXPECT_EQ(run.exit_code, 1) << args.back();
    EXPECT_NE(run.err.find(fs::path(args.back()).filename().string()), std::string::npos) << run.err;
  }
  EXPECT_TRUE(CaptureJobs().empty());
  EXPECT_TRUE(test::FileNames(spooler::SpoolFolder()).empty());
  EXPECT_FALSE(settings::ReadUserString("CurDocName"));
}

TEST(CaptureTool, WrongUsageExitsWithTwoAndHelpWithZero) {
  EXPECT_EQ(RunTool({}).exit_code, 2);
  EXPECT_EQ(RunTool({"print", "--no-start", "a.emf"}).exit_code, 2);
  EXPECT_EQ(RunTool({"print", "--doc", "A.doc"}).exit_code, 2);
  EXPECT_EQ(RunTool({"split", "a.SPL"}).exit_code, 2);
  EXPECT_EQ(RunTool({"split", "a.SPL", "dir", "--job", "x1"}).exit_code, 2);
  EXPECT_EQ(RunTool({"frobnicate"}).exit_code, 2);
  const auto help = RunTool({"--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_NE(help.out.find("print --doc NAME"), std::string::npos);
}

TEST(CaptureTool, SplitRefusesWhatIsNotASpoolFile) {
  const auto pages = WritePages(1);
  const auto run = RunTool({"split", pages[0], test::TempDir() / "out"});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.err.find("not an EMF spool file"), std::string::npos);
  EXPECT_EQ(RunTool({"split", (test::TempDir() / "none.SPL").string(), test::TempDir() / "out"}).exit_code, 1);
}

TEST(CaptureTool, ClipboardCaptureIsTakenOnce) {
  const auto pages = WritePages(1);
  const auto run = RunTool({"clipboard", "--no-start", pages[0]});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_TRUE(IsClipboardCapture());
  EXPECT_FALSE(IsClipboardCapture());
  EXPECT_EQ(clipboard::TakeEnhMetafile(), test::ReadBytes(pages[0]));
  EXPECT_FALSE(clipboard::ReadEnhMetafile());

  const fs::path not_emf = test::TempDir() / "notes.txt";
  test::WriteText(not_emf, "text");
  EXPECT_EQ(RunTool({"clipboard", "--no-start", not_emf}).exit_code, 1);
  EXPECT_FALSE(clipboard::ReadEnhMetafile());
  EXPECT_EQ(settings::ReadUserString("CurWordKodClipbrd"), "FALSE");
}

}  // namespace
}  // namespace pw::intake
