#include "platform/registry/key_path.h"
#include "platform/registry/registry.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <set>
#include <string>

namespace pw::registry {
namespace {

Value Text(std::string name, std::string_view text) { return Value{std::move(name), ValueType::Sz, TextData(text)}; }
Value Number(std::string name, std::uint32_t number) {
  return Value{std::move(name), ValueType::Dword, DwordData(number)};
}

std::vector<std::string> NamesOf(const std::vector<Value>& values) {
  std::vector<std::string> names;
  for (const Value& value : values) names.push_back(value.name);
  return names;
}

TEST(RegistryStore, KeysExistOnlyOnceMadeWithTheirParents) {
  EXPECT_FALSE(KeyExists(Hive::CurrentUser, "Software\\A\\B"));
  EXPECT_FALSE(Values(Hive::CurrentUser, "Software\\A\\B"));
  ASSERT_TRUE(CreateKey(Hive::CurrentUser, "Software\\A\\B"));
  EXPECT_TRUE(KeyExists(Hive::CurrentUser, "Software\\A"));
  EXPECT_TRUE(KeyExists(Hive::CurrentUser, "software\\a\\b"));  // names ignore case
  EXPECT_FALSE(KeyExists(Hive::LocalMachine, "Software\\A"));  // hives are apart
  std::optional<std::vector<Value>> none = Values(Hive::CurrentUser, "Software\\A\\B");
  ASSERT_TRUE(none);
  EXPECT_TRUE(none->empty());
  EXPECT_FALSE(CreateKey(Hive::CurrentUser, "Software\\\\Empty"));  // an empty part
}

TEST(RegistryStore, ValuesKeepInsertionOrderAndTheirPlaceWhenReplaced) {
  const std::string key = "Software\\Order";
  for (std::string name : {"zeta", "alpha", "mid", "Beta"}) ASSERT_TRUE(SetValue(Hive::CurrentUser, key, Number(name, 1)));
  ASSERT_TRUE(SetValue(Hive::CurrentUser, key, Text("ALPHA", "again")));  // same value, other case
  std::optional<std::vector<Value>> values = Values(Hive::CurrentUser, key);
  ASSERT_TRUE(values);
  EXPECT_EQ(NamesOf(*values), (std::vector<std::string>{"zeta", "alpha", "mid", "Beta"}));
  EXPECT_EQ((*values)[1], Text("alpha", "again"));

  ASSERT_TRUE(DeleteValue(Hive::CurrentUser, key, "mid"));
  EXPECT_FALSE(DeleteValue(Hive::CurrentUser, key, "mid"));
  ASSERT_TRUE(SetValue(Hive::CurrentUser, key, Number("mid", 2)));
  values = Values(Hive::CurrentUser, key);
  ASSERT_TRUE(values);
  EXPECT_EQ(NamesOf(*values), (std::vector<std::string>{"zeta", "alpha", "Beta", "mid"}));
}

TEST(RegistryStore, DataIsKeptByteForByte) {
  const std::string key = "Software\\Bytes";
  Value unterminated{"raw", ValueType::Sz, {'a', 'b'}};
  Value empty{"", ValueType::Binary, {}};
  Value odd{"odd", static_cast<ValueType>(7), {'x', 0, 0}};
  for (const Value& value : {unterminated, empty, odd}) ASSERT_TRUE(SetValue(Hive::CurrentUser, key, value));
  EXPECT_EQ(QueryValue(Hive::CurrentUser, key, "raw"), unterminated);
  EXPECT_EQ(QueryValue(Hive::CurrentUser, key, ""), empty);
  EXPECT_EQ(QueryValue(Hive::CurrentUser, key, "odd"), odd);
  EXPECT_FALSE(QueryValue(Hive::CurrentUser, key, "missing"));
}

// Only a REG_DWORD of exactly four bytes is a number, read little-endian.
TEST(RegistryStore, DwordOfReadsOnlyFourByteNumbers) {
  EXPECT_EQ(DwordOf(Number("a", 0x80FF0102u)), 0x80FF0102u);
  EXPECT_EQ(DwordOf(Value{"b", ValueType::Dword, {0x01, 0x02, 0x03, 0x04}}), 0x04030201u);
  EXPECT_EQ(DwordOf(Value{"c", ValueType::Dword, {0x01, 0x02, 0x03}}), std::nullopt);
  EXPECT_EQ(DwordOf(Value{"d", ValueType::Dword, {0x01, 0x02, 0x03, 0x04, 0x05}}), std::nullopt);
  EXPECT_EQ(DwordOf(Value{"e", ValueType::Binary, {0x01, 0x02, 0x03, 0x04}}), std::nullopt);
  EXPECT_EQ(DwordOf(Value{"f", ValueType::Dword, {}}), std::nullopt);
}

TEST(RegistryStore, MustExistDoesNotMakeTheKey) {
  EXPECT_FALSE(SetValue(Hive::CurrentUser, "Nowhere\\Deep", Number("n", 1), KeyCreation::MustExist));
  EXPECT_FALSE(KeyExists(Hive::CurrentUser, "Nowhere"));
  ASSERT_TRUE(CreateKey(Hive::CurrentUser, "Nowhere\\Deep"));
  EXPECT_TRUE(SetValue(Hive::CurrentUser, "Nowhere\\Deep", Number("n", 1), KeyCreation::MustExist));
}

TEST(RegistryStore, DeletingAKeyTakesItsSubtreeOnly) {
  ASSERT_TRUE(SetValue(Hive::CurrentUser, "Tree\\Left\\Leaf", Number("v", 1)));
  ASSERT_TRUE(SetValue(Hive::CurrentUser, "Tree\\Right", Number("v", 2)));
  ASSERT_TRUE(SetValue(Hive::CurrentUser, "Treetop", Number("v", 3)));
  std::optional<std::vector<std::string>> children = SubKeys(Hive::CurrentUser, "Tree");
  ASSERT_TRUE(children);
  EXPECT_EQ(*children, (std::vector<std::string>{"Left", "Right"}));

  ASSERT_TRUE(DeleteKey(Hive::CurrentUser, "Tree\\Left"));
  EXPECT_FALSE(KeyExists(Hive::CurrentUser, "Tree\\Left\\Leaf"));
  EXPECT_TRUE(QueryValue(Hive::CurrentUser, "Tree\\Right", "v"));
  EXPECT_FALSE(DeleteKey(Hive::CurrentUser, "Tree\\Left"));
  ASSERT_TRUE(DeleteKey(Hive::CurrentUser, "Tree"));
  EXPECT_TRUE(QueryValue(Hive::CurrentUser, "Treetop", "v"));
  EXPECT_FALSE(DeleteKey(Hive::CurrentUser, ""));  // a hive stays
  EXPECT_TRUE(KeyExists(Hive::CurrentUser, ""));
}

TEST(RegistryStore, FirstStartSeedsWhatWindowsWouldHold) {
  std::optional<Value> install = QueryValue(Hive::LocalMachine, "Software\\Tavrin\\Pagewick", "InstallPath");
  ASSERT_TRUE(install);
  EXPECT_EQ(install->type, ValueType::Sz);
  EXPECT_EQ(QueryValue(Hive::LocalMachine, "Software\\Tavrin\\Pagewick", "Version"), Text("Version", "2.1"));
  EXPECT_TRUE(KeyExists(Hive::CurrentUser, "Control Panel\\Desktop"));
  EXPECT_TRUE(QueryValue(Hive::CurrentUser,
                         "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Local AppData"));
  // The user's own key is not there until the program makes it.
  EXPECT_FALSE(KeyExists(Hive::CurrentUser, "Software\\Tavrin\\Pagewick"));
}

TEST(RegistryStore, ApplyIsAllOrNothing) {
  ASSERT_TRUE(SetValue(Hive::CurrentUser, "Batch", Number("kept", 1)));
  std::vector<Change> failing{
      {Change::Kind::SetValue, Hive::CurrentUser, "Batch", Number("new", 2)},
      {Change::Kind::DeleteValue, Hive::CurrentUser, "Batch", Value{"kept", {}, {}}},
      {Change::Kind::CreateKey, Hive::CurrentUser, "Bad\\\\Path", {}},
  };
  EXPECT_FALSE(Apply(failing));
  EXPECT_TRUE(QueryValue(Hive::CurrentUser, "Batch", "kept"));
  EXPECT_FALSE(QueryValue(Hive::CurrentUser, "Batch", "new"));

  failing.pop_back();
  failing.push_back({Change::Kind::DeleteKey, Hive::CurrentUser, "Absent", {}});
  EXPECT_TRUE(Apply(failing));
  EXPECT_FALSE(QueryValue(Hive::CurrentUser, "Batch", "kept"));
  EXPECT_TRUE(QueryValue(Hive::CurrentUser, "Batch", "new"));
}

TEST(RegistryStore, TwoProcessesWritingAtOnceLoseNothing) {
  constexpr int kPerProcess = 200;
  const std::string key = "Software\\Concurrent";
  // Both children start on a file that does not exist yet, so the first-start
  // race is part of the test.
  std::vector<pid_t> children;
  for (int child = 0; child < 2; ++child) {
    pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      int failures = 0;
      for (int i = 0; i < kPerProcess; ++i) {
        std::string name = "p" + std::to_string(child) + "_" + std::to_string(i);
        if (!SetValue(Hive::CurrentUser, key, Number(name, static_cast<std::uint32_t>(i)))) ++failures;
      }
      ::_exit(failures == 0 ? 0 : 1);
    }
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a writer saw a failed write";
  }
  std::optional<std::vector<Value>> values = Values(Hive::CurrentUser, key);
  ASSERT_TRUE(values);
  std::set<std::string> names;
  for (const Value& value : *values) names.insert(value.name);
  EXPECT_EQ(names.size(), 2u * kPerProcess);
  EXPECT_TRUE(names.count("p0_0") && names.count("p1_" + std::to_string(kPerProcess - 1)));
  std::optional<Value> last = QueryValue(Hive::CurrentUser, key, "p1_199");
  ASSERT_TRUE(last);
  EXPECT_EQ(last->data, DwordData(199));
}

TEST(KeyPath, HiveNamesAndPaths) {
  EXPECT_EQ(ParseHiveName("HKEY_CURRENT_USER"), Hive::CurrentUser);
  EXPECT_EQ(ParseHiveName("hklm"), Hive::LocalMachine);
  EXPECT_EQ(ParseHiveName("HKCR"), Hive::ClassesRoot);
  EXPECT_FALSE(ParseHiveName("HKEY_USERS"));

  std::optional<FullKey> key = ParseFullKey("HKCU\\Software\\Tavrin\\");
  ASSERT_TRUE(key);
  EXPECT_EQ(key->hive, Hive::CurrentUser);
  EXPECT_EQ(key->path, "Software\\Tavrin");
  EXPECT_EQ(FullKeyName(key->hive, key->path), "HKEY_CURRENT_USER\\Software\\Tavrin");
  key = ParseFullKey("HKEY_LOCAL_MACHINE");
  ASSERT_TRUE(key);
  EXPECT_EQ(key->path, "");
  EXPECT_FALSE(ParseFullKey("HKCU\\a\\\\b"));
  EXPECT_FALSE(ParseFullKey("Software\\Tavrin"));
  EXPECT_FALSE(SplitKeyPath(std::string(256, 'k')));
  EXPECT_TRUE(SplitKeyPath(std::string(255, 'k')));
}

}  // namespace
}  // namespace pw::registry
