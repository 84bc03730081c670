#pragma once
// The four presets: each sets the custom resolution at 100 % scale, 7x
// antialiasing, no sharpening, a background style and the values of one
// output format; the demo preset also sets the line hatch. The window's
// preset commands and pagewick-convert --preset both take them from here.
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "settings/output_format.h"
#include "settings/settings_record.h"

namespace pw::settings {

enum class Preset { TextGraphics = 1, Professional = 2, WordArtPhoto = 3, DemoDefault = 4 };

// The preset of a number 1 to 4; nothing for any other.
std::optional<Preset> PresetFromNumber(int number);

// One value a preset sets: the change to the record and the stored value's
// name.
struct PresetStep {
  std::function<void(Settings&)> set;
  std::string_view name;
};

// The preset's values in the order they are stored: resolution, scale and
// choice, antialiasing, background style, the hatch (demo preset only),
// sharpening, then the format's values. Neither the output format flags nor
// "lvKodPreset" are among them.
std::vector<PresetStep> PresetSteps(Preset preset);

// The output format the preset selects: GIF, TIF, JPG or GIF.
OutputFormat PresetFormat(Preset preset);

}  // namespace pw::settings
