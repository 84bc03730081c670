// What the main frame leaves behind: the stored placement and an emptied
// work folder whose subfolders, and anything links point to, survive.
#include "ui/frame_destroy.h"

#include "platform/paths/paths.h"
#include "settings/settings_store.h"
#include "tests/support/test_home.h"
#include "ui/frame_win.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace pw::ui {
namespace {

namespace fs = std::filesystem;

void Touch(const fs::path& path, const char* text = "x") { std::ofstream(path) << text; }

TEST(FrameDestroy, NormalPlacementStoresTheFlagAndTheFourEdges) {
  ClosingPlacement placement;
  placement.left = -5;  // partly off the left of the screen
  placement.top = 20;
  placement.right = 795;
  placement.bottom = 620;
  EXPECT_TRUE(StoreWindowPlacement(placement));
  EXPECT_EQ(settings::ReadUserDword("lvKodMainWinMax"), 0);
  EXPECT_EQ(settings::ReadUserDword("lvWinLeft"), -5);
  EXPECT_EQ(settings::ReadUserDword("lvWinTop"), 20);
  EXPECT_EQ(settings::ReadUserDword("lvWinRight"), 795);
  EXPECT_EQ(settings::ReadUserDword("lvWinBottom"), 620);
}

TEST(FrameDestroy, MaximizedPlacementStoresOnlyTheFlag) {
  settings::WriteUserDword("lvWinLeft", 12);
  settings::WriteUserDword("lvWinBottom", 480);
  ClosingPlacement placement;
  placement.maximized = true;
  placement.left = 99;
  placement.bottom = 999;
  EXPECT_TRUE(StoreWindowPlacement(placement));
  EXPECT_EQ(settings::ReadUserDword("lvKodMainWinMax"), 1);
  EXPECT_EQ(settings::ReadUserDword("lvWinLeft"), 12);
  EXPECT_EQ(settings::ReadUserDword("lvWinBottom"), 480);
  EXPECT_EQ(settings::ReadUserDword("lvWinTop"), -1);
}

TEST(FrameDestroy, EmptyingDeletesFilesAndKeepsFolders) {
  const fs::path work = test::TempDir() / "Pagewick";
  fs::create_directories(work / "sub" / "deeper");
  Touch(work / "00003_0001.emf");
  Touch(work / "~CurImg.png");
  Touch(work / "no extension");
  Touch(work / "sub" / "kept.emf");
  Touch(work / "sub" / "deeper" / "kept.txt");

  EXPECT_EQ(EmptyWorkFolder(work), 3);
  EXPECT_TRUE(fs::is_directory(work));
  EXPECT_FALSE(fs::exists(work / "00003_0001.emf"));
  EXPECT_FALSE(fs::exists(work / "~CurImg.png"));
  EXPECT_FALSE(fs::exists(work / "no extension"));
  EXPECT_TRUE(fs::exists(work / "sub" / "kept.emf"));
  EXPECT_TRUE(fs::exists(work / "sub" / "deeper" / "kept.txt"));
}

TEST(FrameDestroy, LinksAreDeletedNotFollowed) {
  const fs::path work = test::TempDir() / "Pagewick";
  const fs::path outside = test::TempDir() / "outside";
  fs::create_directories(work);
  fs::create_directories(outside / "folder");
  Touch(outside / "precious.doc", "keep me");
  Touch(outside / "folder" / "inside.doc", "keep me too");
  fs::create_symlink(outside / "precious.doc", work / "file-link");
  fs::create_directory_symlink(outside / "folder", work / "folder-link");
  fs::create_symlink(outside / "gone", work / "dangling");

  EXPECT_EQ(EmptyWorkFolder(work), 3);
  EXPECT_FALSE(fs::exists(fs::symlink_status(work / "file-link")));
  EXPECT_FALSE(fs::exists(fs::symlink_status(work / "folder-link")));
  EXPECT_FALSE(fs::exists(fs::symlink_status(work / "dangling")));
  EXPECT_TRUE(fs::exists(outside / "precious.doc"));
  EXPECT_TRUE(fs::exists(outside / "folder" / "inside.doc"));
}

TEST(FrameDestroy, MissingFolderDeletesNothing) {
  EXPECT_EQ(EmptyWorkFolder(test::TempDir() / "not-there"), 0);
  EXPECT_FALSE(fs::exists(test::TempDir() / "not-there"));
}

TEST(FrameWin, WindowHasTheTitleAndTheRequestedPlacement) {
  lvFrameWin frame;
  frame.createWindow(30, 40, 640, 480);
  EXPECT_EQ(frame.windowTitle(), "Tavrin Pagewick");
  EXPECT_EQ(frame.pos(), QPoint(30, 40));
  EXPECT_EQ(frame.size(), QSize(640, 480));
  EXPECT_FALSE(frame.windowIcon().isNull());
  // The page view's rectangle follows the client size.
  EXPECT_EQ(frame.pageViewRect(), QRect(QPoint(7, 7), QPoint(640 - 173, 480 - 32)));
}

TEST(FrameWin, DestroyStepsRunOnceOnCloseAndNotAgainWhenTheObjectGoes) {
  int releases = 0;
  int destroyed_calls = 0;
  {
    lvFrameWin frame;
    frame.setReleasePages([&] { ++releases; });
    frame.setOnDestroyed([&] { ++destroyed_calls; });
    frame.createWindow(10, 10, 300, 200);
    frame.show();
    frame.close();
    EXPECT_TRUE(frame.isDestroyed());
    EXPECT_EQ(settings::ReadUserDword("lvWinRight"), 310);
    settings::WriteUserDword("lvWinRight", 1);  // a second run would write it again
  }
  EXPECT_EQ(releases, 1);
  EXPECT_EQ(destroyed_calls, 1);
  EXPECT_EQ(settings::ReadUserDword("lvWinRight"), 1);
}

TEST(FrameWin, FrameThatIsNeverClosedStillCleansUpWhenItGoes) {
  const std::optional<std::string> work = platform::WorkFolder();
  ASSERT_TRUE(work);
  Touch(fs::path(*work) / "00001_0001.emf");
  {
    lvFrameWin frame;
    frame.createWindow(5, 6, 200, 100);
  }
  EXPECT_FALSE(fs::exists(fs::path(*work) / "00001_0001.emf"));
  EXPECT_EQ(settings::ReadUserDword("lvWinBottom"), 106);
}

}  // namespace
}  // namespace pw::ui
