// Saving and sending from the real program: a printed capture saved as a
// series, a PDF, a gallery and an e-mail draft through the program's own
// dialogs, and a long save stopped with Esc. Set PAGEWICK_SCREENSHOTS to a
// folder to keep the screenshots.
#include "settings/settings_store.h"
#include "tests/support/corpus.h"
#include "tests/support/test_home.h"
#include "tests/support/x_session.h"

#include <QColor>
#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

namespace pw::test {
namespace {

namespace fs = std::filesystem;

const QString kTitle = QStringLiteral("Tavrin Pagewick");
const QString kSaveTitle = QStringLiteral("Save As");
const QString kMessageTitle = QStringLiteral("Tavrin Pagewick Message");

std::vector<std::string> Files(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
    if (it->is_regular_file()) names.push_back(it->path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string Text(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool WaitUntil(const std::function<bool()>& done, int timeout_ms) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < timeout_ms) {
    if (done()) return true;
    QThread::msleep(200);
  }
  return done();
}

// Thumbnails in the strip of a photograph of the window: runs of non-fill
// pixels down the middle of the strip at least 40 pixels high.
int Thumbnails(const QImage& shot) {
  if (shot.isNull()) return 0;
  const int column = shot.width() - 163 + 72;
  int count = 0;
  int run = 0;
  for (int y = 7; y < shot.height() - 7; ++y) {
    const QColor c = shot.pixelColor(column, y);
    const bool fill = std::abs(c.red() - 224) < 6 && std::abs(c.green() - 224) < 6 && std::abs(c.blue() - 248) < 6;
    const bool red = c.red() > 200 && c.green() < 60 && c.blue() < 60;
    if (!fill && !red) {
      ++run;
      continue;
    }
    if (run >= 40) ++count;
    run = 0;
  }
  return count;
}

int ShellStatus(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class SaveEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    // No tip of the day; no option sheets after the dialogs; 100 dpi, so
    // that the PDF save asks nothing about the resolution.
    settings::WriteUserDword("lvStartHelpCheck", 1);
    settings::WriteUserDword("SaveFile_Opt", 0);
    settings::WriteUserDword("CheckN", 2);
    settings::WriteUserDword("ResCur", 1000);
    settings::WriteUserDword("KodAntialias", 1);
    out_ = TempDir() / "out";
    fs::create_directories(out_);
    settings::WriteUserString("SavePath", out_.string() + "/");
    // xdg-open is a stand-in that notes what it was asked to open.
    const fs::path bin = TempDir() / "bin";
    fs::create_directories(bin);
    opened_ = TempDir() / "opened.txt";
    {
      std::ofstream stub(bin / "xdg-open");
      stub << "#!/bin/sh\necho \"$1\" >> '" << opened_.string() << "'\n";
    }
    fs::permissions(bin / "xdg-open", fs::perms::owner_all);
    saved_path_ = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", (bin.string() + ":" + saved_path_).c_str(), 1);
    outbox_ = TempDir() / "outbox";
    fs::create_directories(outbox_);
    setenv("PAGEWICK_MAIL", ("outbox:" + outbox_.string() + "/").c_str(), 1);
  }
  void TearDown() override {
    setenv("PATH", saved_path_.c_str(), 1);
    unsetenv("PAGEWICK_MAIL");
  }

  // Prints `count` pages (the corpus pages over and over) and waits for the
  // window; empty when either fails.
  std::optional<QString> Capture(XSession& x, int count) {
    const std::optional<fs::path> corpus = CorpusDir();
    if (!corpus) return std::nullopt;
    QStringList arguments{QStringLiteral("print"), QStringLiteral("--doc"), QStringLiteral("Report.doc")};
    for (int n = 0; n < count; ++n) {
      const fs::path page =
          *corpus / "pages" / ("emfspoolreader__EMFSpoolfileReader_00004__p" + std::to_string(n % 3 + 1) + ".emf");
      arguments << QString::fromStdString(page.string());
    }
    const XSession::Result printed = x.run(Program("pagewick-capture"), arguments);
    if (printed.code != 0) return std::nullopt;
    const std::optional<QString> window = x.waitForWindow(kTitle, 60000);
    if (!window) return std::nullopt;
    // The splash goes and the strip fills (as far as it shows pages).
    const int shown = std::min(count, 3);
    if (!WaitUntil([&] { return Thumbnails(x.grab(*window)) >= shown; }, 90000)) return std::nullopt;
    QThread::msleep(count > 3 ? 1000 : 500);
    return window;
  }

  // In the save dialog that a key opened: types the whole path over the
  // proposed name and confirms it.
  void SaveAs(XSession& x, const QString& window, const QString& keys, const std::string& path,
              const char* shot = nullptr) {
    // A run that is still ending (it opens its file before it is done)
    // lets no other start: the key is pressed again until the dialog comes.
    std::optional<QString> dialog;
    for (int attempt = 0; attempt < 6 && !dialog; ++attempt) {
      x.key(window, keys);
      dialog = x.waitForWindow(kSaveTitle, 10000);
    }
    ASSERT_TRUE(dialog) << "no save dialog after " << keys.toStdString();
    QThread::msleep(500);
    if (shot) x.grabScreen(ShotPath(shot));
    x.key(*dialog, QStringLiteral("ctrl+a"));
    x.run(QStringLiteral("xdotool"), {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("10"),
                                      QString::fromStdString(path)});
    x.key(*dialog, QStringLiteral("Return"));
    ASSERT_TRUE(x.waitForWindowGone(kSaveTitle, 30000));
  }

  fs::path out_;
  fs::path opened_;
  fs::path outbox_;
  std::string saved_path_;
};

TEST_F(SaveEndToEnd, ThreePagesAsSeriesPdfGalleryAndMail) {
  PW_REQUIRE_CORPUS();
  PW_REQUIRE_X_SESSION(x);
  // A slower render, so that the window can be seen writing.
  settings::WriteUserDword("ResCur", 2000);
  const std::optional<QString> window = Capture(*x, 3);
  ASSERT_TRUE(window);

  // Ctrl+S: the series under a name of our own, in a folder of our own.
  const fs::path series = out_ / "series";
  fs::create_directories(series);
  SaveAs(*x, *window, QStringLiteral("ctrl+s"), (series / "Pages").string(), "save-dialog.png");
  // While the run writes, the status line says so: photographed once the
  // first page is on disk.
  if (WaitUntil([&] { return !Files(series).empty(); }, 60000)) x->grabScreen(ShotPath("writing-page-2-of-3.png"));
  ASSERT_TRUE(WaitUntil([&] { return Files(series).size() == 3; }, 120000));
  EXPECT_EQ(Files(series), (std::vector<std::string>{"Pages0001.jpg", "Pages0002.jpg", "Pages0003.jpg"}));

  // Ctrl+P with "Start file after creation" ticked (its stored default).
  settings::WriteUserDword("ResCur", 1000);
  SaveAs(*x, *window, QStringLiteral("ctrl+p"), (out_ / "Book").string());
  const fs::path pdf = out_ / "Book.pdf";
  ASSERT_TRUE(WaitUntil([&] { return fs::exists(opened_); }, 120000)) << "the PDF was not opened";
  EXPECT_EQ(ShellStatus("qpdf --check '" + pdf.string() + "' >/dev/null 2>&1"), 0);
  EXPECT_EQ(ShellStatus("test \"$(qpdf --show-npages '" + pdf.string() + "')\" = 3"), 0);
  EXPECT_EQ(fs::path(Text(opened_).substr(0, Text(opened_).find('\n'))).lexically_normal(), pdf);

  // Ctrl+W: the gallery.
  SaveAs(*x, *window, QStringLiteral("ctrl+w"), (out_ / "Gallery").string());
  ASSERT_TRUE(WaitUntil([&] { return Text(opened_).find("Gallery.html") != std::string::npos; }, 120000))
      << "the gallery was not opened";
  EXPECT_EQ(Files(out_ / "Gallery_files").size(), 8u);
  EXPECT_TRUE(fs::exists(out_ / "Gallery.html"));

  // Ctrl+M: the e-mail format dialog, OK on its stored JPG, once the
  // gallery's run has ended.
  QThread::msleep(3000);
  x->key(*window, QStringLiteral("ctrl+m"));
  QThread::msleep(1500);
  x->grabScreen(ShotPath("mail-format-dialog.png"));
  const std::optional<QString> dialog = x->activeWindow();
  ASSERT_TRUE(dialog);
  x->key(*dialog, QStringLiteral("Return"));
  ASSERT_TRUE(WaitUntil([&] { return Files(outbox_).size() == 1; }, 120000));
  const std::string draft = Text(outbox_ / Files(outbox_)[0]);
  std::vector<std::string> attached;
  const std::regex name(R"re(filename="([^"]+)")re");
  for (std::sregex_iterator it(draft.begin(), draft.end(), name), end; it != end; ++it) attached.push_back((*it)[1]);
  EXPECT_EQ(attached, (std::vector<std::string>{"Report0001.jpg", "Report0002.jpg", "Report0003.jpg"}));
}

TEST_F(SaveEndToEnd, EscDuringALongSaveAsksAndYesStopsTheRunKeepingItsFiles) {
  PW_REQUIRE_CORPUS();
  PW_REQUIRE_X_SESSION(x);
  // Pages slow enough that the run is still going when Esc comes.
  settings::WriteUserDword("ResCur", 3000);
  settings::WriteUserDword("KodAntialias", 3);
  const std::optional<QString> window = Capture(*x, 20);
  ASSERT_TRUE(window);

  SaveAs(*x, *window, QStringLiteral("ctrl+s"), (out_ / "Long").string());
  ASSERT_TRUE(WaitUntil([&] { return !Files(out_).empty(); }, 120000));
  x->key(*window, QStringLiteral("Escape"));
  const std::optional<QString> question = x->waitForWindow(kMessageTitle, 60000);
  ASSERT_TRUE(question) << "no abort question";
  x->grabScreen(ShotPath("abort-question.png"));
  x->key(*question, QStringLiteral("Return"));  // OK: stop
  ASSERT_TRUE(x->waitForWindowGone(kMessageTitle, 30000));

  // No further page is written; what was written stays.
  const std::size_t written = Files(out_).size();
  QThread::msleep(5000);
  EXPECT_EQ(Files(out_).size(), written);
  EXPECT_GE(written, 1u);
  EXPECT_LT(written, 20u);
  EXPECT_EQ(Files(out_)[0], "Long0001.jpg");
}

}  // namespace
}  // namespace pw::test
