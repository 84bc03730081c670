#include <gtest/gtest.h>

#include <Magick++.h>

#include <array>
#include <chrono>
#include <csignal>
#include <thread>

#include <spawn.h>
#include <sys/wait.h>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/gdi/emf/emf_writer.h"
#include "platform/spooler/spool_writer.h"
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

// Starts the program as a child of this process, which WaitFor waits for.
pid_t StartConvert(const std::string& args) {
  const std::string command = (BuildDir() / "bin" / "pagewick-convert").string() + " " + args + " >/dev/null 2>&1";
  const char* argv[] = {"/bin/sh", "-c", command.c_str(), nullptr};
  pid_t pid = -1;
  if (::posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char* const*>(argv), environ) != 0) return -1;
  return pid;
}

int WaitFor(pid_t pid) {
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Every "Page N size: W x H pts" of pdfinfo, as whole points.
std::vector<std::pair<int, int>> PdfPageSizes(const fs::path& pdf) {
  std::FILE* pipe = ::popen(("pdfinfo -f 1 -l 9999 '" + pdf.string() + "' 2>/dev/null").c_str(), "r");
  std::vector<std::pair<int, int>> sizes;
  if (!pipe) return sizes;
  char line[512];
  while (std::fgets(line, sizeof line, pipe)) {
    int page = 0;
    double w = 0, h = 0;
    if (std::sscanf(line, "Page %d size: %lf x %lf", &page, &w, &h) == 3)
      sizes.emplace_back(static_cast<int>(w + 0.5), static_cast<int>(h + 0.5));
  }
  ::pclose(pipe);
  return sizes;
}

std::string Repeat(const std::string& input, int times) {
  std::string inputs;
  for (int i = 0; i < times; ++i) inputs += " " + input;
  return inputs;
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
  EXPECT_NE(Convert("--help").out.find("Exit codes:"), std::string::npos);
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

TEST(ConvertRuns, TwoPdfRunsAtOnceKeepTheirOwnPagesAndLeaveNoPageFiles) {
  // The shared work folder cannot even be made: a run must not need it.
  { std::ofstream(TempDir() / "Pagewick") << "not a folder"; }
  const std::string wide = WritePage("wide.emf", 80, 40);
  const std::string tall = WritePage("tall.emf", 40, 80);
  const fs::path out = TempDir() / "two";
  fs::create_directories(out);
  const pid_t a = StartConvert("-q --format pdf --dpi 100 -o " + (out / "wide.pdf").string() + Repeat(wide, 8));
  const pid_t b = StartConvert("-q --format pdf --dpi 100 -o " + (out / "tall.pdf").string() + Repeat(tall, 8));
  ASSERT_GT(a, 0);
  ASSERT_GT(b, 0);
  EXPECT_EQ(WaitFor(a), 0);
  EXPECT_EQ(WaitFor(b), 0);
  // 80 mm are 315 pixels at 100 dpi, 227 points; 40 mm 158 pixels, 114
  // points: every page is its own run's.
  EXPECT_EQ(PdfPageSizes(out / "wide.pdf"), (std::vector<std::pair<int, int>>(8, {227, 114})));
  EXPECT_EQ(PdfPageSizes(out / "tall.pdf"), (std::vector<std::pair<int, int>>(8, {114, 227})));
  EXPECT_EQ(Names(out), (std::vector<std::string>{"tall.pdf", "wide.pdf"}));
  // Nothing else is left in the temporary folder but Qt's private runtime
  // folder.
  EXPECT_EQ(Names(TempDir()), (std::vector<std::string>{"Pagewick", "runtime", "tall.emf", "two", "wide.emf"}));
}

TEST(ConvertRuns, AGalleryTouchesOnlyFilesAGalleryWrites) {
  const std::string a = WritePage("a.emf", 30, 30);
  const fs::path folder = TempDir() / "site" / "Report_files";
  fs::create_directories(folder);
  { std::ofstream(folder / "style.css") << "body{}"; }
  { std::ofstream(folder / "0001.jpg") << "a browser's copy"; }
  Result r = Convert("--format html -o " + (TempDir() / "site" / "Report").string() + " " + a);
  EXPECT_EQ(r.code, 1) << r.out;
  EXPECT_NE(r.out.find("Error 0009836"), std::string::npos) << r.out;
  EXPECT_EQ(Names(folder), (std::vector<std::string>{"0001.jpg", "style.css"}));
  EXPECT_FALSE(fs::exists(TempDir() / "site" / "Report.html"));

  // A folder of an earlier gallery alone is replaced, a longer one's
  // pages included.
  const fs::path own = TempDir() / "site" / "G_files";
  fs::create_directories(own);
  for (const char* name : {"0001.png", "0001_.png", "0002.png", "0002_.png", "header.html", "bottoms.html"})
    std::ofstream(own / name) << "old";
  r = Convert("--format html -o " + (TempDir() / "site" / "G").string() + " " + a);
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_EQ(Names(own), (std::vector<std::string>{"0001.jpg", "0001_.jpg", "bottoms.html", "header.html"}));
}

TEST(ConvertRuns, AGalleryNameIsEscapedInItsHtml) {
  const std::string a = WritePage("a.emf", 30, 30);
  const std::string base = "it's <b>x&y #1";
  const Result r = Convert("--format html -o '" + (TempDir() / "g").string() + "/it'\\''s <b>x&y #1' " + a);
  ASSERT_EQ(r.code, 0) << r.out;
  std::ifstream in(TempDir() / "g" / (base + ".html"));
  const std::string html((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(html.find("<TITLE>it&#39;s &lt;b&gt;x&amp;y #1</TITLE>"), std::string::npos) << html;
  EXPECT_NE(html.find("SRC='it&#39;s &lt;b&gt;x&amp;y %231_files/header.html'"), std::string::npos) << html;
  // No quote of the name ends an attribute early: every SRC is whole.
  EXPECT_EQ(html.find("SRC='it'"), std::string::npos);
  EXPECT_TRUE(fs::exists(TempDir() / "g" / (base + "_files") / "0001.jpg"));
}

TEST(ConvertRuns, FailuresAreNeverReportedAsSuccess) {
  const std::string a = WritePage("a.emf", 30, 30);
  // A PDF whose name is a folder cannot be saved.
  fs::create_directories(TempDir() / "d" / "doc.pdf");
  Result r = Convert("--format pdf -o " + (TempDir() / "d" / "doc.pdf").string() + " " + a);
  EXPECT_EQ(r.code, 1) << r.out;
  EXPECT_NE(r.out.find("Is a directory"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("too long"), std::string::npos) << r.out;
  EXPECT_EQ(Names(TempDir() / "d"), std::vector<std::string>{"doc.pdf"});  // no temporary file left

  // Inputs that cannot be read say what is wrong with them.
  r = Convert("-o " + (TempDir() / "x").string() + " " + TempDir().string());
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.out.find("is a folder, not a file"), std::string::npos) << r.out;

  // A page too large for any image is refused with one message, leaves no
  // folder made for it and no cache file of the image library behind.
  gdi::EmfWriter vast;
  vast.Frame({0, 0, 200000, 200000}).Device({20000, 20000}, {2000, 2000});
  vast.Rectangle({0, 0, 100, 100});
  const auto bytes = vast.Finish();
  const std::string huge = (TempDir() / "huge.emf").string();
  std::ofstream(huge, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
  r = Convert("--format png --dpi 600 -o " + (TempDir() / "new" / "deep" / "p").string() + " " + huge);
  EXPECT_EQ(r.code, 1) << r.out;
  EXPECT_NE(r.out.find("The page image would be wider or taller than 16000 pixels."), std::string::npos) << r.out;
  EXPECT_LT(r.out.size(), 1000u) << r.out;
  EXPECT_FALSE(fs::exists(TempDir() / "new"));
  for (const std::string& name : Names(TempDir())) EXPECT_FALSE(name.starts_with("magick-")) << name;
}

TEST(ConvertRuns, ASeriesPageReplacesALinkAtItsNameAndNeverWritesThroughIt) {
  const std::string a = WritePage("a.emf", 30, 30);
  const fs::path out = TempDir() / "links";
  fs::create_directories(out);
  const fs::path victim = TempDir() / "victim.txt";
  { std::ofstream(victim) << "keep me"; }
  fs::create_symlink(victim, out / "p0001.png");
  const Result r = Convert("--format png --dpi 30 -o " + (out / "p").string() + " " + a);
  ASSERT_EQ(r.code, 0) << r.out;
  EXPECT_FALSE(fs::is_symlink(out / "p0001.png"));
  EXPECT_EQ(Magick::Image((out / "p0001.png").string()).magick(), "PNG");
  std::ifstream in(victim);
  std::string text;
  std::getline(in, text);
  EXPECT_EQ(text, "keep me");
}

TEST(ConvertRuns, ACutOffSpoolFileIsToldAndCountsAsAFailure) {
  spooler::SpoolWriter writer("doc", "port");
  std::size_t one_page = 0;
  for (int i = 0; i < 3; ++i) {
    gdi::EmfWriter page;
    page.Frame({0, 0, 3000, 3000}).Device({300, 300}, {30, 30});
    page.Rectangle({0, 0, 100 + i, 100});
    writer.AddPage(page.Finish());
    if (i == 0) one_page = writer.Finish().size() - 8;  // less the end record
  }
  std::vector<std::byte> spool = writer.Finish();
  const std::string whole = (TempDir() / "whole.spl").string();
  const std::string cut = (TempDir() / "cut.spl").string();
  std::ofstream(whole, std::ios::binary).write(reinterpret_cast<const char*>(spool.data()),
                                               static_cast<std::streamsize>(spool.size()));
  // Cut inside the second page's record.
  std::ofstream(cut, std::ios::binary).write(reinterpret_cast<const char*>(spool.data()),
                                             static_cast<std::streamsize>(one_page + 40));

  Result r = Convert("--format bmp --dpi 20 -o " + (TempDir() / "w" / "p").string() + " " + whole);
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_EQ(Names(TempDir() / "w").size(), 3u);
  r = Convert("--format bmp --dpi 20 -o " + (TempDir() / "c" / "p").string() + " " + cut);
  EXPECT_EQ(r.code, 1) << r.out;
  EXPECT_NE(r.out.find("could not be read"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("the file ends inside a record"), std::string::npos) << r.out;
  EXPECT_EQ(Names(TempDir() / "c"), std::vector<std::string>{"p0001.bmp"});

  // The split tool tells the same and fails.
  const std::string capture = (BuildDir() / "bin" / "pagewick-capture").string();
  std::FILE* pipe = ::popen((capture + " split " + cut + " " + (TempDir() / "s").string() + " 2>&1").c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string said(4096, '\0');
  said.resize(std::fread(said.data(), 1, said.size(), pipe));
  const int status = ::pclose(pipe);
  EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 1) << said;
  EXPECT_NE(said.find("1 of 2 page(s) written"), std::string::npos) << said;
  EXPECT_NE(said.find("the file ends inside a record"), std::string::npos) << said;
}

}  // namespace
}  // namespace pw::test
