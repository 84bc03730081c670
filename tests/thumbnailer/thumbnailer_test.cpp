#include <gtest/gtest.h>

#include <Magick++.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>

#include "platform/gdi/emf/emf_writer.h"
#include "platform/spooler/spool_writer.h"
#include "render/image_library.h"
#include "tests/support/corpus.h"
#include "tests/support/test_home.h"
#include "tools/pagewick-thumbnailer/first_page.h"

namespace pw::test {
namespace {

namespace fs = std::filesystem;

// A page of width × height mm: white, with its top-left quarter red.
std::vector<std::byte> QuarterRedPage(int width_mm, int height_mm) {
  gdi::EmfWriter writer;
  writer.Frame({0, 0, width_mm * 100, height_mm * 100}).Device({width_mm * 10, height_mm * 10}, {width_mm, height_mm});
  writer.CreateBrush(1, gdi::BrushStyle::Solid, 0x000000FF).SelectObject(1);
  writer.Rectangle({0, 0, width_mm * 5, height_mm * 5});
  return writer.Finish();
}

fs::path WriteFile(const std::string& name, std::span<const std::byte> bytes) {
  const fs::path path = TempDir() / name;
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return path;
}

int RunThumbnailer(const std::string& args) {
  const std::string command = (BuildDir() / "bin" / "pagewick-thumbnailer").string() + " " + args + " 2>/dev/null";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool IsRed(const Magick::Image& image, int x, int y) {
  const Magick::ColorRGB c = image.pixelColor(x, y);
  return c.red() > 0.8 && c.green() < 0.2 && c.blue() < 0.2;
}
bool IsWhite(const Magick::Image& image, int x, int y) {
  const Magick::ColorRGB c = image.pixelColor(x, y);
  return c.red() > 0.95 && c.green() > 0.95 && c.blue() > 0.95;
}

TEST(Thumbnailer, SpoolFileGivesItsFirstValidPageFittedToTheSize) {
  render::EnsureImageLibrary();
  std::vector<std::byte> broken(200, std::byte{0x41});
  spooler::SpoolWriter spool("Report.doc");
  spool.AddPage(broken).AddPage(QuarterRedPage(200, 100)).AddPage(QuarterRedPage(100, 200));
  const auto path = WriteFile("three.spl", spool.Finish());

  auto page = thumbnailer::FirstPage(path);
  ASSERT_TRUE(page) << page.error();
  auto image = thumbnailer::DrawThumbnail(*page, 128);
  ASSERT_TRUE(image) << image.error();
  EXPECT_EQ(image->columns(), 128u);  // the landscape page, not the portrait one after it
  EXPECT_EQ(image->rows(), 64u);
  EXPECT_TRUE(IsRed(*image, 10, 10));
  EXPECT_TRUE(IsWhite(*image, 118, 54));
}

TEST(Thumbnailer, ExtremeShapesKeepAtLeastOnePixelAndTheLongerSideExact) {
  render::EnsureImageLibrary();
  for (const auto& [w, h] : {std::pair{1, 1000}, std::pair{1000, 1}, std::pair{210, 297}}) {
    const auto path = WriteFile("page.emf", QuarterRedPage(w, h));
    auto page = thumbnailer::FirstPage(path);
    ASSERT_TRUE(page) << page.error();
    auto image = thumbnailer::DrawThumbnail(*page, 256);
    ASSERT_TRUE(image) << image.error();
    EXPECT_EQ(std::max(image->columns(), image->rows()), 256u) << w << "x" << h;
    EXPECT_GE(std::min(image->columns(), image->rows()), 1u) << w << "x" << h;
  }
}

TEST(Thumbnailer, ProgramWritesThePngAndTellsEachFailureByItsExitCode) {
  render::EnsureImageLibrary();
  const auto page = WriteFile("a4.emf", QuarterRedPage(210, 297));
  const auto out = TempDir() / "thumb.png";
  ASSERT_EQ(RunThumbnailer("-s 96 " + page.string() + " " + out.string()), 0);
  Magick::Image png(out.string());
  EXPECT_EQ(png.rows(), 96u);
  EXPECT_EQ(png.columns(), 68u);  // 96 × 210 / 297, rounded
  png.classType(Magick::DirectClass);  // the encoder may have chosen a palette
  EXPECT_TRUE(IsRed(png, 5, 5));
  EXPECT_TRUE(IsWhite(png, 60, 90));

  const auto garbage = WriteFile("garbage.emf", std::vector<std::byte>(4096, std::byte{7}));
  EXPECT_EQ(RunThumbnailer(garbage.string() + " " + out.string()), 2);
  EXPECT_EQ(RunThumbnailer(TempDir().string() + " " + out.string()), 2);  // a folder
  EXPECT_EQ(RunThumbnailer(page.string() + " " + (TempDir() / "no/such/folder/t.png").string()), 3);
  EXPECT_EQ(RunThumbnailer("-s 0 " + page.string() + " " + out.string()), 1);
  EXPECT_EQ(RunThumbnailer("-s 12x " + page.string() + " " + out.string()), 1);
  // A failed run leaves the earlier thumbnail whole.
  EXPECT_NO_THROW(Magick::Image(out.string()));
}

// The program runs without a GUI application or a desktop session, as a
// file manager starts it: it must draw text exactly as the renderer does
// inside the window, and say nothing on a good page.
TEST(Thumbnailer, ProgramDrawsTextAsTheWindowDoesAndIsQuietWithoutASession) {
  render::EnsureImageLibrary();
  const fs::path sample = BuildDir() / "share" / "pagewick" / "emf" / "00002.emf";  // an A4 page of text
  ASSERT_TRUE(fs::exists(sample));
  const auto out = TempDir() / "text.png";
  const auto said = TempDir() / "said.txt";
  const std::string command = "env -u XDG_RUNTIME_DIR -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY " +
                              (BuildDir() / "bin" / "pagewick-thumbnailer").string() + " -s 300 " +
                              sample.string() + " " + out.string() + " >" + said.string() + " 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_EQ(fs::file_size(said), 0u);

  auto page = thumbnailer::FirstPage(sample);
  ASSERT_TRUE(page);
  auto in_process = thumbnailer::DrawThumbnail(*page, 300);
  ASSERT_TRUE(in_process);
  Magick::Image written(out.string());
  written.classType(Magick::DirectClass);
  in_process->depth(8);
  ASSERT_EQ(written.columns(), in_process->columns());
  ASSERT_EQ(written.rows(), in_process->rows());
  EXPECT_TRUE(written.compare(*in_process)) << "the program's pixels differ from the renderer's";
  // And the page is not blank: its text is there to compare.
  Magick::Image::ImageStatistics stats;
  written.statistics(&stats);
  EXPECT_LT(stats.red.minimum, Magick::Color::scaleDoubleToQuantum(0.5));  // in quantum units
}

// Every file of the shared corpus: no crash, and a PNG of the asked size for
// every file whose first page loads.
TEST(Thumbnailer, EveryCorpusFileGivesAThumbnailOrAClearRefusal) {
  PW_REQUIRE_CORPUS();
  std::vector<fs::path> files;
  for (const char* folder : {"emf", "spl"})
    for (const auto& entry : fs::directory_iterator(*CorpusDir() / folder))
      if (entry.is_regular_file()) files.push_back(entry.path());
  ASSERT_FALSE(files.empty());
  const auto out = TempDir() / "corpus.png";
  int drawn = 0;
  for (const auto& file : files) {
    fs::remove(out);
    const int code = RunThumbnailer("-s 128 '" + file.string() + "' " + out.string());
    ASSERT_TRUE(code == 0 || code == 2) << file << " exit " << code;
    if (code != 0) continue;
    Magick::Image png(out.string());
    EXPECT_EQ(std::max(png.columns(), png.rows()), 128u) << file;
    ++drawn;
  }
  EXPECT_GT(drawn, static_cast<int>(files.size()) / 2);
}

}  // namespace
}  // namespace pw::test
