#pragma once
// The check marks and greyed items of the Options popup for the settings
// of the moment.
#include <vector>

namespace pw::settings {
struct Settings;
}

namespace pw::ui {

struct OptionsMarks {
  std::vector<int> checked;  // command ids
  std::vector<int> greyed;
};

// Antialiasing by factor (below 1 "None", 20 or more "20x", a factor the
// menu does not offer checks nothing), the preset, Sharpen and the date
// stamp. In Quick Start Reference mode the items that would discard the
// sample settings are greyed: every antialiasing factor but 7x, the
// resolution and hatch dialogs, and every preset but "Demo default".
OptionsMarks OptionsMarksFor(const settings::Settings& settings);

}  // namespace pw::ui
