#include "platform/sysinfo/file_attributes.h"
#include "platform/sysinfo/os_version.h"
#include "tests/support/test_home.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace pw::platform {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t Flag(FileAttribute attribute) { return static_cast<std::uint32_t>(attribute); }

// The flags apart from TEMPORARY, which depends on where the test folder lies.
std::optional<std::uint32_t> Stable(const std::string& path) {
  std::optional<std::uint32_t> flags = FileAttributes(path);
  if (flags) *flags &= ~Flag(FileAttribute::Temporary);
  return flags;
}

TEST(OsVersion, NumbersComeFromTheKernelReleaseAndTheNameFromOsRelease) {
  const char* debian = "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nNAME=\"Debian GNU/Linux\"\nID=debian\n";
  OsVersion version = ParseOsVersion("6.1.0-18-amd64", debian);
  EXPECT_EQ(version.major, 6);
  EXPECT_EQ(version.minor, 1);
  EXPECT_EQ(version.build, 0);
  EXPECT_EQ(version.name, "Debian GNU/Linux 12 (bookworm)");

  OsVersion wsl = ParseOsVersion("5.15.153.1-microsoft-standard-WSL2", "NAME='Arch Linux'\n");
  EXPECT_EQ(wsl.major, 5);
  EXPECT_EQ(wsl.minor, 15);
  EXPECT_EQ(wsl.build, 153);
  EXPECT_EQ(wsl.name, "Arch Linux");

  OsVersion bare = ParseOsVersion("4.19", "ID=alpine\nPRETTY_NAME=Alpine\\ edge\nNAME=x");
  EXPECT_EQ(bare.build, 0);
  EXPECT_EQ(bare.name, "Alpine\\ edge");

  OsVersion odd = ParseOsVersion("rolling", "PRETTY_NAME=\"Say \\\"hi\\\"\"\n");
  EXPECT_EQ(odd.major, 0);
  EXPECT_EQ(odd.minor, 0);
  EXPECT_EQ(odd.name, "Say \"hi\"");
  EXPECT_EQ(ParseOsVersion("99999999999.1", "").major, 0);  // too large for a number: not one
}

TEST(OsVersion, TheRunningSystemHasAKernelVersion) {
  OsVersion running = RunningOsVersion();
  EXPECT_GE(running.major, 2);
}

TEST(FileAttributes, FoldersFilesLinksAndDotNames) {
  const fs::path home = test::HomeDir();
  fs::create_directories(home / "spool");
  fs::create_directories(home / ".hidden");
  std::ofstream(home / "plain.txt") << "text";
  fs::create_directory_symlink(home / "spool", home / "link");

  EXPECT_EQ(Stable((home / "spool").string()), Flag(FileAttribute::Directory));
  EXPECT_EQ(Stable((home / "spool/").string()), Flag(FileAttribute::Directory));
  EXPECT_EQ(Stable((home / ".hidden").string()), Flag(FileAttribute::Directory) | Flag(FileAttribute::Hidden));
  EXPECT_EQ(Stable((home / "plain.txt").string()), Flag(FileAttribute::Normal));
  EXPECT_EQ(Stable((home / "link").string()), Flag(FileAttribute::Directory) | Flag(FileAttribute::ReparsePoint));
  EXPECT_EQ(FileAttributes((home / "missing").string()), std::nullopt);

  fs::create_symlink(home / "gone", home / "dangling");
  EXPECT_EQ(Stable((home / "dangling").string()), Flag(FileAttribute::ReparsePoint));
}

TEST(FileAttributes, AFileWithAHoleIsSparse) {
  const fs::path sparse = test::HomeDir() / "sparse.bin";
  const int fd = ::open(sparse.c_str(), O_CREAT | O_WRONLY, 0600);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::ftruncate(fd, 64 << 20), 0);
  ::close(fd);
  std::optional<std::uint32_t> flags = Stable(sparse.string());
  ASSERT_TRUE(flags);
  EXPECT_TRUE(HasAttribute(*flags, FileAttribute::SparseFile));
  EXPECT_FALSE(HasAttribute(*flags, FileAttribute::Normal));
}

TEST(FileAttributes, AFolderThatCannotBeWrittenIsReadOnly) {
  if (::geteuid() == 0) GTEST_SKIP() << "the superuser may write every folder";
  const fs::path locked = test::HomeDir() / "locked";
  fs::create_directories(locked);
  fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_TRUE(HasAttribute(*FileAttributes(locked.string()), FileAttribute::ReadOnly));
  fs::permissions(locked, fs::perms::owner_all);
}

TEST(FileAttributes, AFolderCanBeListedWhenItOpens) {
  fs::create_directories(test::HomeDir() / "empty");
  EXPECT_TRUE(FolderCanBeListed((test::HomeDir() / "empty").string()));
  EXPECT_FALSE(FolderCanBeListed((test::HomeDir() / "missing").string()));
  std::ofstream(test::HomeDir() / "file") << "x";
  EXPECT_FALSE(FolderCanBeListed((test::HomeDir() / "file").string()));
}

}  // namespace
}  // namespace pw::platform
