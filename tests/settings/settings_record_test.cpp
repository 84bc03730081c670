#include "settings/settings_record.h"

#include "platform/registry/registry.h"
#include "settings/output_format.h"
#include "settings/settings_store.h"
#include "tests/support/corpus.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

namespace pw::settings {
namespace {

using registry::Hive;
using registry::Value;
using registry::ValueType;

void StoreRaw(std::string_view name, ValueType type, std::vector<std::uint8_t> data) {
  ASSERT_TRUE(registry::SetValue(Hive::CurrentUser, kUserKey, Value{std::string(name), type, std::move(data)}));
}

void StoreNumber(std::string_view name, std::uint32_t number) { ASSERT_TRUE(WriteUserDword(name, number)); }

TEST(SettingsRecord, AbsentUserKeyIsMadeAndDefaultsHold) {
  ASSERT_FALSE(registry::KeyExists(Hive::CurrentUser, kUserKey));
  EXPECT_TRUE(LoadSettings());
  EXPECT_TRUE(registry::KeyExists(Hive::CurrentUser, kUserKey));
  std::optional<std::vector<Value>> values = registry::Values(Hive::CurrentUser, kUserKey);
  ASSERT_TRUE(values);
  EXPECT_TRUE(values->empty()) << "the load writes no values";

  Settings s = Snapshot();
  EXPECT_DOUBLE_EQ(s.ResCur, 80.0);
  EXPECT_EQ(s.CheckN, 2);
  EXPECT_EQ(s.ScaleCur, 100);
  EXPECT_EQ(s.KodAntialias, 3);
  EXPECT_EQ(FlaggedFormat(s), OutputFormat::Jpg);
  EXPECT_EQ(s.JPG_Quality, 90);
  EXPECT_EQ(s.lvCurBkGrColor, 0x0080FF80u);
  EXPECT_EQ(s.lvHatchColor, 0x00A83E3Eu);
  EXPECT_EQ(s.lvBkGrHathStyle, 100);
  EXPECT_EQ(s.KodEmailFormat, 1);
  EXPECT_TRUE(s.JPG_Progress && s.GIF_Interlace && s.PNG_Interlace && s.TIF_Lzw && s.SaveFile_Opt);
  EXPECT_FALSE(s.lvSharpen || s.lvIncludeDateTime || s.GIF_Default || s.TIF_Default);
}

TEST(SettingsRecord, ResolutionIsStoredInUnsignedTenthsIntoBothCopies) {
  StoreNumber("ResCur", 1234);
  StoreNumber("CheckN", 1);
  StoreNumber("ScaleCur", 150);
  LoadSettings();
  Settings s = Snapshot();
  EXPECT_DOUBLE_EQ(s.ResCur, 123.4);
  EXPECT_DOUBLE_EQ(s.ResCurDlg, 123.4);
  EXPECT_EQ(s.CheckN, 1);
  EXPECT_EQ(s.CheckNDlg, 1);
  EXPECT_EQ(s.ScaleCur, 150);
  EXPECT_EQ(s.ScaleCurDlg, 150);

  StoreNumber("ResCur", 0xFFFFFFFFu);  // unsigned: no -1 here
  LoadSettings();
  EXPECT_DOUBLE_EQ(Snapshot().ResCur, 429496729.5);
}

TEST(SettingsRecord, OneAndNonZeroRules) {
  StoreNumber("lvSharpen", 2);          // one: only 1 is on
  StoreNumber("lvIncludeDateTime", 1);
  StoreNumber("lvHatchLnHor", 2);       // non-zero
  StoreNumber("lvHatchLnVert", 0);
  StoreNumber("JPG_Gray", 7);
  StoreNumber("JPG_Progress", 0);
  StoreNumber("lvKodPreset", 0xFFFFFFFFu);  // as is
  StoreNumber("lvCurBkGrColor", 0x00D4EBFFu);
  LoadSettings();
  Settings s = Snapshot();
  EXPECT_FALSE(s.lvSharpen);
  EXPECT_TRUE(s.lvIncludeDateTime);
  EXPECT_TRUE(s.lvHatchLnHor);
  EXPECT_FALSE(s.lvHatchLnVert);
  EXPECT_TRUE(s.JPG_Gray);
  EXPECT_FALSE(s.JPG_Progress);
  EXPECT_EQ(s.lvKodPreset, -1);
  EXPECT_EQ(s.lvCurBkGrColor, 0x00D4EBFFu);
}

TEST(SettingsRecord, ValuesOfTheWrongTypeOrSizeAreSkipped) {
  StoreRaw("JPG_Quality", ValueType::Sz, registry::TextData("50"));
  StoreRaw("GIF_Colors", ValueType::Binary, registry::DwordData(16));
  StoreRaw("PNG_Colors", ValueType::Dword, {16, 0});
  StoreRaw("TIF_Colors", ValueType::Dword, {16, 0, 0, 0, 0, 0, 0, 0});
  StoreNumber("GIF_Delay", 250);  // a sound one among them still loads
  LoadSettings();
  Settings s = Snapshot();
  EXPECT_EQ(s.JPG_Quality, 90);
  EXPECT_EQ(s.GIF_Colors, 64);
  EXPECT_EQ(s.PNG_Colors, 64);
  EXPECT_EQ(s.TIF_Colors, 64);
  EXPECT_EQ(s.GIF_Delay, 250);
}

TEST(SettingsRecord, NamesMatchWithoutRegardToCase) {
  StoreNumber("jpg_quality", 70);
  LoadSettings();
  EXPECT_EQ(Snapshot().JPG_Quality, 70);
}

TEST(SettingsRecord, LoadStartsFromDefaultsAndKeepsRunTimeValues) {
  StoreNumber("KodAntialias", 10);
  LoadSettings();
  Update([](Settings& s) {
    s.DisplayResolution = 120;
    s.PrinterResolution = 600;
    s.KodMultipageFormat = 1;
    s.QuickStartReference = true;
  });
  ASSERT_TRUE(registry::DeleteValue(Hive::CurrentUser, kUserKey, "KodAntialias"));
  LoadSettings();
  Settings s = Snapshot();
  EXPECT_EQ(s.KodAntialias, 3);
  EXPECT_EQ(s.DisplayResolution, 120);
  EXPECT_EQ(s.PrinterResolution, 600);
  EXPECT_EQ(s.KodMultipageFormat, 1);
  EXPECT_TRUE(s.QuickStartReference);
}

TEST(SettingsRecord, ChangeSetsTheFieldAndStoresItsValue) {
  LoadSettings();
  EXPECT_TRUE(Change(&Settings::ResCur, 123.45));
  EXPECT_EQ(ReadUserDword("ResCur"), 1234);
  EXPECT_DOUBLE_EQ(Snapshot().ResCur, 123.45);
  EXPECT_TRUE(Change(&Settings::lvSharpen, true));
  EXPECT_EQ(ReadUserDword("lvSharpen"), 1);
  EXPECT_TRUE(Change(&Settings::lvHatchColor, 0x00E6FAFFu));
  EXPECT_EQ(ReadUserDword("lvHatchColor"), 0x00E6FAFF);
  EXPECT_TRUE(Change(&Settings::JPG_Quality, 42));
  EXPECT_EQ(ReadUserDword("JPG_Quality"), 42);

  LoadSettings();  // what was stored reads back
  Settings s = Snapshot();
  EXPECT_DOUBLE_EQ(s.ResCur, 123.4);
  EXPECT_TRUE(s.lvSharpen);
  EXPECT_EQ(s.lvHatchColor, 0x00E6FAFFu);
  EXPECT_EQ(s.JPG_Quality, 42);
}

TEST(SettingsRecord, ResolutionOutsideThirtyTwoBitsIsLimited) {
  LoadSettings();
  EXPECT_TRUE(Change(&Settings::ResCur, -5.0));
  EXPECT_EQ(ReadUserDword("ResCur"), 0);
  EXPECT_TRUE(Change(&Settings::ResCur, 1e12));
  std::optional<Value> stored = registry::QueryValue(Hive::CurrentUser, kUserKey, "ResCur");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->data, registry::DwordData(0xFFFFFFFFu));
}

TEST(SettingsRecord, UnstoredFieldsAreNotChangedByChange) {
  LoadSettings();
  const int display = Snapshot().DisplayResolution;
  EXPECT_FALSE(Change(&Settings::DisplayResolution, display + 100));
  EXPECT_EQ(Snapshot().DisplayResolution, display);
  EXPECT_FALSE(Change(&Settings::ResCurDlg, 1.0));
  EXPECT_EQ(ValueNameOf(&Settings::KodEmailFormat), "KodEmailFormat");
  EXPECT_EQ(ValueNameOf(&Settings::PrinterResolution), "");
}

TEST(SettingsRecord, ChangeAndStoreWritesEveryNamedValue) {
  LoadSettings();
  EXPECT_TRUE(ChangeAndStore(
      [](Settings& s) {
        s.KodAntialias = 7;
        s.GIF_Delay = 0;
      },
      {"KodAntialias", "GIF_Delay"}));
  EXPECT_EQ(ReadUserDword("KodAntialias"), 7);
  EXPECT_EQ(ReadUserDword("GIF_Delay"), 0);
  EXPECT_FALSE(ChangeAndStore([](Settings& s) { s.GIF_Colors = 8; }, {"GIF_Colors", "NoSuchValue"}));
  EXPECT_EQ(ReadUserDword("GIF_Colors"), 8) << "the known names are still written";
}

TEST(SettingsRecord, SnapshotsNeverSeeHalfAChange) {
  LoadSettings();
  std::atomic<bool> stop{false};
  std::atomic<int> torn{0};
  std::thread reader([&] {
    while (!stop) {
      Settings s = Snapshot();
      if (s.GIF_Colors != s.PNG_Colors || s.GIF_Colors != s.TIF_Colors) ++torn;
    }
  });
  for (int i = 0; i < 20000; ++i) {
    Update([i](Settings& s) {
      s.GIF_Colors = i;
      s.PNG_Colors = i;
      s.TIF_Colors = i;
    });
  }
  stop = true;
  reader.join();
  EXPECT_EQ(torn, 0);
}

TEST(SettingsRecord, DamagedRegistryLeavesDefaultsAndTheFile) {
  StoreNumber("JPG_Quality", 10);
  std::string path = registry::StorePath();
  std::filesystem::resize_file(path, 1000);  // cut inside the first page
  std::vector<unsigned char> before = test::ReadFileBytes(path);
  EXPECT_TRUE(LoadSettings());
  EXPECT_EQ(Snapshot().JPG_Quality, 90);
  EXPECT_FALSE(Change(&Settings::JPG_Quality, 20));
  EXPECT_EQ(Snapshot().JPG_Quality, 20) << "the field keeps a change whose write failed";
  EXPECT_EQ(ReadUserDword("JPG_Quality"), -1);
  EXPECT_FALSE(ReadMachineString("InstallPath"));
  EXPECT_EQ(test::ReadFileBytes(path), before);
}

}  // namespace
}  // namespace pw::settings
