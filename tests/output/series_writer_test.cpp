#include <gtest/gtest.h>

#include <Magick++.h>

#include <filesystem>
#include <fstream>

#include "pages/page_set.h"
#include "output/file_naming.h"
#include "output/image_series_writer.h"
#include "output_fixtures.h"
#include "settings/settings_record.h"

namespace pw::test {
namespace {

namespace fs = std::filesystem;
output::OutputRun& RunState() { return output::Run(); }

TEST(SeriesNaming, BaseNameCutAt56AndPathHoldsTheDoubledSeparator) {
  const std::string b55(55, 'a');
  const std::string b56(56, 'b');
  EXPECT_EQ(output::SeriesBaseName(b55), b55);
  EXPECT_EQ(output::SeriesBaseName(b56), std::string(49, 'b'));
  EXPECT_EQ(output::SeriesFileName({"/out/", "Report"}, "0003", ".jpg"), "/out//Report0003.jpg");
  EXPECT_EQ(output::PageNumberOf("120007.emf", 0), "0007");
  EXPECT_EQ(output::PageNumberOf("0042.emf", 0), "0042");
  EXPECT_EQ(output::PageNumberOf("x.emf", 4), "0005");  // too short to hold a number
  EXPECT_EQ(output::SeriesExtension({.gif = true, .tif = true}), ".gif");
  EXPECT_EQ(output::SeriesExtension({.tif = true}), ".tif");
  EXPECT_EQ(output::SeriesExtension({}), ".bmp");
  EXPECT_EQ(output::GalleryExtension({.tif = true}), ".bmp");
  EXPECT_EQ(output::InsideExtension(""), ".bmp");
  EXPECT_EQ(output::InsideExtension("JPG"), ".JPG");
  EXPECT_EQ(output::InsideExtension("../../evil"), ".bmp");
}

class SeriesWriterTest : public WriterTest {};

TEST_F(SeriesWriterTest, WritesEveryPageAndTheCurrentPageAsItStands) {
  LoadPages(3, 40, 60, 1);
  // A current page image unlike any render shows it was not rendered again.
  Magick::Image marker(Magick::Geometry(7, 5), Magick::Color("red"));
  pages::Pages().SetCurrentImage(marker);
  const std::string dir = OutDir();
  target = {dir, "Report"};

  EXPECT_EQ(output::WriteImageSeries(Job()).exit_code, 0);

  EXPECT_EQ(FileNames(dir), (std::vector<std::string>{"Report0001.jpg", "Report0002.jpg", "Report0003.jpg"}));
  EXPECT_EQ(RunState().written.Get(0), dir + "/Report0001.jpg");
  EXPECT_EQ(RunState().written.Get(2), dir + "/Report0003.jpg");
  Magick::Image current(dir + "Report0002.jpg");
  EXPECT_EQ(current.columns(), 7u);
  Magick::Image other(dir + "Report0001.jpg");
  EXPECT_EQ(other.magick(), "JPEG");
  EXPECT_GT(other.columns(), 7u);
  EXPECT_EQ(hook->renders.load(), 2);  // pages 1 and 3 only
  EXPECT_EQ(view->redraws.load(), 1);
  EXPECT_EQ(view->cursor_on.load(), 1);
  EXPECT_EQ(view->cursor_off.load(), 1);
  EXPECT_TRUE(messages->Texts().empty());
}

TEST_F(SeriesWriterTest, OnePageSetWritesTheCurrentImageWithoutRendering) {
  LoadPages(1);
  const std::string dir = OutDir();
  target = {dir, "One"};
  EXPECT_EQ(output::WriteImageSeries(Job()).exit_code, 0);
  EXPECT_EQ(FileNames(dir), std::vector<std::string>{"One0001.jpg"});
  EXPECT_EQ(hook->renders.load(), 0);
}

TEST_F(SeriesWriterTest, TifAndBmpNamesAndOverwriteWithoutQuestion) {
  LoadPages(2);
  const std::string dir = OutDir();
  target = {dir, "P"};
  { std::ofstream(dir + "P0001.tif") << "old"; }
  ASSERT_TRUE(output::StoreFormatFlags({.tif = true}));
  EXPECT_EQ(output::WriteImageSeries(Job()).exit_code, 0);
  EXPECT_EQ(Magick::Image(dir + "P0001.tif").magick(), "TIFF");
  EXPECT_EQ(Magick::Image(dir + "P0002.tif").magick(), "TIFF");

  ASSERT_TRUE(output::StoreFormatFlags({}));
  EXPECT_EQ(output::WriteImageSeries(Job()).exit_code, 0);
  EXPECT_EQ(FileNames(dir), (std::vector<std::string>{"P0001.bmp", "P0001.tif", "P0002.bmp", "P0002.tif"}));
  EXPECT_EQ(Magick::Image(dir + "P0002.bmp").magick(), "BMP");
  EXPECT_TRUE(messages->Texts().empty());
}

TEST_F(SeriesWriterTest, PathOf150IsWrittenAnd151StopsTheRun) {
  LoadPages(2);
  // Folder of exactly 100 characters with its '/': base name 41 gives 150.
  std::string dir = OutDir("d");
  dir += std::string(99 - dir.size(), 'x');
  fs::create_directories(dir);
  dir += '/';
  ASSERT_EQ(dir.size(), 100u);
  target = {dir, std::string(41, 'n')};
  EXPECT_EQ(output::WriteImageSeries(Job()).exit_code, 0);
  EXPECT_EQ(RunState().written.Get(1).size(), 150u);
  EXPECT_EQ(FileNames(dir).size(), 2u);

  RunState().send_after_run = true;
  target = {dir, std::string(42, 'm')};
  EXPECT_EQ(output::WriteImageSeries(Job()).exit_code, -1);
  EXPECT_EQ(FileNames(dir).size(), 2u);
  ASSERT_EQ(messages->Texts(), std::vector<std::string>{"The name you entered is too long.\nEnter a shorter name."});
  EXPECT_EQ(messages->Requests()[0].owner, platform::MessageOwner::None);
  EXPECT_EQ(messages->Requests()[0].caption, "Tavrin Pagewick Message");
  EXPECT_FALSE(RunState().send_after_run.load());
  EXPECT_EQ(view->cursor_off.load(), 2);
}

TEST_F(SeriesWriterTest, EscAnsweredCancelGoesOnThenOkStopsWithoutSending) {
  LoadPages(4);
  const std::string dir = OutDir();
  const std::string outbox = OutDir("outbox");
  setenv("PAGEWICK_MAIL", ("outbox:" + outbox).c_str(), 1);
  target = {dir, "E"};
  hook->on_render = [](int) { RunState().abort_requested = true; };
  messages->PushAnswer(platform::MessageAnswer::Cancel);
  messages->PushAnswer(platform::MessageAnswer::Ok);
  RunState().send_after_run = true;

  EXPECT_EQ(output::WriteImageSeries(Job()).exit_code, 0);
  unsetenv("PAGEWICK_MAIL");

  EXPECT_EQ(FileNames(dir), (std::vector<std::string>{"E0001.jpg", "E0002.jpg", "E0003.jpg"}));
  const auto requests = messages->Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].text, "Abort File Generation Process?");
  EXPECT_EQ(requests[0].buttons, platform::MessageButtons::OkCancel);
  EXPECT_EQ(requests[0].icon, platform::MessageIcon::Question);
  EXPECT_TRUE(FileNames(outbox).empty());
  EXPECT_FALSE(RunState().abort_requested.load());
  EXPECT_FALSE(RunState().send_after_run.load());
  EXPECT_EQ(view->cursor_off.load(), 1);
}

TEST_F(SeriesWriterTest, AFileThatCannotBeWrittenEndsTheRunAndSaysWhich) {
  LoadPages(3);
  const std::string dir = OutDir();
  const std::string outbox = OutDir("outbox");
  fs::create_directory(dir + "W0002.png");  // stands where page 2 goes
  ASSERT_TRUE(output::StoreFormatFlags({.png = true}));
  target = {dir, "W"};
  RunState().send_after_run = true;
  setenv("PAGEWICK_MAIL", ("outbox:" + outbox).c_str(), 1);

  EXPECT_EQ(output::WriteImageSeries(Job()).exit_code, -1);
  unsetenv("PAGEWICK_MAIL");

  EXPECT_EQ(FileNames(dir), std::vector<std::string>{"W0001.png"});
  ASSERT_EQ(messages->Texts().size(), 1u);
  EXPECT_EQ(messages->Texts()[0], "The file could not be written:\n" + dir + "/W0002.png\nIs a directory");
  EXPECT_TRUE(FileNames(outbox).empty());

  target = {dir + "gone/", "W"};
  EXPECT_EQ(output::WriteImageSeries(Job()).exit_code, -1);
  EXPECT_NE(messages->Texts().back().find("No such file or directory"), std::string::npos);

  // A write the system cuts short (as a full disk would): no file under the
  // name, no temporary one beside it.
  const std::string full = OutDir("full");
  target = {full, "F"};
  {
    const FileSizeCap cap(64);
    EXPECT_EQ(output::WriteImageSeries(Job()).exit_code, -1);
  }
  EXPECT_EQ(messages->Texts().back(), "The file could not be written:\n" + full + "/F0001.png\nFile too large");
  EXPECT_TRUE(FileNames(full).empty());

  // A link at a page's name is replaced; what it leads to is not written.
  const std::string linked = OutDir("linked");
  fs::create_symlink("/dev/full", linked + "L0001.png");
  target = {linked, "L"};
  EXPECT_EQ(output::WriteImageSeries(Job()).exit_code, 0);
  EXPECT_FALSE(fs::is_symlink(linked + "L0001.png"));
  EXPECT_EQ(FileNames(linked), (std::vector<std::string>{"L0001.png", "L0002.png", "L0003.png"}));
  EXPECT_EQ(view->cursor_off.load(), 4);
}

TEST_F(SeriesWriterTest, StartWriterRunsOnItsThreadOnlyWithAValidCurrentPage) {
  EXPECT_FALSE(output::StartWriter(output::WriteImageSeries, Job()));  // no pages
  LoadPages(2);
  const std::string dir = OutDir();
  target = {dir, "T"};
  RunState().abort_requested = true;  // cleared by the start
  ASSERT_TRUE(output::StartWriter(output::WriteImageSeries, Job()));
  EXPECT_EQ(output::WaitForWriter(), 0);
  EXPECT_EQ(FileNames(dir).size(), 2u);
  EXPECT_TRUE(messages->Texts().empty());
}

}  // namespace
}  // namespace pw::test
