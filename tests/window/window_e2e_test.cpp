// The road of a capture in the real program: printed pages, a clipboard
// page and the sample pages appear in the window; the keys, a thumbnail
// click and the exit button do what they say. Set PAGEWICK_SCREENSHOTS to
// a folder to keep the screenshots.
#include "platform/clipboard/clipboard_store.h"
#include "platform/spooler/spooler.h"
#include "settings/settings_store.h"
#include "tests/support/corpus.h"
#include "tests/support/test_home.h"
#include "tests/support/x_session.h"

#include <QColor>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <vector>

namespace pw::test {
namespace {

namespace fs = std::filesystem;

const QString kTitle = QStringLiteral("Tavrin Pagewick");
const QString kWordTitle = QStringLiteral("Report.doc - Microsoft Word");

bool IsPanelFill(QColor c) { return std::abs(c.red() - 224) < 6 && std::abs(c.green() - 224) < 6 && std::abs(c.blue() - 248) < 6; }
bool IsRed(QColor c) { return c.red() > 200 && c.green() < 60 && c.blue() < 60; }
bool IsTextBlue(QColor c) { return c.blue() > 120 && c.red() < 90 && c.green() < 90; }

// What a screenshot of the window shows: the thumbnails down the strip
// (their vertical extents), which of them wears the red frame, whether the
// page view shows a page and the status line a text.
struct WindowShot {
  std::vector<std::pair<int, int>> thumbnails;
  int framed = -1;
  int page_pixels = 0;
  int red_page_pixels = 0;  // of those, the ones a red fill gives
  int status_pixels = 0;
};

WindowShot Read(const QImage& shot) {
  WindowShot seen;
  if (shot.isNull()) return seen;
  const int cx = shot.width();
  const int cy = shot.height();
  const int strip_left = cx - 163;
  const int column = strip_left + 72;  // the middle of the strip's client
  int run_start = -1;
  for (int y = 7; y <= cy - 7; ++y) {
    const bool thumb = y < cy - 7 && !IsPanelFill(shot.pixelColor(column, y)) && !IsRed(shot.pixelColor(column, y));
    if (thumb && run_start < 0) run_start = y;
    if (!thumb && run_start >= 0) {
      // Captions are short runs of text; a thumbnail is at least 40 high.
      if (y - run_start >= 40) seen.thumbnails.emplace_back(run_start, y - 1);
      run_start = -1;
    }
  }
  for (std::size_t i = 0; i < seen.thumbnails.size(); ++i) {
    const int top = seen.thumbnails[i].first;
    for (int x = strip_left; x < cx - 19 && seen.framed < 0; ++x) {
      if (IsRed(shot.pixelColor(x, top - 1)) || IsRed(shot.pixelColor(x, top - 2))) seen.framed = static_cast<int>(i);
    }
  }
  for (int y = 10; y < cy - 35; y += 3)
    for (int x = 45; x < cx - 175; x += 3)
      if (!IsPanelFill(shot.pixelColor(x, y))) {
        ++seen.page_pixels;
        if (IsRed(shot.pixelColor(x, y))) ++seen.red_page_pixels;
      }
  for (int y = cy - 21; y < cy - 5; ++y)
    for (int x = 10; x < cx - 180; ++x)
      if (IsTextBlue(shot.pixelColor(x, y))) ++seen.status_pixels;
  return seen;
}

// Photographs the window until `done` holds or the time is up.
WindowShot WaitFor(const XSession& x, const QString& window, const std::function<bool(const WindowShot&)>& done,
                   int timeout_ms = 90000) {
  QElapsedTimer timer;
  timer.start();
  WindowShot seen;
  while (timer.elapsed() < timeout_ms) {
    seen = Read(x.grab(window));
    if (done(seen)) return seen;
    QThread::msleep(300);
  }
  return seen;
}

std::vector<QString> CorpusPages(int count) {
  std::vector<QString> pages;
  const std::optional<fs::path> corpus = CorpusDir();
  if (!corpus) return pages;
  for (int n = 1; n <= count; ++n) {
    const fs::path page = *corpus / "pages" / ("emfspoolreader__EMFSpoolfileReader_00004__p" + std::to_string(n) + ".emf");
    if (fs::exists(page)) pages.push_back(QString::fromStdString(page.string()));
  }
  return pages;
}

int SpoolFiles() {
  int count = 0;
  std::error_code error;
  for (fs::directory_iterator it(spooler::SpoolFolder(), error), end; !error && it != end; it.increment(error))
    if (it->path().extension() == ".SPL" || it->path().extension() == ".spl") ++count;
  return count;
}

bool WaitForFile(const QString& path, int timeout_ms) {
  QElapsedTimer timer;
  timer.start();
  while (!QFile::exists(path)) {
    if (timer.elapsed() > timeout_ms) return false;
    QThread::msleep(250);
  }
  return true;
}

class WindowEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    // No tip of the day in front of the window.
    settings::WriteUserDword("lvStartHelpCheck", 1);
  }
};

TEST_F(WindowEndToEnd, PrintedCaptureIsShownPagedAndLeftForWord) {
  PW_REQUIRE_CORPUS();
  PW_REQUIRE_X_SESSION(x);
  const std::vector<QString> pages = CorpusPages(3);
  ASSERT_EQ(pages.size(), 3u);

  // The word processor's window, as the handshake names it.
  x->launch(QStringLiteral("xmessage"), {QStringLiteral("-title"), kWordTitle, QStringLiteral("Report")});
  const std::optional<QString> word = x->waitForWindow(kWordTitle, 30000);
  ASSERT_TRUE(word);

  QStringList arguments{QStringLiteral("print"), QStringLiteral("--doc"), QStringLiteral("Report.doc"),
                        QStringLiteral("--window"), kWordTitle};
  for (const QString& page : pages) arguments << page;
  const XSession::Result printed = x->run(Program("pagewick-capture"), arguments);
  ASSERT_EQ(printed.code, 0) << printed.output.toStdString();

  const std::optional<QString> window = x->waitForWindow(kTitle, 60000);
  ASSERT_TRUE(window);
  // The splash goes by itself; the first page, three thumbnails, the status.
  WindowShot seen = WaitFor(*x, *window, [](const WindowShot& s) {
    return s.thumbnails.size() == 3 && s.framed == 0 && s.page_pixels > 1000 && s.status_pixels > 50;
  });
  x->grab(*window, ShotPath("window-three-pages.png"));
  EXPECT_EQ(seen.thumbnails.size(), 3u);
  EXPECT_EQ(seen.framed, 0);
  EXPECT_GT(seen.page_pixels, 1000);
  EXPECT_GT(seen.status_pixels, 50);
  // The capture printer's job and its spool file are gone.
  EXPECT_EQ(SpoolFiles(), 0);

  x->key(*window, QStringLiteral("Next"));
  seen = WaitFor(*x, *window, [](const WindowShot& s) { return s.framed == 1; }, 30000);
  EXPECT_EQ(seen.framed, 1) << "Page Down moves the red frame to the second page";

  ASSERT_EQ(seen.thumbnails.size(), 3u);
  const QImage shot = x->grab(*window);
  const int strip_left = shot.width() - 163;
  x->click(*window, QPoint(strip_left + 72, seen.thumbnails[2].first + 20));
  seen = WaitFor(*x, *window, [](const WindowShot& s) { return s.framed == 2; }, 30000);
  EXPECT_EQ(seen.framed, 2) << "a click on the third thumbnail shows it";

  // The Options popup over the window.
  x->click(*window, QPoint(20, 113 + 16));
  QThread::msleep(800);
  x->grabScreen(ShotPath("options-popup.png"));
  x->key(*window, QStringLiteral("Escape"));

  // Exit and back to Word: the word processor comes to the front and the
  // program closes.
  x->click(*window, QPoint(20, 181 + 16));
  EXPECT_TRUE(x->waitForWindowGone(kTitle, 30000));
  QThread::msleep(500);
  EXPECT_EQ(x->activeWindow(), word);
}

TEST_F(WindowEndToEnd, ClipboardPageIsShownAndTheClipboardConsumed) {
  PW_REQUIRE_CORPUS();
  PW_REQUIRE_X_SESSION(x);
  const std::vector<QString> pages = CorpusPages(1);
  ASSERT_EQ(pages.size(), 1u);
  const XSession::Result copied = x->run(Program("pagewick-capture"), {QStringLiteral("clipboard"), pages[0]});
  ASSERT_EQ(copied.code, 0) << copied.output.toStdString();

  const std::optional<QString> window = x->waitForWindow(kTitle, 60000);
  ASSERT_TRUE(window);
  // The splash may stand over the page view for its two seconds: only the
  // frame around the thumbnail tells that the page is the current one.
  const WindowShot seen = WaitFor(*x, *window, [](const WindowShot& s) {
    return s.thumbnails.size() == 1 && s.framed == 0 && s.page_pixels > 1000;
  });
  EXPECT_EQ(seen.thumbnails.size(), 1u);
  EXPECT_EQ(seen.framed, 0);
  EXPECT_EQ(settings::ReadUserString("CurWordKodClipbrd"), "FALSE");
  EXPECT_FALSE(clipboard::ReadEnhMetafile().has_value());
}

// Wine's programs and server for one private prefix and temporary folder
// (those under the test's own temporary folder are not always where a
// later Wine process looks for its server), ended with the test.
class WineSession {
 public:
  WineSession(const XSession& x, const QDir& folder)
      : x_(x),
        environment_{QStringLiteral("WINEPREFIX=") + folder.filePath(QStringLiteral("prefix")),
                     QStringLiteral("TMPDIR=") + folder.filePath(QStringLiteral("tmp")), QStringLiteral("WINEDEBUG=-all"),
                     // No Mono or Gecko installer on first start.
                     QStringLiteral("WINEDLLOVERRIDES=mscoree,mshtml=")} {
    folder.mkpath(QStringLiteral("tmp"));
  }
  ~WineSession() { x_.run(QStringLiteral("env"), environment_ + QStringList{QStringLiteral("wineserver"), QStringLiteral("-k")}); }
  QStringList command(const QStringList& wine_command) const { return environment_ + wine_command; }

 private:
  const XSession& x_;
  QStringList environment_;
};

TEST_F(WindowEndToEnd, PageCopiedByAWindowsProgramUnderWineIsShown) {
#ifndef PW_WINE_CLIPBOARD_PROGRAM
  GTEST_SKIP() << "x86_64-w64-mingw32-gcc was not found when the build was configured";
#else
  for (const char* tool : {"wine", "wineserver"})
    if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) GTEST_SKIP() << "no " << tool << " here";
  PW_REQUIRE_X_SESSION(x);
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString ready = folder.filePath(QStringLiteral("ready"));
  const WineSession wine(*x, QDir(folder.path()));
  // The first start of a prefix sets it up, which takes a while.
  QProcess* copier =
      x->launch(QStringLiteral("env"), wine.command({QStringLiteral("wine"), QStringLiteral(PW_WINE_CLIPBOARD_PROGRAM),
                                                     QStringLiteral("Z:") + QString(ready).replace(u'/', u'\\'),
                                                     QStringLiteral("600")}));
  QElapsedTimer timer;
  timer.start();
  while (!QFile::exists(ready) && copier->state() != QProcess::NotRunning && timer.elapsed() < 400000)
    copier->waitForFinished(250);
  ASSERT_TRUE(QFile::exists(ready)) << "the Windows program did not put its page on the clipboard";

  ASSERT_TRUE(settings::WriteUserString("CurWordKodClipbrd", "TRUE"));
  x->launch(Program("pagewick"), {});
  const std::optional<QString> window = x->waitForWindow(kTitle, 60000);
  ASSERT_TRUE(window);
  const WindowShot seen = WaitFor(*x, *window, [](const WindowShot& s) {
    return s.thumbnails.size() == 1 && s.framed == 0 && s.red_page_pixels > 1000;
  });
  x->grab(*window, ShotPath("wine-clipboard-page.png"));
  EXPECT_EQ(seen.thumbnails.size(), 1u);
  EXPECT_EQ(seen.framed, 0);
  EXPECT_GT(seen.red_page_pixels, 1000) << "the page's red fill is in the page view";
  EXPECT_EQ(settings::ReadUserString("CurWordKodClipbrd"), "FALSE");
#endif
}

// The stand-in for another desktop program offering `format` with the
// bytes of `file`; true once the clipboard holds them.
bool OfferOnClipboard(XSession& x, const QTemporaryDir& folder, const QString& format, const QString& file) {
  const QString ready = folder.filePath(QStringLiteral("offered"));
  x.launch(QStringLiteral(PW_CLIPBOARD_OFFER_PROGRAM), {ready, format, file});
  return WaitForFile(ready, 60000);
}

TEST_F(WindowEndToEnd, PageOfferedAsImageXEmfIsShown) {
  PW_REQUIRE_CORPUS();
  PW_REQUIRE_X_SESSION(x);
  const std::vector<QString> pages = CorpusPages(1);
  ASSERT_EQ(pages.size(), 1u);
  QTemporaryDir folder;
  ASSERT_TRUE(OfferOnClipboard(*x, folder, QStringLiteral("image/x-emf"), pages[0]));
  ASSERT_TRUE(settings::WriteUserString("CurWordKodClipbrd", "TRUE"));
  x->launch(Program("pagewick"), {});
  const std::optional<QString> window = x->waitForWindow(kTitle, 60000);
  ASSERT_TRUE(window);
  const WindowShot seen = WaitFor(*x, *window, [](const WindowShot& s) {
    return s.thumbnails.size() == 1 && s.framed == 0 && s.page_pixels > 1000;
  });
  EXPECT_EQ(seen.thumbnails.size(), 1u);
  EXPECT_EQ(seen.framed, 0);
}

TEST_F(WindowEndToEnd, TextOnTheDesktopClipboardIsNoPage) {
  PW_REQUIRE_X_SESSION(x);
  QTemporaryDir folder;
  const QString text = folder.filePath(QStringLiteral("text.txt"));
  QFile file(text);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("Only words, no page");
  file.close();
  ASSERT_TRUE(OfferOnClipboard(*x, folder, QStringLiteral("text/plain"), text));
  ASSERT_TRUE(settings::WriteUserString("CurWordKodClipbrd", "TRUE"));
  x->launch(Program("pagewick"), {});
  ASSERT_TRUE(x->waitForWindow(kTitle, 60000));
  const std::optional<QString> message = x->waitForWindow(QStringLiteral("Tavrin Pagewick Message"), 60000);
  x->grabScreen(ShotPath("text-clipboard-no-data.png"));
  EXPECT_TRUE(message) << "\"No data in Clipboard!\" is shown";
  const std::optional<QString> window = x->findWindow(kTitle);
  ASSERT_TRUE(window);
  EXPECT_TRUE(Read(x->grab(*window)).thumbnails.empty());
}

TEST_F(WindowEndToEnd, NamedPageAndSpoolFilesShowAllTheirPages) {
  PW_REQUIRE_CORPUS();
  PW_REQUIRE_X_SESSION(x);
  const fs::path corpus = *CorpusDir();
  QTemporaryDir folder;
  const fs::path page = fs::path(folder.path().toStdString()) / "a.emf";
  const fs::path spool = fs::path(folder.path().toStdString()) / "b.SPL";
  // One page, then a spool file of three.
  fs::copy_file(corpus / "pages" / "emfspoolreader__EMFSpoolfileReader_00003__p1.emf", page);
  fs::copy_file(corpus / "spl" / "emfspoolreader__EMFSpoolfileReader_00004.SPL", spool);
  x->launch(Program("pagewick"), {QString::fromStdString(page.string()), QString::fromStdString(spool.string())});
  const std::optional<QString> window = x->waitForWindow(kTitle, 60000);
  ASSERT_TRUE(window);
  const WindowShot seen = WaitFor(*x, *window, [](const WindowShot& s) {
    return s.thumbnails.size() == 4 && s.framed == 0 && s.page_pixels > 1000;
  });
  x->grab(*window, ShotPath("named-files.png"));
  EXPECT_EQ(seen.thumbnails.size(), 4u);
  EXPECT_EQ(seen.framed, 0);
  EXPECT_GT(seen.page_pixels, 1000);
  EXPECT_TRUE(fs::exists(page) && fs::exists(spool)) << "the user's files are left where they are";
}

TEST_F(WindowEndToEnd, ProgramEndsWhenItsDisplayGoesWhileTheLoadWaitsForAnAnswer) {
  PW_REQUIRE_X_SESSION(x);
  // An empty clipboard: the load asks the window to show "No data in
  // Clipboard!" and waits for the box to be closed.
  ASSERT_TRUE(settings::WriteUserString("CurWordKodClipbrd", "TRUE"));
  QProcess* program = x->launch(Program("pagewick"), {});
  ASSERT_TRUE(x->waitForWindow(QStringLiteral("Tavrin Pagewick Message"), 60000));
  x->stopServer();
  EXPECT_TRUE(program->waitForFinished(30000)) << "the program outlived its display";
}

TEST_F(WindowEndToEnd, QuickStartReferenceShowsTheSixSamplePages) {
  // A screen tall enough for all six thumbnails at once.
  QString why;
  const std::unique_ptr<XSession> x = XSession::Start(&why, 1280, 1400);
  if (!x) GTEST_SKIP() << why.toStdString();
  // Started as a session without a runtime folder starts it: Qt must have
  // nothing to complain of.
  const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
  qunsetenv("XDG_RUNTIME_DIR");
  QProcess* program = x->launch(Program("pagewick"), {QStringLiteral("quick")}, QProcess::MergedChannels);
  if (!runtime.isNull()) qputenv("XDG_RUNTIME_DIR", runtime);
  const std::optional<QString> window = x->waitForWindow(kTitle, 60000);
  ASSERT_TRUE(window);
  const WindowShot seen = WaitFor(*x, *window, [](const WindowShot& s) { return s.thumbnails.size() == 6; });
  EXPECT_EQ(seen.thumbnails.size(), 6u);
  EXPECT_GT(seen.page_pixels, 1000);
  program->waitForReadyRead(500);
  EXPECT_FALSE(program->readAll().contains("XDG_RUNTIME_DIR"));

  // The thumbnails-only layout.
  x->run(QStringLiteral("xdotool"), {QStringLiteral("windowsize"), *window, QStringLiteral("150"), QStringLiteral("700")});
  QThread::msleep(1500);
  x->grabScreen(ShotPath("narrow-layout.png"));
  const QImage narrow = x->grab(*window);
  EXPECT_LE(narrow.width(), 182);
}

}  // namespace
}  // namespace pw::test
