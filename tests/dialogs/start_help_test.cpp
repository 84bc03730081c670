// The tip of the day: what Close, "Next Tip" and Esc do to the stored tip
// number and to the show-at-start-up flag.
#include "dialogs/start_help.h"

#include "dialogs/tips.h"
#include "settings/settings_store.h"

#include <QTest>

#include <gtest/gtest.h>

namespace pw::dialogs {
namespace {

TEST(StartHelp, LooksAsItsTemplateSays) {
  lvStartHelp dialog;
  EXPECT_EQ(dialog.windowTitle(), "Tip of the Day");
  EXPECT_EQ(dialog.closeButton().text(), "Close");
  EXPECT_TRUE(dialog.closeButton().isDefault());
  EXPECT_EQ(dialog.nextTipButton().text(), "Next Tip");
  EXPECT_EQ(dialog.showAtStartupBox().text(), "Show tips at startup");
  EXPECT_TRUE(dialog.showAtStartupBox().isChecked());
  EXPECT_EQ(dialog.showAtStartup(), 1);
  // 228 x 154 dialog units.
  EXPECT_EQ(dialog.size(), QSize(342, 250));
}

TEST(StartHelp, AbsentNumberShowsTheFirstTipAndNextTipStoresOne) {
  lvStartHelp dialog;
  EXPECT_EQ(dialog.shownTip(), 0);
  QTest::mouseClick(&dialog.nextTipButton(), Qt::LeftButton);
  EXPECT_EQ(dialog.shownTip(), 1);
  EXPECT_EQ(settings::ReadUserDword("lvNumTipOfTheDay"), 1);
}

TEST(StartHelp, NextTipAfterTheLastGoesBackToTheFirst) {
  settings::WriteUserDword("lvNumTipOfTheDay", 5);
  lvStartHelp dialog;
  EXPECT_EQ(dialog.shownTip(), 5);
  QTest::mouseClick(&dialog.nextTipButton(), Qt::LeftButton);
  EXPECT_EQ(dialog.shownTip(), 0);
  EXPECT_EQ(settings::ReadUserDword("lvNumTipOfTheDay"), 0);
}

TEST(StartHelp, OutsideNumberShowsNoTipBeyondTheSix) {
  settings::WriteUserDword("lvNumTipOfTheDay", 41);
  lvStartHelp dialog;
  EXPECT_GE(dialog.shownTip(), 0);
  EXPECT_LT(dialog.shownTip(), kTipCount);
  dialog.show();
  QTest::qWait(10);  // paints without reading past the tips
  QTest::mouseClick(&dialog.nextTipButton(), Qt::LeftButton);
  EXPECT_EQ(settings::ReadUserDword("lvNumTipOfTheDay"), 0);
}

TEST(StartHelp, CloseAdvancesAcceptsAndTakesTheBox) {
  settings::WriteUserDword("lvNumTipOfTheDay", 2);
  lvStartHelp dialog;
  dialog.open();
  dialog.showAtStartupBox().setChecked(false);
  QTest::mouseClick(&dialog.closeButton(), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.showAtStartup(), 0);
  EXPECT_EQ(settings::ReadUserDword("lvNumTipOfTheDay"), 3);
}

TEST(StartHelp, EscapeChangesNothing) {
  settings::WriteUserDword("lvNumTipOfTheDay", 4);
  lvStartHelp dialog;
  dialog.open();
  dialog.showAtStartupBox().setChecked(false);
  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(settings::ReadUserDword("lvNumTipOfTheDay"), 4);
  // The box is only taken on Close.
  EXPECT_EQ(dialog.showAtStartup(), 1);
  EXPECT_EQ(settings::ReadUserDword("lvStartHelpCheck"), -1);
}

TEST(StartHelp, NextTipThenEscapeKeepsTheTipReached) {
  lvStartHelp dialog;
  dialog.open();
  QTest::mouseClick(&dialog.nextTipButton(), Qt::LeftButton);
  QTest::mouseClick(&dialog.nextTipButton(), Qt::LeftButton);
  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_EQ(settings::ReadUserDword("lvNumTipOfTheDay"), 2);
  lvStartHelp next;
  EXPECT_EQ(next.shownTip(), 2);
}

}  // namespace
}  // namespace pw::dialogs
