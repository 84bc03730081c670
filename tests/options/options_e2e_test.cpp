// The option commands in the real program: a preset redraws the page and
// the thumbnails, the hatch dialog changes the page's background, and each
// option dialog opens over the window from its key and goes with Esc
// leaving the settings alone. Set PAGEWICK_SCREENSHOTS to a folder to keep
// the screenshots.
#include "settings/settings_store.h"
#include "tests/support/corpus.h"
#include "tests/support/test_home.h"
#include "tests/support/x_session.h"

#include <QColor>
#include <QDir>
#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

namespace pw::test {
namespace {

namespace fs = std::filesystem;

const QString kTitle = QStringLiteral("Tavrin Pagewick");

// Pixels of a colour in the thumbnail strip and in the page view.
struct Counts {
  int strip = 0;
  int page = 0;
};

Counts Count(const QImage& shot, const std::function<bool(QColor)>& is) {
  Counts counts;
  if (shot.isNull()) return counts;
  const int cx = shot.width();
  const int cy = shot.height();
  for (int y = 7; y < cy - 7; y += 2) {
    for (int x = cx - 160; x < cx - 20; x += 2) counts.strip += is(shot.pixelColor(x, y));
    if (y < cy - 35)
      for (int x = 45; x < cx - 175; x += 3) counts.page += is(shot.pixelColor(x, y));
  }
  return counts;
}

bool IsRed(QColor c) { return c.red() > 220 && c.green() < 40 && c.blue() < 40; }
// The default background colour 0x0080FF80: red 128, green 255, blue 128.
bool IsBackgroundGreen(QColor c) {
  return std::abs(c.red() - 128) < 8 && c.green() > 245 && std::abs(c.blue() - 128) < 8;
}

Counts WaitFor(const XSession& x, const QString& window, const std::function<bool(QColor)>& is,
               const std::function<bool(const Counts&)>& done, int timeout_ms = 60000) {
  QElapsedTimer timer;
  timer.start();
  Counts seen;
  while (timer.elapsed() < timeout_ms) {
    seen = Count(x.grab(window), is);
    if (done(seen)) break;
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

class OptionsEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    settings::WriteUserDword("lvStartHelpCheck", 1);  // no tip of the day
    settings::WriteUserDword("KodAntialias", 0);       // quick renders
  }

  // Prints `count` corpus pages to the program and waits for its window
  // with the first page shown.
  std::optional<QString> ShowCapture(XSession& x, int count) {
    const std::vector<QString> pages = CorpusPages(count);
    if (static_cast<int>(pages.size()) != count) return std::nullopt;
    QStringList arguments{QStringLiteral("print"), QStringLiteral("--doc"), QStringLiteral("Report.doc")};
    for (const QString& page : pages) arguments << page;
    const XSession::Result printed = x.run(Program("pagewick-capture"), arguments);
    EXPECT_EQ(printed.code, 0) << printed.output.toStdString();
    return x.waitForWindow(kTitle, 60000);
  }
};

TEST_F(OptionsEndToEnd, PresetRedrawsThePageAndTheThumbnails) {
  PW_REQUIRE_CORPUS();
  PW_REQUIRE_X_SESSION(x);
  // A red background on every page, which the Text/Graphics preset removes.
  settings::WriteUserDword("lvBkGrHathStyle", 99);
  settings::WriteUserDword("lvCurBkGrColor", 0x000000FF);
  const std::optional<QString> window = ShowCapture(*x, 2);
  ASSERT_TRUE(window);
  const Counts before = WaitFor(*x, *window, IsRed, [](const Counts& c) { return c.strip > 200 && c.page > 200; });
  x->grab(*window, ShotPath("options-strip-before-f3.png"));
  ASSERT_GT(before.strip, 200);
  ASSERT_GT(before.page, 200);

  x->key(*window, QStringLiteral("F3"));
  // The current thumbnail's red frame stays.
  const auto redrawn = [&before](const Counts& c) { return c.strip * 10 < before.strip && c.page == 0; };
  const Counts after = WaitFor(*x, *window, IsRed, redrawn);
  x->grab(*window, ShotPath("options-strip-after-f3.png"));
  EXPECT_LT(after.strip * 10, before.strip) << "the thumbnails are drawn again without the background";
  EXPECT_EQ(after.page, 0) << "the page is drawn again without the background";
  EXPECT_EQ(settings::ReadUserDword("ResCur"), 1200);
  EXPECT_EQ(settings::ReadUserDword("lvBkGrHathStyle"), 100);
  EXPECT_EQ(settings::ReadUserDword("GIF_Default"), 1);
  EXPECT_EQ(settings::ReadUserDword("lvKodPreset"), 1);
  x->key(*window, QStringLiteral("alt+F4"));
  EXPECT_TRUE(x->waitForWindowGone(kTitle, 30000));
}

TEST_F(OptionsEndToEnd, HatchDialogChangesThePageBackground) {
  PW_REQUIRE_CORPUS();
  PW_REQUIRE_X_SESSION(x);
  settings::WriteUserDword("lvKodPreset", 3);
  const std::optional<QString> window = ShowCapture(*x, 1);
  ASSERT_TRUE(window);
  const Counts plain = WaitFor(*x, *window, IsBackgroundGreen, [](const Counts&) { return false; }, 3000);
  EXPECT_EQ(plain.page, 0);

  x->key(*window, QStringLiteral("ctrl+h"));
  const std::optional<QString> dialog = x->waitForWindow(QStringLiteral("Hatch Settings"), 30000);
  ASSERT_TRUE(dialog);
  QThread::msleep(500);
  x->grab(*dialog, ShotPath("options-hatch-dialog-off.png"));
  // "show background" (122, 108 in dialog units), then OK.
  x->click(*dialog, QPoint(200, 183));
  QThread::msleep(500);
  x->grab(*dialog, ShotPath("options-hatch-dialog-on.png"));
  x->key(*dialog, QStringLiteral("Return"));
  ASSERT_TRUE(x->waitForWindowGone(QStringLiteral("Hatch Settings"), 30000));

  const Counts hatched =
      WaitFor(*x, *window, IsBackgroundGreen, [](const Counts& c) { return c.page > 200 && c.strip > 100; });
  x->grab(*window, ShotPath("options-page-hatched.png"));
  EXPECT_GT(hatched.page, 200) << "the page view shows the hatch background";
  EXPECT_GT(hatched.strip, 100) << "and so do the thumbnails";
  EXPECT_EQ(settings::ReadUserDword("lvBkGrHathStyle"), 4);
  EXPECT_EQ(settings::ReadUserDword("lvKodPreset"), 0);
  x->key(*window, QStringLiteral("alt+F4"));
  EXPECT_TRUE(x->waitForWindowGone(kTitle, 30000));
}

TEST_F(OptionsEndToEnd, EachDialogOpensFromItsKeyAndEscapeChangesNothing) {
  PW_REQUIRE_CORPUS();
  PW_REQUIRE_X_SESSION(x);
  const std::optional<QString> window = ShowCapture(*x, 1);
  ASSERT_TRUE(window);
  struct Opened {
    const char* key;
    const char* title;
    const char* shot;
    int pages;  // tabs to photograph
  };
  for (const Opened& o : {Opened{"ctrl+d", "Image Resolution and Dimension", "options-resolution-dialog", 1},
                          Opened{"ctrl+c", "Image Format and Quality", "options-format-sheet", 6}}) {
    x->key(*window, QString::fromLatin1(o.key));
    const std::optional<QString> dialog = x->waitForWindow(QString::fromLatin1(o.title), 30000);
    ASSERT_TRUE(dialog) << o.title;
    QThread::msleep(500);
    for (int page = 0; page < o.pages; ++page) {
      const std::string name = std::string(o.shot) + (o.pages > 1 ? "-" + std::to_string(page) : "") + ".png";
      x->grab(*dialog, ShotPath(name.c_str()));
      if (o.pages > 1) {
        x->key(*dialog, QStringLiteral("ctrl+Tab"));
        QThread::msleep(300);
      }
    }
    x->key(*dialog, QStringLiteral("Escape"));
    EXPECT_TRUE(x->waitForWindowGone(QString::fromLatin1(o.title), 30000)) << o.title;
  }
  EXPECT_EQ(settings::ReadUserDword("ResCur"), -1);
  EXPECT_EQ(settings::ReadUserDword("JPG_Default"), -1);
  EXPECT_EQ(settings::ReadUserDword("lvKodPreset"), -1);
  x->key(*window, QStringLiteral("alt+F4"));
  EXPECT_TRUE(x->waitForWindowGone(kTitle, 30000));
}

}  // namespace
}  // namespace pw::test
