// The splash window: its artwork, its hidden buttons, and closing itself
// two seconds after it was made.
#include "dialogs/splash_dlg.h"

#include "res/resource_ids.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace pw::dialogs {
namespace {

TEST(Splash, ShowsTheArtworkAtItsSizeWithTheButtonsHidden) {
  lvSplashDlg splash;
  ASSERT_TRUE(splash.create());
  EXPECT_TRUE(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
  const QPixmap artwork = splash.bitmapLabel().pixmap();
  ASSERT_FALSE(artwork.isNull());
  EXPECT_EQ(artwork.size(), QSize(400, 300));
  EXPECT_FALSE(splash.bitmapLabel().hasScaledContents());
  const QList<QPushButton*> buttons = splash.findChildren<QPushButton*>();
  ASSERT_EQ(buttons.size(), 2);
  for (QPushButton* button : buttons) EXPECT_TRUE(button->isHidden()) << button->text().toStdString();
}

TEST(Splash, CreationRepaintsThePageViewOnce) {
  int repaints = 0;
  lvSplashDlg splash([&] { ++repaints; });
  EXPECT_EQ(repaints, 0);
  splash.create();
  EXPECT_EQ(repaints, 1);
}

TEST(Splash, OtherTimersDoNotCloseIt) {
  lvSplashDlg splash;
  splash.create();
  splash.show();
  splash.onTimer(res::kSplashTimerId + 1);
  EXPECT_TRUE(splash.isVisible());
  EXPECT_TRUE(splash.timerRunning());
}

TEST(Splash, ClosesItselfAfterTwoSeconds) {
  lvSplashDlg splash;
  QElapsedTimer clock;
  clock.start();
  splash.create();
  splash.show();
  ASSERT_TRUE(splash.isVisible());
  while (splash.isVisible() && clock.elapsed() < 6000) QTest::qWait(20);
  EXPECT_FALSE(splash.isVisible());
  EXPECT_GE(clock.elapsed(), 1990);
  EXPECT_FALSE(splash.timerRunning());
}

}  // namespace
}  // namespace pw::dialogs
