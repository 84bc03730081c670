#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

#include "intake/capture_load.h"
#include "intake/capture_printer.h"
#include "intake/handshake.h"
#include "pages/page_set.h"
#include "platform/shell/process_launch.h"
#include "intake/spool_reader.h"
#include "platform/clipboard/clipboard_store.h"
#include "platform/limits/limits.h"
#include "platform/msgbox/scripted_message_box.h"
#include "platform/paths/paths.h"
#include "platform/registry/registry.h"
#include "platform/spooler/spool_writer.h"
#include "platform/spooler/spooler.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"
#include "tests/load/load_fixtures.h"
#include "tests/support/corpus.h"
#include "tests/support/test_home.h"
#include "tools/make-samples/sample_pages.h"

namespace pw::intake {
namespace {

namespace fs = std::filesystem;
using test::RecordingView;
using Target = RecordingView::Invalidation::Target;

void WriteFile(const fs::path& path, std::span<const std::byte> bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

class CaptureLoad : public ::testing::Test {
 protected:
  void SetUp() override {
    test::ResetPageSet();
    host_ = std::make_shared<platform::ScriptedMessageBoxHost>();
    platform::SetMessageBoxHost(host_);
    platform::SetProgramLauncher([this](const std::string&, const std::vector<std::string>&) {
      ++launches_;
      return true;
    });
    settings::Update([](settings::Settings& s) {
      s.QuickStartReference = false;
      s.DisplayResolution = 96;
    });
    work_ = platform::WorkFolder().value();
  }
  void TearDown() override {
    platform::SetProgramLauncher(nullptr);
    test::ResetPageSet();
  }

  // The capture printer as the Word macro leaves it: the printer handshake
  // file, the document name and a capture moment every spool file passes.
  void PrepareHandshake(const std::string& document) {
    const std::string text = "Pagewick Capture on PWK1:\n";
    WriteFile(PrinterHandshakePath(), std::as_bytes(std::span(text.data(), text.size())));
    ASSERT_TRUE(settings::WriteUserString("CurDocName", document));
    ASSERT_TRUE(settings::WriteUserString("CurWordKodClipbrd", "FALSE"));
    ASSERT_TRUE(settings::WriteUserString("CurSPLTimeInfo1", "000101"));
    ASSERT_TRUE(settings::WriteUserString("CurSPLTimeInfo2", "000000"));
  }

  std::uint32_t Submit(const std::string& document, std::span<const std::byte> spool) {
    auto printer = spooler::OpenPrinter(spooler::kCapturePrinterName);
    EXPECT_TRUE(printer);
    auto job = spooler::SubmitJob(*printer, document, spool);
    EXPECT_TRUE(job);
    return job.value_or(0);
  }

  std::vector<spooler::JobInfo1> CaptureJobs() {
    auto printer = spooler::OpenPrinter(spooler::kCapturePrinterName);
    return spooler::EnumJobs(*printer).value_or(std::vector<spooler::JobInfo1>{});
  }

  void Load() { LoadCapture(CaptureLoadOptions{&view_, nullptr, {}, {}}); }

  std::vector<std::string> LoadedNames() {
    std::vector<std::string> names;
    for (int i = 0; i < pages::Pages().Count(); ++i) names.push_back(pages::Pages().Record(i).file_name);
    return names;
  }

  // Every counted thumbnail sits where the strip expects it: centred, the
  // first below a 140-pixel cell, each next one 24 pixels below the last.
  void ExpectThumbnailChain() {
    const pages::PageSet& pages = pages::Pages();
    for (int i = 0; i < pages.Count(); ++i) {
      const pages::PageRecord& r = pages.Record(i);
      ASSERT_GT(r.thumb_width, 0) << i;
      EXPECT_EQ(std::max(r.thumb_width, r.thumb_height), 130) << i;
      EXPECT_EQ(r.thumbnail.width(), r.thumb_width);
      EXPECT_EQ(r.thumbnail.height(), r.thumb_height);
      EXPECT_EQ(r.thumbnail.format(), QImage::Format_RGB32);
      EXPECT_EQ(r.thumb_x, (view_.strip.right - r.thumb_width - view_.strip.left) / 2) << i;
      if (i == 0) {
        EXPECT_EQ(r.thumb_y, (140 - r.thumb_height) / 2 + view_.strip.top + 5);
      } else {
        const pages::PageRecord& before = pages.Record(i - 1);
        EXPECT_EQ(r.thumb_y, before.thumb_y + before.thumb_height + 24) << i;
      }
    }
  }

  std::shared_ptr<platform::ScriptedMessageBoxHost> host_;
  RecordingView view_;
  std::string work_;
  int launches_ = 0;
};

TEST_F(CaptureLoad, PrinterCaptureLoadsEveryPageAndLeavesNothingBehind) {
  view_.strip = {0, 10, 170, 600};
  PrepareHandshake("Report.doc");
  const auto portrait = test::PlainPageEmf(210, 297);
  const auto landscape = test::PlainPageEmf(297, 210);
  const auto letter = test::PlainPageEmf(216, 279);
  const auto job = Submit("Microsoft Word - Report.doc",
                          spooler::SpoolWriter("Report.doc").AddPage(portrait).AddPage(landscape).AddPage(letter).Finish());
  // A job of another document is cleared with the capture but not loaded.
  const auto other = Submit("Microsoft Word - Other.doc", spooler::SpoolWriter().AddPage(portrait).Finish());
  fs::last_write_time(spooler::SpoolFolder() + spooler::JobSpoolFileName(other),
                      fs::file_time_type::clock::now() - std::chrono::hours(24 * 365 * 30));

  Load();

  const pages::PageSet& pages = pages::Pages();
  ASSERT_EQ(pages.Count(), 3);
  EXPECT_EQ(LoadedNames(),
            (std::vector<std::string>{PageFileName(job, 1), PageFileName(job, 2), PageFileName(job, 3)}));
  EXPECT_EQ(pages.Record(0).metafile.Bytes().size(), portrait.size());
  EXPECT_EQ(pages.Current(), 0);
  EXPECT_EQ(pages.State(), pages::RenderingState::Ready);
  ExpectThumbnailChain();
  // Landscape pages are as wide as portrait ones are high.
  EXPECT_LT(pages.Record(0).thumb_width, pages.Record(0).thumb_height);
  EXPECT_EQ(pages.Record(1).thumb_width, 130);
  EXPECT_LT(pages.Record(1).thumb_height, 130);

  // The first page rendered at the current resolution (custom, 80 dpi).
  const Magick::Image current = pages.CurrentImage();
  EXPECT_EQ(current.columns(), static_cast<std::size_t>(std::ceil(210 / 25.4 * 80)));
  EXPECT_EQ(current.rows(), static_cast<std::size_t>(std::ceil(297 / 25.4 * 80)));

  EXPECT_EQ(view_.ScrollRanges(), (std::vector<std::pair<int, int>>{{0, 10}, {0, 20}, {0, 30}}));
  int strip_areas = 0;
  int page_views = 0;
  for (const auto& inv : view_.Invalidations()) {
    if (inv.target == Target::Strip) {
      const pages::PageRecord& r = pages.Record(strip_areas++);
      EXPECT_EQ(inv.area, (ViewRect{r.thumb_x, r.thumb_y, r.thumb_x + r.thumb_width, r.thumb_y + r.thumb_height + 24}));
      EXPECT_TRUE(inv.erase);
    } else if (inv.target == Target::Frame) {
      EXPECT_EQ(inv.area, (ViewRect{50, 675, 800, 696}));
      EXPECT_TRUE(inv.erase);
    } else if (inv.target == Target::PageView) {
      ++page_views;
      EXPECT_FALSE(inv.erase);
    }
  }
  EXPECT_EQ(strip_areas, 3);
  EXPECT_EQ(page_views, 1);

  EXPECT_TRUE(test::PageFilesIn(work_).empty());
  EXPECT_TRUE(CaptureJobs().empty());
  EXPECT_TRUE(test::FilesIn(spooler::SpoolFolder()).empty());
  EXPECT_EQ(pages.DisplayResolution(), 97);
  EXPECT_EQ(settings::Snapshot().DisplayResolution, 97);
  EXPECT_TRUE(host_->Texts().empty());
  EXPECT_EQ(launches_, 0);
}

TEST_F(CaptureLoad, CorpusSpoolPrintedByTheCaptureHelperGivesOnePagePerSpooledPage) {
  PW_REQUIRE_CORPUS();
  const fs::path helper = test::BuildDir() / "bin" / "pagewick-capture";
  if (!fs::exists(helper)) GTEST_SKIP() << "pagewick-capture is not built";
  // The corpus spool file with the most pages, by its extracted pages.
  std::map<std::string, int> page_counts;
  for (const auto& entry : fs::directory_iterator(*test::CorpusDir() / "pages")) {
    const std::string name = entry.path().filename().string();
    page_counts[name.substr(0, name.rfind("__p"))]++;
  }
  ASSERT_FALSE(page_counts.empty());
  const auto most = std::max_element(page_counts.begin(), page_counts.end(),
                                     [](const auto& a, const auto& b) { return a.second < b.second; });
  ASSERT_GT(most->second, 1);
  const fs::path spool = *test::CorpusDir() / "spl" / (most->first + ".SPL");
  const std::string command =
      "'" + helper.string() + "' print --doc Corpus.doc --no-start '" + spool.string() + "' >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  const auto jobs = CaptureJobs();
  ASSERT_EQ(jobs.size(), 1u);
  const std::uint32_t job = jobs.front().job_id;

  Load();

  ASSERT_EQ(pages::Pages().Count(), most->second);
  for (int i = 0; i < most->second; ++i) {
    EXPECT_EQ(pages::Pages().Record(i).file_name, PageFileName(job, i + 1));
    EXPECT_EQ(pages::Pages().Record(i).metafile.Bytes().size(),
              fs::file_size(*test::CorpusDir() / "pages" / (most->first + "__p" + std::to_string(i + 1) + ".emf")));
  }
  ExpectThumbnailChain();
  EXPECT_EQ(pages::Pages().Current(), 0);
  EXPECT_EQ(pages::Pages().Record(0).file_name, PageFileName(job, 1));
  EXPECT_TRUE(test::PageFilesIn(work_).empty());
  EXPECT_TRUE(CaptureJobs().empty());
  EXPECT_TRUE(host_->Texts().empty());
}

TEST_F(CaptureLoad, ClipboardPageIsLoadedAndTheClipboardConsumed) {
  const auto page = test::PlainPageEmf(210, 297);
  ASSERT_TRUE(clipboard::PutEnhMetafile(page));
  ASSERT_TRUE(settings::WriteUserString("CurWordKodClipbrd", "TRUE"));
  // A printer capture waiting in the queue is not this capture.
  PrepareHandshake("Report.doc");
  ASSERT_TRUE(settings::WriteUserString("CurWordKodClipbrd", "TRUE"));
  Submit("Microsoft Word - Report.doc", spooler::SpoolWriter().AddPage(page).Finish());

  Load();

  ASSERT_EQ(pages::Pages().Count(), 1);
  EXPECT_EQ(pages::Pages().Record(0).file_name, "0001.emf");
  EXPECT_EQ(pages::Pages().Record(0).metafile.Bytes().size(), page.size());
  EXPECT_EQ(pages::Pages().Current(), 0);
  ExpectThumbnailChain();
  EXPECT_FALSE(clipboard::ReadEnhMetafile());
  EXPECT_TRUE(test::PageFilesIn(work_).empty());
  EXPECT_EQ(CaptureJobs().size(), 1u);
  EXPECT_TRUE(host_->Texts().empty());
}

TEST_F(CaptureLoad, DesktopClipboardComesFirstAndTheStoreIsConsumedAnyway) {
  const auto desktop = test::PlainPageEmf(210, 297);
  const auto stored = test::PlainPageEmf(50, 50);
  ASSERT_NE(desktop.size(), 0u);
  ASSERT_TRUE(clipboard::PutEnhMetafile(stored));
  ASSERT_TRUE(settings::WriteUserString("CurWordKodClipbrd", "TRUE"));
  CaptureLoadOptions options{&view_, nullptr, {}, {}};
  options.input.desktop_clipboard = desktop;

  LoadCapture(options);

  ASSERT_EQ(pages::Pages().Count(), 1);
  EXPECT_EQ(pages::Pages().Record(0).file_name, "0001.emf");
  const auto bytes = pages::Pages().Record(0).metafile.Bytes();
  EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), desktop.begin(), desktop.end()));
  EXPECT_FALSE(clipboard::ReadEnhMetafile());
  EXPECT_TRUE(test::PageFilesIn(work_).empty());
  EXPECT_TRUE(host_->Texts().empty());
}

TEST_F(CaptureLoad, DesktopClipboardPastTheBoundIsToldAndTheStoreNotTaken) {
  ASSERT_TRUE(clipboard::PutEnhMetafile(test::PlainPageEmf(50, 50)));
  ASSERT_TRUE(settings::WriteUserString("CurWordKodClipbrd", "TRUE"));
  CaptureLoadOptions options{&view_, nullptr, {}, {}};
  options.input.desktop_clipboard = tl::unexpected(clipboard::ClipboardProblem::TooLarge);

  LoadCapture(options);

  EXPECT_EQ(host_->Texts(), std::vector<std::string>{std::string(limits::kMetafileBytes.message)});
  EXPECT_EQ(pages::Pages().Count(), 0);
  EXPECT_FALSE(clipboard::ReadEnhMetafile());
}

TEST_F(CaptureLoad, DesktopClipboardIsNotTakenForAPrinterCapture) {
  PrepareHandshake("Report.doc");
  CaptureLoadOptions options{&view_, nullptr, {}, {}};
  options.input.desktop_clipboard = test::PlainPageEmf(210, 297);

  LoadCapture(options);

  EXPECT_EQ(pages::Pages().Count(), 0);
  EXPECT_TRUE(test::PageFilesIn(work_).empty());
}

TEST_F(CaptureLoad, NamedFilesAreTheCaptureAndEveryUsablePageLoads) {
  const fs::path folder = test::TempDir() / "files";
  const auto single = test::PlainPageEmf(210, 297);
  const auto first = test::PlainPageEmf(100, 150);
  const auto second = test::PlainPageEmf(150, 100);
  WriteFile(folder / "a.emf", single);
  WriteFile(folder / "b.SPL", spooler::SpoolWriter("b").AddPage(first).AddPage(second).Finish());
  WriteFile(folder / "junk.emf", std::vector<std::byte>(64, std::byte{0x5A}));
  // A clipboard capture and a printed one are waiting; neither is taken.
  PrepareHandshake("Report.doc");
  Submit("Microsoft Word - Report.doc", spooler::SpoolWriter().AddPage(single).Finish());
  ASSERT_TRUE(settings::WriteUserString("CurWordKodClipbrd", "TRUE"));
  ASSERT_TRUE(clipboard::PutEnhMetafile(single));
  CaptureLoadOptions options{&view_, nullptr, {}, {}};
  options.input.files = {(folder / "missing.emf").string(), (folder / "a.emf").string(),
                         (folder / "junk.emf").string(), (folder / "b.SPL").string()};

  LoadCapture(options);

  EXPECT_EQ(LoadedNames(), (std::vector<std::string>{"0001.emf", "0002.emf", "0003.emf"}));
  const std::vector<std::byte>* expected[] = {&single, &first, &second};
  for (int i = 0; i < 3 && i < pages::Pages().Count(); ++i) {
    const auto bytes = pages::Pages().Record(i).metafile.Bytes();
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), expected[i]->begin(), expected[i]->end())) << i;
  }
  EXPECT_EQ(pages::Pages().Current(), 0);
  ExpectThumbnailChain();
  EXPECT_EQ(DocumentName(), "a.emf");
  // One message names both files that gave nothing, and says why.
  ASSERT_EQ(host_->Texts().size(), 1u);
  const std::string told = host_->Texts()[0];
  EXPECT_NE(told.find((folder / "missing.emf").string() + ": no such file"), std::string::npos) << told;
  EXPECT_NE(told.find((folder / "junk.emf").string() + ": neither an EMF page nor an EMF spool file"),
            std::string::npos) << told;
  EXPECT_EQ(told.find("b.SPL"), std::string::npos) << told;
  // The user's files stay; the other captures are still waiting.
  EXPECT_TRUE(fs::exists(folder / "a.emf") && fs::exists(folder / "b.SPL") && fs::exists(folder / "junk.emf"));
  EXPECT_EQ(settings::ReadUserString("CurWordKodClipbrd"), "TRUE");
  EXPECT_TRUE(clipboard::ReadEnhMetafile());
  EXPECT_EQ(CaptureJobs().size(), 1u);
}

TEST_F(CaptureLoad, SpoolFileCutShortGivesItsWholePagesAndSaysSo) {
  const fs::path folder = test::TempDir() / "files";
  const auto second = test::PlainPageEmf(150, 100);
  auto spool = spooler::SpoolWriter("b").AddPage(test::PlainPageEmf(100, 150)).AddPage(second).Finish();
  // The file ends halfway through the second page.
  spool.resize(spool.size() - (second.size() / 2 + 40));
  WriteFile(folder / "cut.SPL", spool);
  CaptureLoadOptions options{&view_, nullptr, {}, {}};
  options.input.files = {(folder / "cut.SPL").string()};

  LoadCapture(options);

  EXPECT_EQ(pages::Pages().Count(), 1);
  ASSERT_EQ(host_->Texts().size(), 1u);
  EXPECT_NE(host_->Texts()[0].find("1 of 2 page(s) could not be read"), std::string::npos) << host_->Texts()[0];
}

TEST_F(CaptureLoad, EmptyClipboardIsReportedAndLoadsNothing) {
  ASSERT_TRUE(settings::WriteUserString("CurWordKodClipbrd", "TRUE"));
  // A page file left from an earlier capture is not taken for this one.
  WriteFile(work_ + "0001.emf", test::PlainPageEmf(100, 100));

  Load();

  EXPECT_EQ(host_->Texts(), std::vector<std::string>{"No data in Clipboard!"});
  EXPECT_EQ(pages::Pages().Count(), 0);
  EXPECT_EQ(pages::Pages().Current(), -1);
  EXPECT_FALSE(clipboard::ReadEnhMetafile());
}

TEST_F(CaptureLoad, ClipboardThatIsNoMetafileStillGivesItsPage) {
  const std::vector<std::byte> junk(64, std::byte{0x5A});
  ASSERT_TRUE(clipboard::PutEnhMetafile(junk));
  ASSERT_TRUE(settings::WriteUserString("CurWordKodClipbrd", "TRUE"));

  Load();

  ASSERT_EQ(pages::Pages().Count(), 1);
  EXPECT_TRUE(pages::Pages().Record(0).metafile.IsNull());
  EXPECT_FALSE(pages::Pages().Record(0).thumbnail.isNull());
  EXPECT_TRUE(host_->Texts().empty());
  EXPECT_FALSE(clipboard::ReadEnhMetafile());
  EXPECT_TRUE(test::PageFilesIn(work_).empty());
}

TEST_F(CaptureLoad, QuickStartReferenceLeavesSamplesClipboardAndPrinterAlone) {
  const fs::path install = test::TempDir() / "install";
  for (const auto& page : samples::QuickStartPages()) WriteFile(install / "emf" / page.file_name, page.emf);
  ASSERT_TRUE(registry::SetValue(registry::Hive::LocalMachine, "Software\\Tavrin\\Pagewick",
                                 {"InstallPath", registry::ValueType::Sz, registry::TextData(install.string())}));
  const auto before = test::FilesIn(install / "emf");
  ASSERT_GE(before.size(), 4u);
  PrepareHandshake("Report.doc");
  Submit("Microsoft Word - Report.doc", spooler::SpoolWriter().AddPage(test::PlainPageEmf(210, 297)).Finish());
  ASSERT_TRUE(clipboard::PutEnhMetafile(test::PlainPageEmf(50, 50)));
  ASSERT_TRUE(settings::WriteUserString("CurWordKodClipbrd", "TRUE"));
  settings::Update([](settings::Settings& s) { s.QuickStartReference = true; });

  Load();

  EXPECT_EQ(SampleFolder(), install.string() + "/emf/");
  EXPECT_EQ(pages::Pages().SampleFolder(), SampleFolder());
  EXPECT_EQ(LoadedNames(), before);
  for (int i = 0; i < pages::Pages().Count(); ++i) EXPECT_FALSE(pages::Pages().Record(i).metafile.IsNull()) << i;
  ExpectThumbnailChain();
  EXPECT_EQ(test::FilesIn(install / "emf"), before);
  EXPECT_TRUE(clipboard::ReadEnhMetafile());
  EXPECT_EQ(CaptureJobs().size(), 1u);
  EXPECT_EQ(settings::ReadUserString("CurWordKodClipbrd"), "TRUE");
  EXPECT_TRUE(host_->Texts().empty());
}

TEST_F(CaptureLoad, FileThatIsNoMetafileIsKeptAndReported) {
  // No printer handshake: the load goes on with whatever the work folder holds.
  WriteFile(work_ + "10001.emf", test::PlainPageEmf(210, 297));
  WriteFile(work_ + "10002.emf", std::vector<std::byte>(100, std::byte{1}));
  WriteFile(work_ + "10003.txt", test::PlainPageEmf(210, 297));

  Load();

  EXPECT_EQ(host_->Texts(), std::vector<std::string>{"ERROR 0000875\nTavrin Pagewick Message"});
  ASSERT_EQ(pages::Pages().Count(), 2);
  EXPECT_FALSE(pages::Pages().Record(0).metafile.IsNull());
  EXPECT_TRUE(pages::Pages().Record(1).metafile.IsNull());
  ExpectThumbnailChain();
  EXPECT_TRUE(test::PageFilesIn(work_).empty());
  EXPECT_TRUE(fs::exists(work_ + "10003.txt"));
}

TEST_F(CaptureLoad, PagesThatCannotBeRenderedAreToldOnceAndShowNoImage) {
  WriteFile(work_ + "10001.emf", test::PlainPageEmf(0, 0));
  WriteFile(work_ + "10002.emf", test::PlainPageEmf(0, 0));
  WriteFile(work_ + "10003.emf", test::PlainPageEmf(210, 297));

  Load();

  EXPECT_EQ(host_->Texts(), std::vector<std::string>{"Page 1 could not be rendered:\nThe page has no area."});
  ASSERT_EQ(pages::Pages().Count(), 3);
  EXPECT_EQ(pages::Pages().Current(), 0);
  EXPECT_EQ(pages::Pages().CurrentImage().columns(), 0u);
  EXPECT_EQ(pages::Pages().State(), pages::RenderingState::Ready);
  EXPECT_TRUE(pages::Pages().Record(0).thumbnail.isNull());
  EXPECT_FALSE(pages::Pages().Record(2).thumbnail.isNull());
}

TEST_F(CaptureLoad, FilesBeyondTheTableStayAndAreCountedOnce) {
  const auto tiny = test::PlainPageEmf(5, 5);
  for (int i = 0; i < pages::kMaxPages + 3; ++i) WriteFile(work_ + PageFileName(1, i + 1), tiny);

  Load();

  EXPECT_EQ(pages::Pages().Count(), pages::kMaxPages);
  EXPECT_EQ(host_->Texts(), std::vector<std::string>{PagesNotLoadedMessage(3)});
  EXPECT_EQ(test::PageFilesIn(work_),
            (std::vector<std::string>{PageFileName(1, 2001), PageFileName(1, 2002), PageFileName(1, 2003)}));
  EXPECT_EQ(pages::Pages().Record(pages::kMaxPages - 1).file_name, PageFileName(1, 2000));
  ExpectThumbnailChain();
}

TEST_F(CaptureLoad, PageSetCanBeReadWhileTheLoadRuns) {
  WriteFile(work_ + "20001.emf", test::PlainPageEmf(210, 297));
  for (int i = 2; i <= 40; ++i) WriteFile(work_ + PageFileName(2, i), test::PlainPageEmf(20 + i, 30));

  std::atomic<bool> done{false};
  std::atomic<int> faults{0};
  std::atomic<int> most_seen{0};
  std::thread reader([&] {
    // What the strip and the page view read while they paint.
    while (!done.load()) {
      const pages::PageSet& pages = pages::Pages();
      const int count = pages.Count();
      const int current = pages.Current();
      if (current < -1 || current >= std::max(count, 1)) faults++;
      for (int i = 0; i < count; ++i) {
        const pages::PageRecord& r = pages.Record(i);
        if (r.file_name.size() != 9 || r.thumb_width <= 0 || r.thumb_width > 130 || r.thumbnail.isNull()) faults++;
      }
      if (current >= 0) (void)pages.CurrentImage().columns();
      most_seen = std::max(most_seen.load(), count);
    }
    most_seen = std::max(most_seen.load(), pages::Pages().Count());
  });
  ASSERT_TRUE(StartCaptureLoad(&view_));
  EXPECT_FALSE(StartCaptureLoad(&view_));  // one load at a time
  WaitForCaptureLoad();
  done = true;
  reader.join();

  EXPECT_EQ(faults.load(), 0);
  EXPECT_EQ(pages::Pages().Count(), 40);
  EXPECT_EQ(most_seen.load(), 40);
  EXPECT_TRUE(test::PageFilesIn(work_).empty());
}

TEST_F(CaptureLoad, StoppedLoadEndsBeforeTheSetIsEmptied) {
  for (int i = 1; i <= 200; ++i) WriteFile(work_ + PageFileName(3, i), test::PlainPageEmf(100, 100));
  ASSERT_TRUE(StartCaptureLoad(&view_));
  StopCaptureLoad();
  const int loaded = pages::Pages().Count();
  // Once stopped nothing is added: the set may be emptied safely.
  ReleasePages();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(pages::Pages().Count(), 0);
  EXPECT_LE(loaded, 200);
  EXPECT_EQ(test::PageFilesIn(work_).size(), static_cast<std::size_t>(200 - loaded));
}

TEST(CaptureLoadNumbers, DisplayResolutionFromThePhysicalSize) {
  EXPECT_EQ(DisplayResolutionOf(DisplayExtent{1024, 270}), 97);
  EXPECT_EQ(DisplayResolutionOf(DisplayExtent{1280, 339}), 96);  // 95.9 rounds up
  EXPECT_EQ(DisplayResolutionOf(DisplayExtent{2560, 340}), 192);
  EXPECT_EQ(DisplayResolutionOf(std::nullopt), 96);
  EXPECT_EQ(DisplayResolutionOf(DisplayExtent{1024, 0}), 96);
  EXPECT_EQ(DisplayResolutionOf(DisplayExtent{0, 270}), 96);
}

TEST(CaptureLoadNumbers, ThumbnailsChainDownTheStrip) {
  const ViewRect strip{4, 20, 174, 900};
  const ThumbnailPlace first = PlaceThumbnail(strip, 91, 130, std::nullopt, 0);
  EXPECT_EQ(first.x, (174 - 91 - 4) / 2);
  EXPECT_EQ(first.y, (140 - 130) / 2 + 20 + 5);
  const ThumbnailPlace second = PlaceThumbnail(strip, 130, 91, first, 130);
  EXPECT_EQ(second.x, 20);
  EXPECT_EQ(second.y, first.y + 130 + 24);
  const ThumbnailPlace third = PlaceThumbnail(strip, 101, 130, second, 91);
  EXPECT_EQ(third.y, second.y + 91 + 24);
  // Odd remainders truncate toward zero.
  EXPECT_EQ(PlaceThumbnail(ViewRect{0, 0, 170, 0}, 130, 91, std::nullopt, 0).y, 24 + 5);
  EXPECT_EQ(PlaceThumbnail(ViewRect{0, 0, 100, 0}, 130, 145, std::nullopt, 0).x, -15);
  EXPECT_EQ(PlaceThumbnail(ViewRect{0, 0, 100, 0}, 130, 145, std::nullopt, 0).y, -2 + 5);
}

TEST(CaptureLoadNumbers, LongDocumentNamesAreKeptWhole) {
  EXPECT_EQ(ExpectedDocumentName("Report.doc"), "Microsoft Word - Report.doc");
  const std::string long_name(259, 'x');
  const std::string expected = ExpectedDocumentName(long_name);
  EXPECT_EQ(expected.size(), 17u + 259u);
  EXPECT_TRUE(JobMatchesDocument("Microsoft Word - " + long_name + ".doc", expected));
}

TEST(CaptureLoadNumbers, PagesNotLoadedMessageCountsThem) {
  EXPECT_EQ(PagesNotLoadedMessage(1), "Pagewick holds at most 2000 pages. 1 further page was not loaded.");
  EXPECT_EQ(PagesNotLoadedMessage(12), "Pagewick holds at most 2000 pages. 12 further pages were not loaded.");
}

}  // namespace
}  // namespace pw::intake
