#include "settings/output_format.h"

#include "settings/settings_store.h"

#include <gtest/gtest.h>

namespace pw::settings {
namespace {

TEST(OutputFormat, CodesExtensionsFlagsAndModes) {
  struct Row {
    int code;
    std::string_view extension;
    std::string_view flag;
    int mode;
  };
  const Row rows[] = {{1, ".jpg", "JPG_Default", 0}, {2, ".gif", "GIF_Default", 0}, {3, ".png", "PNG_Default", 0},
                      {4, ".bmp", "BMP_Default", 0}, {5, ".tif", "TIF_Default", 0}, {6, ".pdf", "", 1},
                      {7, ".tif", "", 2},            {8, ".gif", "", 3}};
  for (const Row& row : rows) {
    std::optional<OutputFormat> format = OutputFormatFromCode(row.code);
    ASSERT_TRUE(format) << row.code;
    EXPECT_EQ(CodeOf(*format), row.code);
    EXPECT_EQ(ExtensionOf(*format), row.extension) << row.code;
    EXPECT_EQ(FlagNameOf(*format), row.flag) << row.code;
    EXPECT_EQ(MultipageModeOf(*format), row.mode) << row.code;
  }
  EXPECT_FALSE(OutputFormatFromCode(0));
  EXPECT_FALSE(OutputFormatFromCode(9));
  EXPECT_FALSE(OutputFormatFromCode(-1));
}

TEST(OutputFormat, FlaggedFormatIsTheFirstFlagOn) {
  Settings s;
  EXPECT_EQ(FlaggedFormat(s), OutputFormat::Jpg);
  s.JPG_Default = false;
  EXPECT_FALSE(FlaggedFormat(s));
  s.TIF_Default = true;
  s.PNG_Default = true;
  EXPECT_EQ(FlaggedFormat(s), OutputFormat::Png);
}

TEST(OutputFormat, MakeOutputFormatIsOneHotAndStored) {
  LoadSettings();
  ASSERT_TRUE(MakeOutputFormat(OutputFormat::Tif));
  Settings s = Snapshot();
  EXPECT_TRUE(s.TIF_Default);
  EXPECT_FALSE(s.JPG_Default || s.GIF_Default || s.PNG_Default || s.BMP_Default);
  EXPECT_EQ(ReadUserDword("TIF_Default"), 1);
  for (std::string_view name : {"JPG_Default", "GIF_Default", "PNG_Default", "BMP_Default"})
    EXPECT_EQ(ReadUserDword(name), 0) << name;

  EXPECT_FALSE(MakeOutputFormat(OutputFormat::MultipagePdf));
  EXPECT_EQ(FlaggedFormat(Snapshot()), OutputFormat::Tif);
  LoadSettings();
  EXPECT_EQ(FlaggedFormat(Snapshot()), OutputFormat::Tif);
}

}  // namespace
}  // namespace pw::settings
