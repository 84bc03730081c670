#include <gtest/gtest.h>

#include <Magick++.h>

#include <array>
#include <chrono>
#include <csignal>
#include <thread>

#include <sys/wait.h>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/gdi/emf/emf_writer.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"
#include "tests/support/corpus.h"
#include "tests/support/test_home.h"

namespace pw::test {
namespace {

namespace fs = std::filesystem;

struct Result {
  int code = -1;
  std::string out;
};

// Runs pagewick-convert with the test's home and temporary folder.
Result Convert(const std::string& args) {
  const std::string command = (BuildDir() / "bin" / "pagewick-convert").string() + " " + args + " 2>&1";
  Result result;
  std::FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return result;
  std::array<char, 4096> buffer{};
  while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe)) result.out.append(buffer.data(), n);
  const int status = ::pclose(pipe);
  result.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

std::string WritePage(const std::string& name, int width_mm, int height_mm) {
  gdi::EmfWriter writer;
  writer.Frame({0, 0, width_mm * 100, height_mm * 100}).Device({width_mm * 10, height_mm * 10}, {width_mm, height_mm});
  writer.CreateBrush(1, gdi::BrushStyle::Solid, 0x000000FF).SelectObject(1);
  writer.Rectangle({0, 0, width_mm * 5, height_mm * 5});
  const auto bytes = writer.Finish();
  const std::string path = (TempDir() / name).string();
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
  return path;
}

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(folder, ec)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(Convert, SeriesInInputOrderWithTheGivenOptionsAndNothingStored) {
  const std::string a = WritePage("a.emf", 40, 20);
  const std::string b = WritePage("b.emf", 20, 40);
  const fs::path out = TempDir() / "out";
  const Result r = Convert("--format png --dpi 50 --antialias 2 -o " + (out / "Base").string() + " " + b + " " + a);
  ASSERT_EQ(r.code, 0) << r.out;
  EXPECT_EQ(Names(out), (std::vector<std::string>{"Base0001.png", "Base0002.png"}));
  Magick::Image first((out / "Base0001.png").string());
  EXPECT_EQ(first.magick(), "PNG");
  EXPECT_EQ(first.columns(), 40u);  // b: 20 mm at 50 dpi, rounded up
  EXPECT_EQ(first.rows(), 79u);
  const double per_inch = first.resolutionUnits() == MagickCore::PixelsPerCentimeterResolution ? 2.54 : 1.0;
  EXPECT_NEAR(first.xResolution() * per_inch, 50.0, 0.1);
  // The user's stored settings are untouched.
  EXPECT_EQ(settings::ReadUserDword("ResCur"), -1);
  EXPECT_EQ(settings::ReadUserDword("PNG_Default"), -1);
}

TEST(Convert, SaveSettingsStoresWhatWasGiven) {
  const std::string a = WritePage("a.emf", 30, 30);
  const Result r = Convert("--format gif --jpg-quality 55 --save-settings -o " + (TempDir() / "o" / "x").string() + " " + a);
  ASSERT_EQ(r.code, 0) << r.out;
  EXPECT_EQ(settings::ReadUserDword("JPG_Quality"), 55);
  EXPECT_EQ(settings::ReadUserDword("GIF_Default"), 1);
  EXPECT_EQ(settings::ReadUserDword("JPG_Default"), 0);
}

TEST(Convert, PresetsComeFromTheProgramsTable) {
  const std::string a = WritePage("a.emf", 25, 25);
  const fs::path out = TempDir() / "p";
  const Result r = Convert("--preset professional --save-settings -o " + (out / "x").string() + " " + a);
  ASSERT_EQ(r.code, 0) << r.out;
  EXPECT_EQ(Names(out), (std::vector<std::string>{"x0001.tif"}));
  Magick::Image page((out / "x0001.tif").string());
  EXPECT_EQ(page.columns(), 296u);  // 25 mm at 300 dpi, rounded up
  EXPECT_EQ(settings::ReadUserDword("ResCur"), 3000);
  EXPECT_EQ(settings::ReadUserDword("KodAntialias"), 7);
  EXPECT_EQ(settings::ReadUserDword("TIF_Colors"), 64);
  EXPECT_EQ(settings::ReadUserDword("lvKodPreset"), 2);
  EXPECT_EQ(Convert("--preset 5 -o " + (out / "y").string() + " " + a).code, 2);
}

TEST(Convert, PdfWithOnePagePerInputAndGallery) {
  const std::string a = WritePage("a.emf", 40, 20);
  const std::string b = WritePage("b.emf", 20, 40);
  const fs::path pdf = TempDir() / "doc.pdf";
  Result r = Convert("--format pdf --pdf-inside png --dpi 72 -o " + pdf.string() + " " + a + " " + b + " " + a);
  ASSERT_EQ(r.code, 0) << r.out;
  const Result info = Convert("--help");  // the tool still answers
  EXPECT_EQ(info.code, 0);
  std::FILE* pipe = ::popen(("pdfinfo '" + pdf.string() + "'").c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string text(4096, '\0');
  text.resize(std::fread(text.data(), 1, text.size(), pipe));
  ::pclose(pipe);
  EXPECT_NE(text.find("Pages:           3"), std::string::npos) << text;
  EXPECT_FALSE(settings::ReadUserString("PDF_Bitmp_Format").has_value());  // put back

  r = Convert("--format html -o " + (TempDir() / "g" / "Gal").string() + " " + a + " " + b);
  ASSERT_EQ(r.code, 0) << r.out;
  EXPECT_EQ(Names(TempDir() / "g" / "Gal_files"),
            (std::vector<std::string>{"0001.jpg", "0001_.jpg", "0002.jpg", "0002_.jpg", "bottoms.html", "header.html"}));
  EXPECT_TRUE(fs::exists(TempDir() / "g" / "Gal.html"));
}

TEST(Convert, APdfRunLeavesTheStoredSettingsAsTheyWereEvenWhenKilled) {
  ASSERT_TRUE(settings::WriteUserString("PDF_Bitmp_Format", "JPG"));
  const std::string a = WritePage("a.emf", 210, 297);
  std::string inputs;
  for (int i = 0; i < 60; ++i) inputs += " " + a;
  const fs::path out = TempDir() / "k";
  fs::create_directories(out);
  const std::string command = (BuildDir() / "bin" / "pagewick-convert").string() +
                              " -q --format pdf --pdf-inside png --dpi 150 -o " + (out / "doc.pdf").string() + inputs +
                              " >/dev/null 2>&1 & echo $!";
  std::FILE* pipe = ::popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  int pid = 0;
  ASSERT_EQ(std::fscanf(pipe, "%d", &pid), 1);
  ::pclose(pipe);
  // Killed once the document is begun, while pages render.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (Names(out).empty() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  ASSERT_FALSE(Names(out).empty());
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
  EXPECT_EQ(settings::ReadUserString("PDF_Bitmp_Format"), "JPG");

  const Result r = Convert("--format pdf --pdf-inside png --dpi 30 -o " + (TempDir() / "whole.pdf").string() + " " + a);
  ASSERT_EQ(r.code, 0) << r.out;
  EXPECT_EQ(settings::ReadUserString("PDF_Bitmp_Format"), "JPG");
  EXPECT_EQ(settings::ReadUserDword("KodMultipageFormat"), -1);
}

TEST(Convert, UsageAndInputErrorsExitWith2) {
  const std::string a = WritePage("a.emf", 30, 30);
  EXPECT_EQ(Convert("--format svg -o x " + a).code, 2);
  EXPECT_EQ(Convert("--dpi zero -o x " + a).code, 2);
  EXPECT_EQ(Convert("-o x").code, 2);
  EXPECT_EQ(Convert(a).code, 2);
  const std::string junk = (TempDir() / "junk.emf").string();
  std::ofstream(junk) << "not a metafile at all";
  const Result r = Convert("-o " + (TempDir() / "j" / "x").string() + " " + junk);
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.out.find("neither an EMF page nor an EMF spool file"), std::string::npos);
  EXPECT_EQ(Convert("-o x " + (TempDir() / "missing.emf").string()).code, 2);
  EXPECT_NE(Convert("--help").out.find("Exit codes: 0 success"), std::string::npos);
}

TEST(Convert, AnUnwritableTargetFailsWithExit1AndSaysWhy) {
  const std::string a = WritePage("a.emf", 30, 30);
  const fs::path out = TempDir() / "o";
  fs::create_directories(out / "x0001.jpg");  // a folder where the file goes
  const Result r = Convert("--format jpg -o " + (out / "x").string() + " " + a);
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.out.find("The file could not be written:"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Is a directory"), std::string::npos) << r.out;
}

TEST(Convert, SpoolFilesAreSplitIntoPages) {
  PW_REQUIRE_CORPUS();
  const fs::path spool = *CorpusDir() / "spl" / "emfspoolreader__EMFSpoolfileReader_00003.SPL";
  if (!fs::exists(spool)) GTEST_SKIP() << "spool sample missing";
  const std::string a = WritePage("a.emf", 30, 30);
  const fs::path out = TempDir() / "s";
  const Result r = Convert("--format bmp --dpi 20 -o " + (out / "p").string() + " " + a + " " + spool.string());
  ASSERT_LE(r.code, 1) << r.out;
  const auto names = Names(out);
  ASSERT_GE(names.size(), 2u);
  EXPECT_EQ(names.front(), "p0001.bmp");
  EXPECT_EQ(names[1], "p0002.bmp");
}

}  // namespace
}  // namespace pw::test
