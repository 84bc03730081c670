#include "platform/files/file_writing.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/test_home.h"

namespace pw::files {
namespace {

namespace fs = std::filesystem;

fs::path Folder() {
  const fs::path folder = test::TempDir() / "out";
  fs::create_directories(folder);
  return folder;
}

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Put(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::span<const std::byte> Bytes(const std::string& text) { return std::as_bytes(std::span(text)); }

// Writes past `limit` bytes fail with EFBIG while the object lives.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t limit) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit lowered = saved_;
    lowered.rlim_cur = limit;
    ::setrlimit(RLIMIT_FSIZE, &lowered);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, old_handler_);
  }

 private:
  rlimit saved_{};
  void (*old_handler_)(int) = nullptr;
};

TEST(ReplaceFile, WritesAndReplacesWholeAndLeavesNothingElse) {
  const fs::path target = Folder() / "page.txt";
  ASSERT_TRUE(ReplaceFile(target, std::string_view("first")));
  EXPECT_EQ(Read(target), "first");
  ASSERT_TRUE(ReplaceFile(target, Bytes("second, longer")));
  EXPECT_EQ(Read(target), "second, longer");
  ASSERT_TRUE(ReplaceFile(target, std::string_view()));
  EXPECT_EQ(fs::file_size(target), 0u);
  EXPECT_EQ(Names(Folder()), std::vector<std::string>{"page.txt"});
}

TEST(ReplaceFile, ALinkAtTheNameIsReplacedNotFollowed) {
  const fs::path outside = test::TempDir() / "precious.doc";
  Put(outside, "keep");
  const fs::path target = Folder() / "link.emf";
  fs::create_symlink(outside, target);
  ASSERT_TRUE(ReplaceFile(target, std::string_view("new")));
  EXPECT_EQ(Read(outside), "keep");
  EXPECT_FALSE(fs::is_symlink(fs::symlink_status(target)));
  EXPECT_EQ(Read(target), "new");
}

TEST(ReplaceFile, FailuresNameTheTargetAndLeaveNoTrace) {
  const fs::path folder = Folder();
  fs::create_directory(folder / "taken");
  const auto into_folder = ReplaceFile(folder / "taken", std::string_view("x"));
  ASSERT_FALSE(into_folder);
  EXPECT_EQ(into_folder.error().code, EISDIR);
  EXPECT_EQ(into_folder.error().Message(), "cannot write " + (folder / "taken").string() + ": Is a directory");
  EXPECT_EQ(Names(folder), std::vector<std::string>{"taken"});

  const auto nowhere = ReplaceFile(folder / "gone" / "x.txt", std::string_view("x"));
  ASSERT_FALSE(nowhere);
  EXPECT_EQ(nowhere.error().path, (folder / "gone" / "x.txt").string());
  EXPECT_EQ(nowhere.error().Reason(), "No such file or directory");

  EXPECT_EQ(ReplaceFile(folder / "", std::string_view("x")).error().code, EISDIR);
}

TEST(ReplaceFile, AWriteThatFailsMidwayKeepsTheOldFile) {
  const fs::path target = Folder() / "report.log";
  Put(target, "old content");
  const std::string big(64 * 1024, 'x');
  {
    FileSizeLimit limit(4096);
    const auto result = ReplaceFile(target, Bytes(big));
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().code, EFBIG);
  }
  EXPECT_EQ(Read(target), "old content");
  EXPECT_EQ(Names(Folder()), std::vector<std::string>{"report.log"});
}

TEST(ReplaceFile, NamesAtTheLengthLimitStillGetATemporaryFile) {
  const fs::path target = Folder() / std::string(255, 'n');
  ASSERT_TRUE(ReplaceFile(target, std::string_view("long")));
  EXPECT_EQ(Read(target), "long");
  EXPECT_EQ(Names(Folder()).size(), 1u);
}

TEST(ReplaceFile, PrivateFilesAreTheOwnersOnly) {
  const mode_t old_mask = ::umask(022);
  ASSERT_TRUE(ReplaceFile(Folder() / "shared", std::string_view("s")));
  ASSERT_TRUE(ReplaceFile(Folder() / "private", std::string_view("p"), Access::Private));
  ::umask(old_mask);
  EXPECT_EQ(fs::status(Folder() / "shared").permissions() & fs::perms::all, fs::perms(0644));
  EXPECT_EQ(fs::status(Folder() / "private").permissions() & fs::perms::all, fs::perms(0600));
}

TEST(ReplacementFile, NothingAppearsBeforeCommitAndAnAbandonedOneLeavesTheOldFile) {
  const fs::path target = Folder() / "bottoms.html";
  Put(target, "old");
  {
    auto file = ReplacementFile::Begin(target);
    ASSERT_TRUE(file);
    ASSERT_TRUE(file->Write(std::string_view("<html>")));
    EXPECT_EQ(Read(target), "old");
    EXPECT_EQ(Names(Folder()).size(), 2u);  // the target and the temporary file
  }
  EXPECT_EQ(Read(target), "old");
  EXPECT_EQ(Names(Folder()), std::vector<std::string>{"bottoms.html"});

  auto file = ReplacementFile::Begin(target);
  ASSERT_TRUE(file);
  ASSERT_TRUE(file->Write(std::string_view("<html>")));
  ASSERT_TRUE(file->Write(Bytes("</html>")));
  ASSERT_TRUE(file->Commit());
  EXPECT_EQ(Read(target), "<html></html>");
  EXPECT_FALSE(file->Write(std::string_view("late")));
  EXPECT_EQ(Read(target), "<html></html>");
}

TEST(ReplacementFile, ALibraryWritingByNameAndAMovedFileAreCommitted) {
  const fs::path target = Folder() / "doc.pdf";
  auto begun = ReplacementFile::Begin(target);
  ASSERT_TRUE(begun);
  ReplacementFile file = std::move(*begun);
  EXPECT_EQ(file.TemporaryPath().parent_path(), Folder());
  // As a library does: opens the name, truncates, writes, closes.
  Put(file.TemporaryPath(), "%PDF-1.4");
  ASSERT_TRUE(file.Commit());
  EXPECT_EQ(Read(target), "%PDF-1.4");
  EXPECT_EQ(Names(Folder()), std::vector<std::string>{"doc.pdf"});
}

TEST(CreateNewFile, WritesOnlyWhereNothingStands) {
  const fs::path folder = Folder();
  ASSERT_TRUE(CreateNewFile(folder / "fresh", Bytes("data")));
  EXPECT_EQ(Read(folder / "fresh"), "data");

  const auto again = CreateNewFile(folder / "fresh", Bytes("other"));
  ASSERT_FALSE(again);
  EXPECT_EQ(again.error().code, EEXIST);
  EXPECT_EQ(Read(folder / "fresh"), "data");

  // Neither a link to a file nor a dangling one is followed.
  const fs::path outside = test::TempDir() / "outside";
  Put(outside, "keep");
  fs::create_symlink(outside, folder / "link");
  fs::create_symlink(test::TempDir() / "planted", folder / "dangling");
  EXPECT_EQ(CreateNewFile(folder / "link", Bytes("x")).error().code, EEXIST);
  EXPECT_EQ(CreateNewFile(folder / "dangling", Bytes("x")).error().code, EEXIST);
  EXPECT_EQ(Read(outside), "keep");
  EXPECT_FALSE(fs::exists(test::TempDir() / "planted"));
}

TEST(CreateNewFile, AFailedWriteLeavesNoHalfFile) {
  const std::string big(64 * 1024, 'x');
  FileSizeLimit limit(4096);
  const auto result = CreateNewFile(Folder() / "half", Bytes(big), Access::Private);
  ASSERT_FALSE(result);
  EXPECT_EQ(result.error().code, EFBIG);
  EXPECT_FALSE(fs::exists(Folder() / "half"));
}

TEST(StaleTemporaries, WhatAKilledWriterLeftGoesAndNothingElse) {
  const fs::path folder = Folder() / "stale";
  fs::create_directory(folder);
  // A writer killed with -9 halfway through a page.
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    auto file = ReplacementFile::Begin(folder / "p0001.png");
    if (file) (void)file->Write(Bytes("half a page"));
    ::kill(::getpid(), SIGKILL);
    ::_exit(1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status));
  const std::vector<std::string> left = Names(folder);
  ASSERT_EQ(left.size(), 1u);

  // A writer still at work on the same base name, and names that only look
  // like a temporary file of it.
  auto live = ReplacementFile::Begin(folder / "p0002.png");
  ASSERT_TRUE(live);
  ASSERT_TRUE(live->Write(Bytes("whole")));
  for (const char* name : {".q0001.png.0123456789ab.part", ".p0003.png.0123456789AB.part", ".p0003.png.01234.part",
                           "p0003.png.0123456789ab.part", ".p0003.png.0123456789ab.parts", "victim"})
    Put(folder / name, "the user's");
  fs::create_directory(folder / ".p0004.png.0123456789ab.part");
  fs::create_symlink(folder / "victim", folder / ".p0005.png.0123456789ab.part");
  // Everything was written an hour ago, so only the name, the kind of file
  // and the writer's lock decide; one more was written after the call.
  for (const std::string& name : Names(folder))
    if (!fs::is_symlink(folder / name)) fs::last_write_time(folder / name, fs::file_time_type::clock::now() - std::chrono::hours(1));
  Put(folder / ".p0006.png.0123456789ab.part", "a later run's");
  fs::last_write_time(folder / ".p0006.png.0123456789ab.part", fs::file_time_type::clock::now() + std::chrono::hours(1));

  std::vector<std::string> kept = Names(folder);
  kept.erase(std::find(kept.begin(), kept.end(), left.front()));
  EXPECT_EQ(RemoveStaleTemporaries(folder, "p"), 1);
  EXPECT_EQ(Names(folder), kept);
  EXPECT_EQ(Read(folder / "victim"), "the user's");
  EXPECT_EQ(RemoveStaleTemporaries(folder, "p"), 0);
  // The live writer was left alone and still puts its file in place.
  ASSERT_TRUE(live->Commit());
  EXPECT_EQ(Read(folder / "p0002.png"), "whole");
}

}  // namespace
}  // namespace pw::files
