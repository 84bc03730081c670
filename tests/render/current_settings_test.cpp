#include <gtest/gtest.h>

#include "render/current_settings.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"

namespace pw::render {
namespace {

TEST(CurrentSettings, ResolutionFollowsTheRecord) {
  settings::Update([](settings::Settings& s) {
    s.CheckN = 1;
    s.PrinterResolution = 600;
  });
  EXPECT_EQ(CurrentResolution(), 600.0);
  settings::Update([](settings::Settings& s) {
    s.CheckN = 2;
    s.ResCur = 123.4;
  });
  EXPECT_DOUBLE_EQ(CurrentResolution(), 123.4);
  settings::Update([](settings::Settings& s) { s.QuickStartReference = true; });
  EXPECT_EQ(CurrentResolution(), 80.0);
}

TEST(CurrentSettings, OptionsComeFromOneSnapshotAndTheStoredPdfFormat) {
  ASSERT_TRUE(settings::WriteUserString("PDF_Bitmp_Format", "PNG"));
  settings::Update([](settings::Settings& s) {
    s.KodAntialias = 7;
    s.lvBkGrHathStyle = 5;
    s.lvHatchDepress = 12;
    s.GIF_Colors = 32;
    s.KodMultipageFormat = 1;
    s.QuickStartReference = true;
  });
  const RenderOptions o = CurrentRenderOptions();
  EXPECT_EQ(o.KodAntialias, 7);
  EXPECT_EQ(o.background.lvBkGrHathStyle, 5);
  EXPECT_EQ(o.background.lvHatchDepress, 12);
  EXPECT_TRUE(o.background.quick_start);
  EXPECT_EQ(o.encoding.GIF_Colors, 32);
  EXPECT_EQ(o.encoding.KodMultipageFormat, 1);
  EXPECT_EQ(o.encoding.PDF_Bitmp_Format, "PNG");
}

}  // namespace
}  // namespace pw::render
