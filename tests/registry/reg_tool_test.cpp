// Runs the pagewick-reg program itself, in the test's own home folder.
#include "platform/registry/registry.h"

#include "tests/support/corpus.h"
#include "tests/support/test_home.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace pw::registry {
namespace {

namespace fs = std::filesystem;

struct ToolResult {
  int exit = -1;
  std::string out;
  std::string err;
};

std::string Quote(std::string_view arg) {
  std::string out = "'";
  for (char c : arg) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

std::string Slurp(const fs::path& path) {
  std::vector<unsigned char> bytes = test::ReadFileBytes(path);
  return {bytes.begin(), bytes.end()};
}

ToolResult RunTool(std::initializer_list<std::string_view> args) {
  fs::path tool = test::BuildDir() / "bin" / "pagewick-reg";
  std::string command = Quote(tool.string());
  for (std::string_view arg : args) command += " " + Quote(arg);
  fs::path out = test::TempDir() / "tool.out";
  fs::path err = test::TempDir() / "tool.err";
  command += " >" + Quote(out.string()) + " 2>" + Quote(err.string()) + " </dev/null";
  int status = std::system(command.c_str());
  ToolResult result;
  if (WIFEXITED(status)) result.exit = WEXITSTATUS(status);
  result.out = Slurp(out);
  result.err = Slurp(err);
  return result;
}

fs::path WriteText(std::string_view name, std::string_view text) {
  fs::path path = test::TempDir() / name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

class RegTool : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(test::BuildDir() / "bin" / "pagewick-reg")) GTEST_SKIP() << "pagewick-reg is not built";
  }
};

TEST_F(RegTool, SetQueryDelete) {
  const std::string key = "HKCU\\Software\\Tavrin\\Pagewick";
  EXPECT_EQ(RunTool({"set", key, "JPG_Quality", "dword", "75"}).exit, 0);
  EXPECT_EQ(RunTool({"set", key, "Mask", "dword", "0xFFFFFFFF"}).exit, 0);
  EXPECT_EQ(RunTool({"set", key, "SavePath", "sz", "/home/u/"}).exit, 0);
  EXPECT_EQ(QueryValue(Hive::CurrentUser, "Software\\Tavrin\\Pagewick", "JPG_Quality"),
            (Value{"JPG_Quality", ValueType::Dword, DwordData(75)}));
  EXPECT_EQ(QueryValue(Hive::CurrentUser, "Software\\Tavrin\\Pagewick", "Mask")->data, DwordData(0xFFFFFFFFu));

  ToolResult shown = RunTool({"query", key, "SavePath"});
  EXPECT_EQ(shown.exit, 0);
  EXPECT_NE(shown.out.find("SavePath    REG_SZ    /home/u/"), std::string::npos) << shown.out;
  ToolResult listed = RunTool({"query", "HKEY_CURRENT_USER\\Software\\Tavrin"});
  EXPECT_EQ(listed.exit, 0);
  EXPECT_NE(listed.out.find("HKEY_CURRENT_USER\\Software\\Tavrin\\Pagewick"), std::string::npos) << listed.out;

  EXPECT_EQ(RunTool({"query", key, "Absent"}).exit, 1);
  EXPECT_EQ(RunTool({"query", "HKCU\\No\\Such"}).exit, 1);
  EXPECT_EQ(RunTool({"delete", key, "SavePath"}).exit, 0);
  EXPECT_EQ(RunTool({"delete", key, "SavePath"}).exit, 1);
  EXPECT_EQ(RunTool({"delete", "HKCU\\Software\\Tavrin"}).exit, 0);
  EXPECT_FALSE(KeyExists(Hive::CurrentUser, "Software\\Tavrin\\Pagewick"));
}

TEST_F(RegTool, UsageErrors) {
  EXPECT_EQ(RunTool({}).exit, 2);
  EXPECT_EQ(RunTool({"frobnicate"}).exit, 2);
  EXPECT_EQ(RunTool({"set", "HKCU\\x", "n", "qword", "1"}).exit, 2);
  EXPECT_EQ(RunTool({"set", "HKCU\\x", "n", "dword", "4294967296"}).exit, 2);
  EXPECT_EQ(RunTool({"set", "HKEY_USERS\\x", "n", "dword", "1"}).exit, 2);
  EXPECT_EQ(RunTool({"delete", "HKLM"}).exit, 2);
  EXPECT_FALSE(KeyExists(Hive::CurrentUser, "x"));
  ToolResult help = RunTool({"--help"});
  EXPECT_EQ(help.exit, 0);
  EXPECT_NE(help.out.find("import FILE"), std::string::npos);
}

TEST_F(RegTool, ExportImportRoundTrip) {
  const std::string key = "Software\\Tavrin\\Pagewick";
  ASSERT_TRUE(SetValue(Hive::CurrentUser, key, Value{"Raw", ValueType::Sz, {'n', 'o'}}));
  ASSERT_TRUE(SetValue(Hive::CurrentUser, key, Value{"Expand", ValueType::ExpandSz, TextData("%HOME%")}));
  ASSERT_TRUE(SetValue(Hive::CurrentUser, key + "\\Sub", Value{"Blob", ValueType::Binary, {0, 255, 7}}));
  std::optional<std::vector<KeyContents>> before = ReadTree(Hive::CurrentUser, "Software\\Tavrin");
  ASSERT_TRUE(before);

  fs::path file = test::TempDir() / "out.reg";
  ASSERT_EQ(RunTool({"export", file.string(), "HKCU\\Software\\Tavrin"}).exit, 0);
  ASSERT_TRUE(DeleteKey(Hive::CurrentUser, "Software\\Tavrin"));
  ASSERT_EQ(RunTool({"import", file.string()}).exit, 0);
  std::optional<std::vector<KeyContents>> after = ReadTree(Hive::CurrentUser, "Software\\Tavrin");
  ASSERT_TRUE(after);
  ASSERT_EQ(after->size(), before->size());
  for (std::size_t i = 0; i < before->size(); ++i) {
    EXPECT_EQ((*after)[i].path, (*before)[i].path);
    EXPECT_EQ((*after)[i].values, (*before)[i].values);
  }

  // Exporting everything includes the seeded machine key.
  fs::path all = test::TempDir() / "all.reg";
  ASSERT_EQ(RunTool({"export", all.string()}).exit, 0);
  EXPECT_NE(Slurp(all).find("[HKEY_LOCAL_MACHINE\\Software\\Tavrin\\Pagewick]\n\"InstallPath\"="), std::string::npos);
  EXPECT_EQ(RunTool({"export", all.string(), "HKCU\\Absent"}).exit, 1);
}

TEST_F(RegTool, MalformedFileNamesItsLineAndChangesNothing) {
  ASSERT_TRUE(SetValue(Hive::CurrentUser, "Keep", Value{"v", ValueType::Dword, DwordData(1)}));
  std::optional<std::vector<KeyContents>> before = ReadTree(Hive::CurrentUser, "");
  fs::path file = WriteText("bad.reg",
                            "Windows Registry Editor Version 5.00\n"
                            "\n"
                            "[-HKEY_CURRENT_USER\\Keep]\n"
                            "[HKEY_CURRENT_USER\\New]\n"
                            "\"ok\"=dword:00000001\n"
                            "\"bad\"=dword:xyz\n");
  ToolResult result = RunTool({"import", file.string()});
  EXPECT_EQ(result.exit, 2);
  EXPECT_NE(result.err.find(file.string() + ":6:"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("nothing was imported"), std::string::npos) << result.err;
  std::optional<std::vector<KeyContents>> after = ReadTree(Hive::CurrentUser, "");
  ASSERT_TRUE(before && after);
  ASSERT_EQ(after->size(), before->size());
  EXPECT_TRUE(KeyExists(Hive::CurrentUser, "Keep"));
  EXPECT_FALSE(KeyExists(Hive::CurrentUser, "New"));

  EXPECT_EQ(RunTool({"import", (test::TempDir() / "missing.reg").string()}).exit, 2);
}

TEST_F(RegTool, DamagedRegistryIsReportedAndKept) {
  fs::create_directories(fs::path(StorePath()).parent_path());
  std::ofstream(StorePath(), std::ios::binary) << "this is no database, but somebody's file";
  std::string bytes = Slurp(StorePath());
  ToolResult result = RunTool({"set", "HKCU\\x", "n", "dword", "1"});
  EXPECT_EQ(result.exit, 3);
  EXPECT_NE(result.err.find(StorePath()), std::string::npos) << result.err;
  EXPECT_EQ(RunTool({"query", "HKCU"}).exit, 3);
  EXPECT_EQ(Slurp(StorePath()), bytes);
}

}  // namespace
}  // namespace pw::registry
