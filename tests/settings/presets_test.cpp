// The preset table: every step stores a named value once, and the presets
// differ only where they should.
#include "settings/presets.h"

#include <set>
#include <string>

#include <gtest/gtest.h>

namespace pw::settings {
namespace {

Settings Applied(Preset preset, Settings s = {}) {
  for (const PresetStep& step : PresetSteps(preset)) step.set(s);
  return s;
}

TEST(Presets, EveryStepStoresOneNamedValueOnce) {
  for (int n = 1; n <= 4; ++n) {
    const std::optional<Preset> preset = PresetFromNumber(n);
    ASSERT_TRUE(preset) << n;
    std::set<std::string> names;
    for (const PresetStep& step : PresetSteps(*preset)) {
      EXPECT_FALSE(step.name.empty()) << n;
      EXPECT_TRUE(names.insert(std::string(step.name)).second) << step.name;
    }
    EXPECT_FALSE(names.contains("lvKodPreset"));
    EXPECT_FALSE(names.contains("GIF_Default"));
  }
  EXPECT_FALSE(PresetFromNumber(0));
  EXPECT_FALSE(PresetFromNumber(5));
}

TEST(Presets, CommonValuesAndTheDemoHatch) {
  Settings changed;
  changed.ScaleCur = 250;
  changed.CheckN = 0;
  changed.KodAntialias = 20;
  changed.lvSharpen = true;
  changed.lvHatchAngle = 30;
  changed.lvBkGrHathStyle = 99;
  for (const auto& [preset, dpi, format] :
       {std::tuple{Preset::TextGraphics, 120.0, OutputFormat::Gif}, {Preset::Professional, 300.0, OutputFormat::Tif},
        {Preset::WordArtPhoto, 200.0, OutputFormat::Jpg}, {Preset::DemoDefault, 80.0, OutputFormat::Gif}}) {
    const Settings s = Applied(preset, changed);
    EXPECT_DOUBLE_EQ(s.ResCur, dpi);
    EXPECT_EQ(s.ScaleCur, 100);
    EXPECT_EQ(s.CheckN, 2);
    EXPECT_EQ(s.KodAntialias, 7);
    EXPECT_FALSE(s.lvSharpen);
    EXPECT_EQ(PresetFormat(preset), format);
    const bool demo = preset == Preset::DemoDefault;
    EXPECT_EQ(s.lvBkGrHathStyle, demo ? 4 : 100);
    EXPECT_EQ(s.lvHatchAngle, demo ? 0 : 30);
  }
  const Settings demo = Applied(Preset::DemoDefault);
  EXPECT_EQ(demo.lvCurBkGrColor, 0x00D4EBFFu);  // red 255, green 235, blue 212
  EXPECT_EQ(demo.lvHatchColor, 0x00E6FAFFu);    // red 255, green 250, blue 230
  EXPECT_EQ(demo.lvHatchWidth, 1);
  EXPECT_EQ(demo.lvHatchDepress, 10);
  EXPECT_EQ(demo.GIF_Colors, 256);
  EXPECT_EQ(demo.GIF_Delay, 0);
}

}  // namespace
}  // namespace pw::settings
