#include "ui/options_marks.h"

#include "res/command_ids.h"
#include "settings/settings_record.h"

namespace pw::ui {
namespace {

int AntialiasCommand(int factor) {
  namespace cmd = res::cmd;
  if (factor < 1) return cmd::kAntialiasNone;
  if (factor >= 20) return cmd::kAntialias20x;
  switch (factor) {
    case 2: return cmd::kAntialias2x;
    case 3: return cmd::kAntialias3x;
    case 5: return cmd::kAntialias5x;
    case 7: return cmd::kAntialias7x;
    case 10: return cmd::kAntialias10x;
    case 15: return cmd::kAntialias15x;
    default: return 0;
  }
}

int PresetCommand(int preset) {
  namespace cmd = res::cmd;
  switch (preset) {
    case 1: return cmd::kPresetTextGraphics;
    case 2: return cmd::kPresetProfessional;
    case 3: return cmd::kPresetWordArtPhoto;
    case 4: return cmd::kPresetDemoDefault;
    default: return 0;
  }
}

}  // namespace

OptionsMarks OptionsMarksFor(const settings::Settings& settings) {
  namespace cmd = res::cmd;
  OptionsMarks marks;
  if (const int id = AntialiasCommand(settings.KodAntialias)) marks.checked.push_back(id);
  if (const int id = PresetCommand(settings.lvKodPreset)) marks.checked.push_back(id);
  if (settings.lvSharpen) marks.checked.push_back(cmd::kSharpen);
  if (settings.lvIncludeDateTime) marks.checked.push_back(cmd::kDateTimeStamp);
  if (settings.QuickStartReference) {
    marks.greyed = {cmd::kAntialiasNone,  cmd::kAntialias2x,         cmd::kAntialias3x,
                    cmd::kAntialias5x,    cmd::kAntialias10x,        cmd::kAntialias15x,
                    cmd::kAntialias20x,   cmd::kResolutionDialog,    cmd::kHatchSettings,
                    cmd::kPresetTextGraphics, cmd::kPresetProfessional, cmd::kPresetWordArtPhoto};
  }
  return marks;
}

}  // namespace pw::ui
