#include <gtest/gtest.h>

#include <Magick++.h>

#include <filesystem>
#include <fstream>

#include "output/html_gallery_writer.h"
#include "output/image_series_writer.h"
#include "output/pdf_writer.h"
#include "output/run_guards.h"
#include "output/write_job.h"
#include "output_fixtures.h"
#include "pages/page_set.h"
#include "platform/paths/paths.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"

namespace pw::test {
namespace {

namespace fs = std::filesystem;

class WriteJobTest : public WriterTest {
 protected:
  bool PreviewExists() {
    for (const std::string& name : FileNames(*platform::WorkFolder()))
      if (name.starts_with("~CurImg")) return true;
    return false;
  }
};

TEST_F(WriteJobTest, TheWindowsJobIsTheSettingsRecordAsItStandsWhenBuilt) {
  settings::Update([](settings::Settings& s) {
    s.CheckN = 2;
    s.ResCur = 123.5;
    s.PNG_Default = true;
    s.JPG_Default = false;
    s.KodMultipageFormat = 1;
    s.StartFile_Opt = true;
    s.ScaleCur = 40;
    s.KodAntialias = 5;
  });
  ASSERT_TRUE(settings::WriteUserString("PDF_Bitmp_Format", "TIF"));
  const output::WriteJob job = output::CurrentWriteJob({"/some/", "Name"}, view, hook);
  EXPECT_EQ(job.target.folder, "/some/");
  EXPECT_EQ(job.target.base_name, "Name");
  EXPECT_EQ(job.flags, (output::FormatFlags{.png = true}));
  EXPECT_EQ(job.multipage_mode, 1);
  EXPECT_EQ(job.inside_format, "TIF");
  EXPECT_DOUBLE_EQ(job.resolution, 123.5);
  EXPECT_TRUE(job.start_file);
  EXPECT_EQ(job.options.ScaleCur, 40);
  EXPECT_EQ(job.options.KodAntialias, 5);
  EXPECT_TRUE(job.window_command);
  EXPECT_EQ(job.view, view);
  EXPECT_EQ(job.render_view, hook);

  // The job built from a record with no window: nothing to put back.
  EXPECT_FALSE(output::WriteJobFrom(settings::Snapshot(), "").window_command);
}

TEST_F(WriteJobTest, RendersFollowTheJobNotTheSettingsChangedAfterIt) {
  LoadPages(2, 40, 60);
  pages::Pages().SetCurrentImage(Magick::Image());  // every page is rendered for the run
  const std::string dir = OutDir();
  target = {dir, "J"};
  output::WriteJob job = Job();
  job.flags = {.png = true};
  job.options.encoding.JPG_Default = true;  // the flags win over what the options say
  job.resolution = 50.0;
  settings::Update([](settings::Settings& s) {
    s.ScaleCur = 50;
    s.ResCur = 20.0;
    s.BMP_Default = true;
  });

  const output::WriteOutcome outcome = output::WriteImageSeries(job);

  EXPECT_EQ(outcome.exit_code, 0);
  EXPECT_TRUE(outcome.complete);
  EXPECT_EQ(outcome.pages_written, 2);
  ASSERT_EQ(FileNames(dir), (std::vector<std::string>{"J0001.png", "J0002.png"}));
  Magick::Image page(dir + "J0001.png");
  EXPECT_EQ(page.magick(), "PNG");
  EXPECT_EQ(page.columns(), 79u);  // 40 mm at 50 dpi, at 100 %
}

TEST_F(WriteJobTest, AJobWithoutPreviewLeavesNoPreviewFile) {
  LoadPages(2);
  pages::Pages().SetCurrentImage(Magick::Image());
  const std::string dir = OutDir();
  for (const auto& entry : fs::directory_iterator(*platform::WorkFolder())) fs::remove(entry.path());
  target = {dir, "N"};
  output::WriteJob job = Job();
  job.preview = false;
  job.threads = 1;
  ASSERT_EQ(output::WriteImageSeries(job).exit_code, 0);
  EXPECT_FALSE(PreviewExists());
  ASSERT_EQ(output::WriteImageSeries(Job()).exit_code, 0);
  EXPECT_TRUE(PreviewExists());
}

TEST_F(WriteJobTest, APdfRunReportsThePagesItLeftOut) {
  LoadPages(3);
  const std::string dir = OutDir();
  target = {dir, "Gap"};
  output::WriteJob job = Job();
  job.multipage_mode = 1;
  job.inside_format = "TXT";  // pixels as text: no image a document takes
  const output::WriteOutcome outcome = output::WriteMultipagePdf(job);
  EXPECT_EQ(outcome.exit_code, 0);
  EXPECT_EQ(outcome.pages_left_out, 3);
  EXPECT_EQ(outcome.pages_written, 0);
  EXPECT_FALSE(outcome.complete);
}

TEST_F(WriteJobTest, APdfRunThatKeepsNoPageFilesWritesNoneAndNeedsNoWorkFolder) {
  LoadPages(3);
  const std::string dir = OutDir();
  target = {dir, "Lean"};
  // The work folder cannot be had: a file stands where it goes.
  const std::string work = *platform::WorkFolder();
  fs::remove_all(work);
  { std::ofstream(work.substr(0, work.size() - 1)) << "in the way"; }
  output::WriteJob job = Job();
  job.multipage_mode = 1;
  job.keep_inside_files = false;
  const output::WriteOutcome outcome = output::WriteMultipagePdf(job);
  EXPECT_TRUE(outcome.complete);
  EXPECT_EQ(outcome.pages_written, 3);
  EXPECT_EQ(FileNames(dir), std::vector<std::string>{"Lean.pdf"});
  EXPECT_TRUE(output::Run().written.Get(0).empty());
}

TEST_F(WriteJobTest, ARunOfNoWindowCommandStoresNothingAndPutsNothingBack) {
  LoadPages(2);
  ASSERT_TRUE(output::StoreFormatFlags({.png = true}));
  output::SetOutputFormatBackup(output::FormatFlags{.gif = true});
  const std::string dir = OutDir();
  output::WriteJob job = output::WriteJobFrom(settings::Snapshot(), "JPG");
  job.target = {dir, "C"};
  job.multipage_mode = 1;
  job.view = view;

  const output::WriteOutcome outcome = output::WriteMultipagePdf(job);

  EXPECT_TRUE(outcome.complete);
  EXPECT_EQ(outcome.pages_written, 2);
  EXPECT_EQ(FileNames(dir), std::vector<std::string>{"C.pdf"});
  EXPECT_EQ(settings::ReadUserDword("KodMultipageFormat"), -1);
  EXPECT_EQ(output::CurrentFormatFlags(), (output::FormatFlags{.png = true}));
  EXPECT_EQ(output::TakeOutputFormatBackup(), (output::FormatFlags{.gif = true}));
  EXPECT_EQ(view->main_window_invalidations.load(), 0);
}

}  // namespace
}  // namespace pw::test
