#include "platform/paths/paths.h"

#include "tests/support/test_home.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace pw::platform {
namespace {

namespace fs = std::filesystem;

TEST(Paths, FoldersFollowTheHomeOfEachCall) {
  std::string home = test::HomeDir().string() + "/";
  EXPECT_EQ(HomeFolder(), home);
  EXPECT_EQ(WindowsFolder(), home + "windows/");
  EXPECT_EQ(MachineRootFolder(), home + "c/");
  EXPECT_TRUE(fs::is_directory(home + "windows"));
  EXPECT_TRUE(fs::is_directory(home + "c"));

  // A later home is used at once: nothing is remembered between calls.
  fs::path other = test::TempDir() / "elsewhere";
  ::setenv("PAGEWICK_HOME", other.c_str(), 1);
  EXPECT_EQ(HomeFolder(), other.string() + "/");
  EXPECT_TRUE(fs::is_directory(other));
}

TEST(Paths, HomeFallsBackToXdgDataHome) {
  ::unsetenv("PAGEWICK_HOME");
  fs::path data = test::TempDir() / "xdg";
  ::setenv("XDG_DATA_HOME", data.c_str(), 1);
  EXPECT_EQ(HomeFolder(), (data / "pagewick").string() + "/");
  fs::path user = test::TempDir() / "user";
  ::setenv("HOME", user.c_str(), 1);
  ::setenv("XDG_DATA_HOME", "relative/data", 1);
  EXPECT_EQ(HomeFolder(), (user / ".local/share/pagewick").string() + "/");
  ::unsetenv("XDG_DATA_HOME");
}

TEST(Paths, TempFolderIsTmpdirAndWorkFolderInsideIt) {
  std::optional<std::string> temp = TempFolder();
  ASSERT_TRUE(temp);
  EXPECT_EQ(fs::path(*temp), test::TempDir() / "");
  std::optional<std::string> work = WorkFolder();
  ASSERT_TRUE(work);
  EXPECT_EQ(*work, *temp + "Pagewick/");
  EXPECT_TRUE(fs::is_directory(*work));
}

TEST(Paths, TempFolderMissingIsMadePrivate) {
  fs::path fresh = test::TempDir() / "fresh";
  ::setenv("TMPDIR", fresh.c_str(), 1);
  std::optional<std::string> temp = TempFolder();
  ASSERT_TRUE(temp);
  EXPECT_EQ(*temp, fresh.string() + "/");
  struct stat info {};
  ASSERT_EQ(::stat(fresh.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST(Paths, TempFolderThatIsASymlinkIsRefused) {
  fs::path real = test::TempDir() / "real";
  fs::create_directory(real);
  fs::path link = test::TempDir() / "link";
  fs::create_directory_symlink(real, link);
  ::setenv("TMPDIR", (link.string() + "/").c_str(), 1);
  EXPECT_FALSE(TempFolder());
  EXPECT_FALSE(WorkFolder());
}

TEST(Paths, WorkFolderThatIsASymlinkIsRefused) {
  fs::path target = test::TempDir() / "target";
  fs::create_directory(target);
  fs::create_directory_symlink(target, test::TempDir() / "Pagewick");
  EXPECT_TRUE(TempFolder());
  EXPECT_FALSE(WorkFolder());
}

TEST(Paths, TempFolderThatIsAFileIsRefused) {
  fs::path file = test::TempDir() / "plain";
  { FILE* made = std::fopen(file.c_str(), "w"); ASSERT_NE(made, nullptr); std::fclose(made); }
  ::setenv("TMPDIR", file.c_str(), 1);
  EXPECT_FALSE(TempFolder());
}

TEST(Paths, TempFolderOwnedBySomeoneElseIsRefused) {
  fs::path foreign = test::TempDir() / "foreign";
  fs::create_directory(foreign);
  // Only root can give a folder away; elsewhere this case cannot be laid.
  if (::chown(foreign.c_str(), 12345, 12345) != 0) GTEST_SKIP() << "cannot change the owner here";
  ::setenv("TMPDIR", foreign.c_str(), 1);
  EXPECT_FALSE(TempFolder());
}

TEST(Paths, SharedStickyTmpdirGetsAPrivateFolderInside) {
  fs::path shared = test::TempDir() / "shared";
  fs::create_directory(shared);
  if (::chown(shared.c_str(), 12345, 12345) != 0) GTEST_SKIP() << "cannot change the owner here";
  ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
  ::setenv("TMPDIR", shared.c_str(), 1);
  std::optional<std::string> temp = TempFolder();
  ASSERT_TRUE(temp);
  EXPECT_EQ(*temp, shared.string() + "/pagewick-" + std::to_string(::geteuid()) + "/");
  struct stat info {};
  ASSERT_EQ(::lstat(temp->c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  EXPECT_EQ(info.st_uid, ::geteuid());
}

TEST(Paths, InstallFolderFromEnvironmentOrBesideTheProgram) {
  ::setenv("PAGEWICK_INSTALL_DIR", "/opt/pw", 1);
  EXPECT_EQ(DefaultInstallFolder(), "/opt/pw/");
  ::unsetenv("PAGEWICK_INSTALL_DIR");
  fs::path program = fs::read_symlink("/proc/self/exe");
  fs::path expected = (program.parent_path().parent_path() / "share" / "pagewick").lexically_normal();
  EXPECT_EQ(DefaultInstallFolder(), expected.string() + "/");
}

}  // namespace
}  // namespace pw::platform
