#include <gtest/gtest.h>

#include <Magick++.h>

#include <array>
#include <cerrno>
#include <span>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>

#include <sys/stat.h>

#include "pages/page_set.h"
#include "output/pdf_writer.h"
#include "output/run_guards.h"
#include "output_fixtures.h"
#include "tests/support/test_home.h"
#include "platform/paths/paths.h"
#include "platform/pdf/pdf_document.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"

namespace pw::test {
namespace {

namespace fs = std::filesystem;
output::OutputRun& RunState() { return output::Run(); }

// Standard output of a command, and its exit status.
std::pair<std::string, int> Capture(const std::string& command) {
  std::string out;
  std::FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return {"", -1};
  std::array<char, 4096> buffer{};
  while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe)) out.append(buffer.data(), n);
  const int status = ::pclose(pipe);
  return {out, status};
}

// Every "Page N size: W x H pts" of pdfinfo.
std::vector<std::pair<double, double>> PageSizes(const std::string& pdf) {
  const auto [out, status] = Capture("pdfinfo -f 1 -l 9999 '" + pdf + "'");
  std::vector<std::pair<double, double>> sizes;
  const std::regex line(R"(Page\s+\d+ size:\s+([0-9.]+) x ([0-9.]+) pts)");
  for (std::sregex_iterator it(out.begin(), out.end(), line), end; it != end; ++it)
    sizes.emplace_back(std::stod((*it)[1]), std::stod((*it)[2]));
  return sizes;
}

class PdfWriterTest : public WriterTest {
 protected:
  void StartPdfRun() { output::StoreMultipageMode(1); }
  std::string Work() { return *platform::WorkFolder(); }
};

TEST_F(PdfWriterTest, OnePagePerLoadedPageSizedByPixelsAndDensity) {
  LoadPages(3, 40, 60);
  settings::Update([](settings::Settings& s) { s.ResCur = 50.0; });
  const std::string dir = OutDir();
  target = {dir, "Doc"};
  StartPdfRun();

  EXPECT_EQ(output::WriteMultipagePdf(Job()).exit_code, 0);

  const std::string pdf = dir + "/Doc.pdf";
  ASSERT_TRUE(fs::exists(pdf));
  EXPECT_EQ(Capture("qpdf --check '" + pdf + "'").second, 0);
  const auto sizes = PageSizes(pdf);
  ASSERT_EQ(sizes.size(), 3u);
  Magick::Image inside(Work() + "0001.bmp");  // empty inside format: ".bmp"
  EXPECT_NEAR(sizes[0].first, inside.columns() * 72.0 / 50.0, 0.01);
  EXPECT_NEAR(sizes[0].second, inside.rows() * 72.0 / 50.0, 0.01);
  EXPECT_EQ(RunState().written.Get(2), Work() + "0003.bmp");
  EXPECT_EQ(settings::Snapshot().KodMultipageFormat, 0);
  EXPECT_EQ(settings::ReadUserDword("KodMultipageFormat"), 0);
  EXPECT_EQ(FileNames(dir), std::vector<std::string>{"Doc.pdf"});  // no temporary file left
  EXPECT_TRUE(messages->Texts().empty());
  EXPECT_EQ(hook->renders.load(), 3);  // the current page too
}

TEST_F(PdfWriterTest, JpegInsideImagesAreEmbeddedAsTheyAre) {
  LoadPages(2);
  ASSERT_TRUE(settings::WriteUserString("PDF_Bitmp_Format", "JPG"));
  const std::string dir = OutDir();
  target = {dir, "J"};
  StartPdfRun();
  EXPECT_EQ(output::WriteMultipagePdf(Job()).exit_code, 0);
  EXPECT_EQ(Magick::Image(Work() + "0001.JPG").magick(), "JPEG");
  const std::string bytes = ReadText(dir + "J.pdf");
  EXPECT_NE(bytes.find("/DCTDecode"), std::string::npos);
  // The JPEG file's own bytes stand in the PDF unchanged.
  const std::string jpeg = ReadText(Work() + "0002.JPG");
  EXPECT_NE(bytes.find(jpeg), std::string::npos);
  EXPECT_EQ(PageSizes(dir + "J.pdf").size(), 2u);
}

TEST_F(PdfWriterTest, InterlacedPngAndTifInsideImagesAreAllAdded) {
  LoadPages(2);
  const std::string dir = OutDir();
  for (const char* inside : {"PNG", "TIF"}) {
    ASSERT_TRUE(settings::WriteUserString("PDF_Bitmp_Format", inside));
    target = {dir, inside};
    StartPdfRun();
    EXPECT_EQ(output::WriteMultipagePdf(Job()).exit_code, 0);
    EXPECT_EQ(PageSizes(dir + inside + ".pdf").size(), 2u) << inside;
  }
  EXPECT_NE(Magick::Image(Work() + "0001.PNG").interlaceType(), MagickCore::NoInterlace);
  EXPECT_TRUE(messages->Texts().empty());
}

TEST_F(PdfWriterTest, TheDocumentTakesThePagesTheRunMadeNotWhatTheirFilesHoldLater) {
  LoadPages(3);
  const std::string dir = OutDir();
  target = {dir, "Own"};
  // Page 2's inside file leads elsewhere, as another process could make it.
  fs::create_symlink("/dev/null", Work() + "0002.bmp");
  StartPdfRun();
  EXPECT_EQ(output::WriteMultipagePdf(Job()).exit_code, 0);
  EXPECT_TRUE(messages->Texts().empty());
  EXPECT_EQ(PageSizes(dir + "Own.pdf").size(), 3u);
  EXPECT_EQ(Capture("qpdf --check '" + dir + "Own.pdf'").second, 0);
  EXPECT_FALSE(fs::is_symlink(Work() + "0002.bmp"));  // replaced, not written through
}

TEST_F(PdfWriterTest, ADocumentWhoseFileFailsStopsTheRunOnceAndLeavesNoFile) {
  LoadPages(4, 100, 100);
  settings::Update([](settings::Settings& s) { s.ResCur = 100.0; });
  const std::string dir = OutDir();
  target = {dir, "Full"};
  output::WriteJob job = Job();
  job.multipage_mode = 1;
  job.inside_format = "JPG";  // embedded as encoded: each page takes kilobytes
  job.keep_inside_files = false;
  output::WriteOutcome outcome;
  {
    const FileSizeCap cap(4 * 1024);  // a disk that fills during the first pages
    outcome = output::WriteMultipagePdf(job);
  }
  EXPECT_EQ(outcome.exit_code, -1);
  EXPECT_FALSE(outcome.complete);
  ASSERT_EQ(messages->Texts().size(), 1u);
  EXPECT_EQ(messages->Texts()[0], "The file could not be written:\n" + dir + "/Full.pdf\nFile too large");
  EXPECT_TRUE(FileNames(dir).empty());
}

TEST_F(PdfWriterTest, AnInsideImageTheDocumentCannotTakeIsLeftOutAndTold) {
  LoadPages(2);
  ASSERT_TRUE(settings::WriteUserString("PDF_Bitmp_Format", "TXT"));
  const std::string dir = OutDir();
  target = {dir, "Gap"};
  StartPdfRun();
  EXPECT_EQ(output::WriteMultipagePdf(Job()).exit_code, 0);
  EXPECT_EQ(messages->Texts(), (std::vector<std::string>{"ERROR 05000157", "ERROR 05000157"}));
  EXPECT_EQ(messages->Requests()[0].caption, "Pagewick Message");
  EXPECT_TRUE(PageSizes(dir + "Gap.pdf").empty());
  EXPECT_EQ(Capture("qpdf --check '" + dir + "Gap.pdf'").second, 0);
}

TEST_F(PdfWriterTest, AbortLeavesNoPdfAndResetsTheMode) {
  LoadPages(3);
  const std::string dir = OutDir();
  target = {dir, "A"};
  hook->on_render = [](int n) {
    if (n == 2) RunState().abort_requested = true;
  };
  StartPdfRun();
  EXPECT_EQ(output::WriteMultipagePdf(Job()).exit_code, 0);
  EXPECT_EQ(messages->Texts(), std::vector<std::string>{"Abort File Generation Process?"});
  EXPECT_TRUE(FileNames(dir).empty());  // neither the PDF nor its temporary file
  EXPECT_EQ(settings::ReadUserDword("KodMultipageFormat"), 0);
  EXPECT_EQ(view->cursor_off.load(), 1);
}

TEST_F(PdfWriterTest, TargetThatCannotBeCreatedRendersNothing) {
  LoadPages(2);
  target = {OutDir() + "missing/", "X"};
  StartPdfRun();
  EXPECT_EQ(output::WriteMultipagePdf(Job()).exit_code, -1);
  // The folder is missing, and the message says so rather than blame the name.
  EXPECT_EQ(messages->Texts(), std::vector<std::string>{"Error 000079\nThe file could not be written:\n" + OutDir() +
                                                        "missing//X.pdf\nNo such file or directory"});
  EXPECT_EQ(hook->renders.load(), 0);
  EXPECT_EQ(settings::Snapshot().KodMultipageFormat, 0);
  EXPECT_EQ(settings::ReadUserDword("KodMultipageFormat"), 0);

  target = {OutDir() + std::string(150, 'z') + "/", "X"};
  StartPdfRun();
  EXPECT_EQ(output::WriteMultipagePdf(Job()).exit_code, -1);
  EXPECT_EQ(messages->Texts().back(), "The name you entered is too long.\nEnter a shorter name.");
}

TEST_F(PdfWriterTest, WithoutPdfModeOnlyBmpFilesAndWrongFormat) {
  LoadPages(2);
  const std::string dir = OutDir();
  target = {dir, "W"};
  ASSERT_TRUE(settings::WriteUserString("PDF_Bitmp_Format", "PNG"));
  EXPECT_EQ(output::WriteMultipagePdf(Job()).exit_code, 0);
  EXPECT_EQ(messages->Texts(), std::vector<std::string>{"Wrong Format\nError 000054"});
  EXPECT_TRUE(FileNames(dir).empty());
  EXPECT_TRUE(fs::exists(Work() + "0002.bmp"));
}

TEST_F(PdfWriterTest, BackupRestoredPutAsidePageReadBackAndOpened) {
  LoadPages(2);
  settings::Update([](settings::Settings& s) { s.StartFile_Opt = true; });
  ASSERT_TRUE(output::StoreFormatFlags({.png = true}));
  ASSERT_TRUE(output::PutCurrentPageAside());
  ASSERT_TRUE(fs::exists(Work() + "forPDFtmp.png"));
  ASSERT_TRUE(output::StoreFormatFlags({.bmp = true}));  // the inside format chosen
  pages::Pages().SetCurrentImage(Magick::Image(Magick::Geometry(3, 3), Magick::Color("blue")));
  const std::string dir = OutDir();
  target = {dir, "R"};
  StartPdfRun();

  EXPECT_EQ(output::WriteMultipagePdf(Job()).exit_code, 0);

  EXPECT_EQ(output::CurrentFormatFlags(), (output::FormatFlags{.png = true}));
  EXPECT_EQ(settings::ReadUserDword("PNG_Default"), 1);
  EXPECT_EQ(settings::ReadUserDword("BMP_Default"), 0);
  EXPECT_FALSE(fs::exists(Work() + "forPDFtmp.png"));
  EXPECT_GT(pages::Pages().CurrentImage().columns(), 3u);
  EXPECT_EQ(view->main_window_invalidations.load(), 1);
  EXPECT_EQ(opened, std::vector<std::string>{dir + "/R.pdf"});
}

TEST_F(PdfWriterTest, SentPdfIsOneAttachmentNotOpenedNotReadBack) {
  LoadPages(2);
  settings::Update([](settings::Settings& s) { s.StartFile_Opt = true; });
  ASSERT_TRUE(output::PutCurrentPageAside());
  const std::string outbox = OutDir("outbox");
  setenv("PAGEWICK_MAIL", ("outbox:" + outbox).c_str(), 1);
  target = {Work(), "doc"};
  RunState().send_after_run = true;
  StartPdfRun();
  EXPECT_EQ(output::WriteMultipagePdf(Job()).exit_code, 0);
  unsetenv("PAGEWICK_MAIL");

  EXPECT_TRUE(opened.empty());
  EXPECT_TRUE(fs::exists(Work() + "forPDFtmp.jpg"));
  EXPECT_EQ(RunState().written.Get(0), Work() + "/doc.pdf");
  const auto drafts = FileNames(outbox);
  ASSERT_EQ(drafts.size(), 1u);
  const std::string draft = ReadText(outbox + drafts[0]);
  EXPECT_NE(draft.find("filename=\"doc.pdf\""), std::string::npos);
  EXPECT_EQ(draft.find("filename=\"0001"), std::string::npos);
  EXPECT_FALSE(RunState().send_after_run.load());
}

TEST(PdfLayer, BeginFailsWithoutFolderAndAnAdjustedPageTakesTheImageSize) {
  auto document = platform::PdfDocument::New();
  ASSERT_TRUE(document);
  EXPECT_FALSE(document->BeginDocument("/nonexistent-folder/x.pdf"));

  const std::string dir = (TempDir() / "layer").string() + "/";
  fs::create_directories(dir);
  EXPECT_EQ(document->LastSystemError(), ENOENT);
  Magick::Image bmp(Magick::Geometry(300, 150), Magick::Color("green"));
  bmp.density(Magick::Geometry(150, 150));
  bmp.resolutionUnits(MagickCore::PixelsPerInchResolution);
  bmp.write(dir + "p.bmp");
  { std::ofstream(dir + "junk.png") << "not an image"; }

  ASSERT_TRUE(document->BeginDocument(dir + "out.pdf"));
  document->SetSearchPath(dir);
  EXPECT_EQ(document->LoadImage("junk.png"), -1);
  EXPECT_EQ(document->LoadImage("absent.bmp"), -1);
  const int image = document->LoadImage("p.bmp");
  ASSERT_GE(image, 0);
  EXPECT_NEAR(document->ImageSize(image).width, 144.0, 0.01);
  EXPECT_NEAR(document->ImageSize(image).height, 72.0, 0.01);
  EXPECT_TRUE(document->BeginPage(10, 10));
  EXPECT_TRUE(document->FitImage(image, 0, 0, true));
  document->CloseImage(image);
  document->EndPage();
  EXPECT_FALSE(fs::exists(dir + "out.pdf"));  // only on completion
  ASSERT_TRUE(document->EndDocument());
  const mode_t mask = ::umask(0);
  ::umask(mask);
  EXPECT_EQ(fs::status(dir + "out.pdf").permissions(), static_cast<fs::perms>(0666 & ~mask));
  const auto sizes = PageSizes(dir + "out.pdf");
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_NEAR(sizes[0].first, 144.0, 0.01);
  EXPECT_NEAR(sizes[0].second, 72.0, 0.01);
}

TEST(PdfLayer, EachImageGoesToTheFileWhenLoadedAndJpegBytesStandAsTheyAre) {
  const std::string dir = (TempDir() / "stream").string() + "/";
  fs::create_directories(dir);
  Magick::Image page(Magick::Geometry(400, 300), Magick::Color("white"));
  page.magick("JPEG");
  page.density(Magick::Geometry(100, 100));
  page.resolutionUnits(MagickCore::PixelsPerInchResolution);
  Magick::Blob jpeg;
  page.write(&jpeg);
  const std::string_view jpeg_bytes(static_cast<const char*>(jpeg.data()), jpeg.length());

  auto document = platform::PdfDocument::New();
  ASSERT_TRUE(document->BeginDocument(dir + "s.pdf"));
  // The only file in the folder until the end is the hidden temporary one.
  const auto written = [&dir] {
    std::uintmax_t size = 0;
    for (const auto& entry : fs::directory_iterator(dir)) size += entry.file_size();
    return size;
  };
  for (int i = 0; i < 3; ++i) {
    const int image = document->LoadImageBytes(std::as_bytes(std::span(jpeg_bytes.data(), jpeg_bytes.size())));
    ASSERT_GE(image, 0);
    EXPECT_NEAR(document->ImageSize(image).width, 288.0, 0.01);
    ASSERT_TRUE(document->BeginPage(10, 10));
    ASSERT_TRUE(document->FitImage(image, 0, 0, true));
    document->CloseImage(image);
    document->EndPage();
    // Page i is in the file already: nothing waits in memory for the end.
    EXPECT_GE(written(), (i + 1) * jpeg.length());
  }
  EXPECT_FALSE(fs::exists(dir + "s.pdf"));
  ASSERT_TRUE(document->EndDocument());
  EXPECT_EQ(PageSizes(dir + "s.pdf"), (std::vector<std::pair<double, double>>(3, {288.0, 216.0})));
  EXPECT_EQ(Capture("qpdf --check '" + dir + "s.pdf'").second, 0);
  EXPECT_NE(ReadText(dir + "s.pdf").find(jpeg_bytes), std::string::npos);
  EXPECT_EQ(FileNames(dir), std::vector<std::string>{"s.pdf"});
}

}  // namespace
}  // namespace pw::test
