#include "platform/registry/registry.h"

#include "tests/support/corpus.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace pw::registry {
namespace {

namespace fs = std::filesystem;

const std::string kKey = "Software\\Tavrin\\Pagewick";

void WriteFile(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A registry with enough in it to span several pages.
void FillRegistry() {
  std::vector<Change> changes;
  for (int i = 0; i < 200; ++i) {
    changes.push_back({Change::Kind::SetValue, Hive::CurrentUser, kKey,
                       Value{"Value" + std::to_string(i), ValueType::Sz, TextData(std::string(40, 'v'))}});
  }
  ASSERT_TRUE(Apply(changes));
  ASSERT_FALSE(StoreProblem());
}

// Every operation fails cleanly and the file keeps its bytes.
void ExpectUnusableAndUntouched(const std::string& expected_words) {
  std::string path = StorePath();
  std::vector<unsigned char> before = test::ReadFileBytes(path);

  std::optional<std::string> problem = StoreProblem();
  ASSERT_TRUE(problem);
  EXPECT_NE(problem->find(path), std::string::npos) << *problem;
  EXPECT_NE(problem->find(expected_words), std::string::npos) << *problem;
  EXPECT_EQ(problem->find('\n'), std::string::npos) << "one line";

  EXPECT_FALSE(QueryValue(Hive::CurrentUser, kKey, "Value1"));
  EXPECT_FALSE(Values(Hive::CurrentUser, kKey));
  EXPECT_FALSE(KeyExists(Hive::CurrentUser, ""));
  EXPECT_FALSE(SetValue(Hive::CurrentUser, kKey, Value{"New", ValueType::Dword, DwordData(1)}));
  EXPECT_FALSE(CreateKey(Hive::CurrentUser, "Other"));
  EXPECT_FALSE(DeleteKey(Hive::CurrentUser, kKey));
  EXPECT_FALSE(DeleteValue(Hive::CurrentUser, kKey, "Value1"));
  std::vector<Change> batch{{Change::Kind::CreateKey, Hive::CurrentUser, "Batch", {}}};
  EXPECT_FALSE(Apply(batch));

  EXPECT_EQ(test::ReadFileBytes(path), before);
}

TEST(RegistryDamage, SoundFileHasNoProblem) {
  EXPECT_FALSE(StoreProblem());
  EXPECT_TRUE(fs::exists(StorePath()));
}

TEST(RegistryDamage, GarbageFileIsNotADatabase) {
  fs::create_directories(fs::path(StorePath()).parent_path());
  WriteFile(StorePath(), std::string(5000, 'g'));
  ExpectUnusableAndUntouched("not a database");
}

TEST(RegistryDamage, EmptyFileIsKept) {
  FillRegistry();
  fs::resize_file(StorePath(), 0);
  ExpectUnusableAndUntouched("is empty");
  EXPECT_EQ(fs::file_size(StorePath()), 0u);
}

TEST(RegistryDamage, TruncatedFileIsReportedAndKept) {
  FillRegistry();
  std::uintmax_t size = fs::file_size(StorePath());
  ASSERT_GT(size, 8192u);
  fs::resize_file(StorePath(), 8192);
  ExpectUnusableAndUntouched("truncated");
}

TEST(RegistryDamage, OverwrittenPagesAreReportedAndKept) {
  FillRegistry();
  std::vector<unsigned char> bytes = test::ReadFileBytes(StorePath());
  ASSERT_GT(bytes.size(), 3u * 4096u);
  // Scribble over everything past the first page, keeping the size.
  for (std::size_t i = 4096; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(i * 7 + 3);
  WriteFile(StorePath(), std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  ExpectUnusableAndUntouched("damaged");
}

TEST(RegistryDamage, AnotherProgramsDatabaseIsNotTaken) {
  fs::create_directories(fs::path(StorePath()).parent_path());
  sqlite3* raw = nullptr;
  ASSERT_EQ(sqlite3_open(StorePath().c_str(), &raw), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(raw, "CREATE TABLE notes(text); INSERT INTO notes VALUES ('mine');", nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(raw);
  ExpectUnusableAndUntouched("not a Pagewick registry");
}

TEST(RegistryDamage, UnopenableFileIsReported) {
  fs::create_directories(StorePath());  // a folder where the file belongs
  std::optional<std::string> problem = StoreProblem();
  ASSERT_TRUE(problem);
  EXPECT_NE(problem->find(StorePath()), std::string::npos);
  EXPECT_FALSE(SetValue(Hive::CurrentUser, kKey, Value{"New", ValueType::Dword, DwordData(1)}));
  EXPECT_TRUE(fs::is_directory(StorePath()));
}

TEST(RegistryDamage, HomeThatCannotHoldTheFileIsReported) {
  fs::path blocker = fs::path(StorePath()).parent_path() / "plain-file";
  fs::create_directories(blocker.parent_path());
  WriteFile(blocker, "x");
  ::setenv("PAGEWICK_HOME", (blocker / "home").c_str(), 1);  // a folder inside a file
  std::optional<std::string> problem = StoreProblem();
  ASSERT_TRUE(problem);
  EXPECT_NE(problem->find(StorePath() + " cannot be"), std::string::npos) << *problem;
  EXPECT_FALSE(CreateKey(Hive::CurrentUser, "Software"));
}

}  // namespace
}  // namespace pw::registry
