// The Help popup's commands in the real program: F1 opens the help viewer,
// About shows its box until a click, Emergency Report writes Report.log and
// asks whether to send it. Set PAGEWICK_SCREENSHOTS to keep the pictures.
#include <QDir>
#include <QThread>
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/test_home.h"
#include "tests/support/x_session.h"

namespace pw::test {
namespace {

namespace fs = std::filesystem;

// Pixels that differ between two screenshots of the same size.
int Changed(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return -1;
  int n = 0;
  for (int y = 0; y < a.height(); y += 2)
    for (int x = 0; x < a.width(); x += 2)
      if (a.pixel(x, y) != b.pixel(x, y)) ++n;
  return n;
}

// The Help button of the command panel, the fourth of its buttons.
const QPoint kHelpButton(20, 147 + 16);

// Opens the Help popup and picks an item with the keys: a popup holds the
// keyboard, so the keys go to whatever has the focus, not to the frame.
void PickFromHelpPopup(const XSession& x, const QString& window, const QStringList& keys) {
  x.activate(window);
  x.click(window, kHelpButton);
  QThread::msleep(1000);
  x.run(QStringLiteral("xdotool"), QStringList{QStringLiteral("key")} + keys);
}

TEST(HelpCommandsEndToEnd, HelpAboutAndEmergencyReportFromTheWindow) {
  PW_REQUIRE_X_SESSION(x);
  const fs::path report = BuildDir() / "share" / "pagewick" / "Report.log";
  fs::remove(report);
  x->launch(Program("pagewick"), {QStringLiteral("quick")});
  const std::optional<QString> window = x->waitForWindow(QStringLiteral("Tavrin Pagewick"), 60000);
  ASSERT_TRUE(window);
  if (const auto tip = x->waitForWindow(QStringLiteral("Tip of the Day"), 8000)) {
    x->key(*tip, QStringLiteral("Escape"));
    ASSERT_TRUE(x->waitForWindowGone(QStringLiteral("Tip of the Day"), 10000));
  }
  QThread::msleep(3000);  // the splash's time

  x->key(*window, QStringLiteral("F1"));
  const std::optional<QString> help = x->waitForWindow(QStringLiteral("Pagewick Help"), 30000);
  ASSERT_TRUE(help) << "F1 opens the help viewer";
  QThread::msleep(1500);
  const QImage start_page = x->grab(*help, ShotPath("help-viewer.png"));
  x->key(*help, QStringLiteral("alt+F4"));
  ASSERT_TRUE(x->waitForWindowGone(QStringLiteral("Pagewick Help"), 10000));
  QThread::msleep(1000);

  // About: the box stands over the window until a click.
  x->activate(*window);
  const QImage before = x->grabScreen({});
  PickFromHelpPopup(*x, *window, {QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Return")});
  QThread::msleep(2500);
  const QImage about = x->grabScreen(ShotPath("about-box.png"));
  EXPECT_GT(Changed(before, about), 5000) << "About shows its box";
  x->run(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QStringLiteral("640"), QStringLiteral("512"),
                                     QStringLiteral("click"), QStringLiteral("1")});
  QThread::msleep(1500);
  const QImage after = x->grabScreen({});
  EXPECT_LT(Changed(after, before), Changed(about, before) / 4) << "a click closes the About box";

  // Emergency Report: the file is written, then the question.
  PickFromHelpPopup(*x, *window, {QStringLiteral("Up"), QStringLiteral("Return")});
  const std::optional<QString> question = x->waitForWindow(QStringLiteral("Tavrin Pagewick Message"), 30000);
  ASSERT_TRUE(question) << "the report asks whether to send it";
  x->grabScreen(ShotPath("report-question.png"));
  EXPECT_TRUE(fs::exists(report));
  EXPECT_GT(fs::file_size(report), 100u);
  x->key(*question, QStringLiteral("Escape"));  // No: nothing is sent
  EXPECT_TRUE(x->waitForWindowGone(QStringLiteral("Tavrin Pagewick Message"), 10000));
  fs::remove(report);

  // The resolution dialog's Help opens the viewer at its own topic. In
  // Quick Start Reference mode the key first asks to leave the mode.
  x->activate(*window);
  x->key(*window, QStringLiteral("ctrl+d"));
  if (const auto leave = x->waitForWindow(QStringLiteral("Tavrin Pagewick Message"), 5000))
    x->key(*leave, QStringLiteral("Return"));
  const std::optional<QString> dialog = x->waitForWindow(QStringLiteral("Image Resolution and Dimension"), 30000);
  ASSERT_TRUE(dialog);
  QThread::msleep(1500);
  x->click(*dialog, QPoint(230, 260));  // the Help button
  QThread::msleep(1500);
  const std::optional<QString> topic = x->waitForWindow(QStringLiteral("Pagewick Help"), 30000);
  ASSERT_TRUE(topic) << "the dialog's Help opens the viewer";
  QThread::msleep(1500);
  const QImage dimensions = x->grab(*topic, ShotPath("help-dim.png"));
  EXPECT_GT(Changed(start_page, dimensions), 2000) << "the viewer shows another page than the start page";
}

}  // namespace
}  // namespace pw::test
