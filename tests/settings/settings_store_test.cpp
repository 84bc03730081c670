#include "settings/settings_store.h"

#include "platform/registry/registry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace pw::settings {
namespace {

using registry::Hive;
using registry::Value;
using registry::ValueType;

void Store(std::string_view name, ValueType type, std::vector<std::uint8_t> data) {
  ASSERT_TRUE(registry::SetValue(Hive::CurrentUser, kUserKey, Value{std::string(name), type, std::move(data)}));
}

TEST(SettingsStore, DwordAbsentAndAllOnesBothReadMinusOne) {
  EXPECT_EQ(ReadUserDword("JPG_Quality"), -1);
  ASSERT_TRUE(WriteUserDword("JPG_Quality", 0xFFFFFFFFu));
  EXPECT_EQ(ReadUserDword("JPG_Quality"), -1);
  ASSERT_TRUE(WriteUserDword("JPG_Quality", 75));
  EXPECT_EQ(ReadUserDword("JPG_Quality"), 75);
  ASSERT_TRUE(WriteUserDword("Big", 0x80000000u));
  EXPECT_EQ(ReadUserDword("Big"), static_cast<int>(0x80000000u));
}

TEST(SettingsStore, DwordOfAnotherTypeOrSizeReadsMinusOne) {
  Store("AsText", ValueType::Sz, registry::TextData("90"));
  EXPECT_EQ(ReadUserDword("AsText"), -1);
  Store("Short", ValueType::Dword, {1, 0});
  EXPECT_EQ(ReadUserDword("Short"), -1);
  Store("Long", ValueType::Dword, {1, 0, 0, 0, 0});
  EXPECT_EQ(ReadUserDword("Long"), -1);
}

TEST(SettingsStore, WriteDwordStoresFourLittleEndianBytes) {
  ASSERT_TRUE(WriteUserDword("lvCurBkGrColor", 0x0080FF80u));
  std::optional<Value> stored = registry::QueryValue(Hive::CurrentUser, kUserKey, "lvCurBkGrColor");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->type, ValueType::Dword);
  EXPECT_EQ(stored->data, (std::vector<std::uint8_t>{0x80, 0xFF, 0x80, 0x00}));
}

TEST(SettingsStore, StringNeedsTerminatorAndFitsTheBuffer) {
  ASSERT_TRUE(WriteUserString("SavePath", "/home/user/pictures/"));
  EXPECT_EQ(ReadUserString("SavePath"), "/home/user/pictures/");
  std::optional<Value> stored = registry::QueryValue(Hive::CurrentUser, kUserKey, "SavePath");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->data.size(), 21u);  // the text and its zero
  EXPECT_EQ(stored->data.back(), 0);

  Store("NoZero", ValueType::Sz, {'a', 'b', 'c'});
  EXPECT_FALSE(ReadUserString("NoZero"));
  Store("Empty", ValueType::Sz, {});
  EXPECT_FALSE(ReadUserString("Empty"));

  std::string fits(259, 'x');  // 260 bytes with the terminator
  ASSERT_TRUE(WriteUserString("Fits", fits));
  EXPECT_EQ(ReadUserString("Fits"), fits);
  ASSERT_TRUE(WriteUserString("TooLong", std::string(260, 'x')));  // 261 bytes
  EXPECT_FALSE(ReadUserString("TooLong"));
}

TEST(SettingsStore, StringTypesAccepted) {
  Store("Expand", ValueType::ExpandSz, registry::TextData("%TEMP%\\x"));
  EXPECT_EQ(ReadUserString("Expand"), "%TEMP%\\x");  // not expanded
  Store("Binary", ValueType::Binary, registry::TextData("abc"));
  EXPECT_FALSE(ReadUserString("Binary"));
  ASSERT_TRUE(WriteUserDword("Number", 5));
  EXPECT_FALSE(ReadUserString("Number"));
  Store("InnerZero", ValueType::Sz, {'a', 0, 'b', 0});
  EXPECT_EQ(ReadUserString("InnerZero"), "a");
}

TEST(SettingsStore, MachineStringComesFromTheMachineKeyAsSeeded) {
  std::optional<std::string> install = ReadMachineString("InstallPath");
  ASSERT_TRUE(install);
  EXPECT_FALSE(install->empty());
  EXPECT_NE(install->back(), '/');
  EXPECT_EQ(ReadMachineString("Version"), "2.1");
  // The user key's value of the same name is a different one.
  ASSERT_TRUE(WriteUserString("Version", "9"));
  EXPECT_EQ(ReadMachineString("Version"), "2.1");
  EXPECT_EQ(ReadUserString("Version"), "9");
}

TEST(SettingsStore, WriteAtExistingKeyOnly) {
  EXPECT_TRUE(WriteUserStringAt("Control Panel\\Desktop", "Wallpaper", "/tmp/w.bmp"));
  std::optional<Value> stored = registry::QueryValue(Hive::CurrentUser, "Control Panel\\Desktop", "Wallpaper");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->data, registry::TextData("/tmp/w.bmp"));

  EXPECT_FALSE(WriteUserStringAt("SOFTWARE\\Microsoft\\Internet Explorer\\Desktop\\General", "BackupWallpaper", "x"));
  EXPECT_FALSE(registry::KeyExists(Hive::CurrentUser, "SOFTWARE\\Microsoft\\Internet Explorer\\Desktop\\General"));
  EXPECT_FALSE(registry::KeyExists(Hive::CurrentUser, "SOFTWARE\\Microsoft\\Internet Explorer"));
}

TEST(SettingsStore, LocalAppDataIsSeededAndMade) {
  std::optional<std::string> folder = LocalAppDataFolder();
  ASSERT_TRUE(folder);
  EXPECT_NE(folder->find("/c/Users/"), std::string::npos);
  EXPECT_TRUE(folder->ends_with("/AppData/Local"));
  EXPECT_TRUE(std::filesystem::is_directory(*folder));
}

}  // namespace
}  // namespace pw::settings
