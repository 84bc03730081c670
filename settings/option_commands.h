#pragma once
// The option commands of the options menu, the command panel's options
// pop-up and the main frame's accelerators: presets, antialiasing,
// sharpening, the date-and-time stamp and the three option dialogs. Each
// stores what it changes at once and then refreshes what the user sees
// through the host. All run on the user-interface thread.
#include "res/command_ids.h"
#include "settings/option_host.h"
#include "settings/presets.h"

namespace pw::settings {

// The option commands by their identifiers in the menus and the
// accelerator table.
enum class OptionCommand : int {
  PresetTextGraphics = res::cmd::kPresetTextGraphics,  // F3
  PresetWordArtPhoto = res::cmd::kPresetWordArtPhoto,  // F4
  PresetProfessional = res::cmd::kPresetProfessional,  // F5
  PresetDemoDefault = res::cmd::kPresetDemoDefault,    // F6
  Resolution = res::cmd::kResolutionDialog,            // Ctrl+D
  ImageFormat = res::cmd::kImageFormatDialog,          // Ctrl+C
  Sharpen = res::cmd::kSharpen,
  AntialiasNone = res::cmd::kAntialiasNone,  // Ctrl+N
  Antialias2 = res::cmd::kAntialias2x,       // Ctrl+2
  Antialias3 = res::cmd::kAntialias3x,       // Ctrl+3
  Antialias5 = res::cmd::kAntialias5x,       // Ctrl+5
  Antialias7 = res::cmd::kAntialias7x,       // Ctrl+7
  Antialias10 = res::cmd::kAntialias10x,     // Ctrl+0
  Antialias15 = res::cmd::kAntialias15x,     // Ctrl+Z
  Antialias20 = res::cmd::kAntialias20x,     // Ctrl+X
  DateTimeStamp = res::cmd::kDateTimeStamp,
  HatchFromMenu = res::cmd::kHatchSettings,            // the Options pop-up's item
  HatchFromAccelerator = res::cmd::kHatchAccelerator,  // Ctrl+H
};

inline constexpr std::string_view kLeaveQuickStartQuestion = "Demo-mode settings will be discarded. Proceed?";

// Stores the preset's values, re-renders the current page and every
// thumbnail, and records the preset in "lvKodPreset".
void ApplyPreset(Preset preset, OptionHost& host);

// factor: 0, 2, 3, 5, 7, 10, 15 or 20. The thumbnails stay as they are.
void SetAntialiasing(int factor, OptionHost& host);

void ToggleSharpen(OptionHost& host);
// Leaves "lvKodPreset" as it is.
void ToggleDateTimeStamp(OptionHost& host);

// The resolution dialog; on OK its choice, resolution and scale become
// current and are stored. Cancel changes nothing.
void EditResolution(OptionHost& host);

// The full image format sheet; on OK every format's values, the output
// format and the PDF inside format are stored. Cancel changes nothing.
void EditImageFormat(OptionHost& host);

// The hatch settings dialog; after OK the current page and the thumbnails
// are re-rendered and "lvKodPreset" becomes 0.
void EditHatch(OptionHost& host);

// Makes a single-image format the output format and renders the current
// page again; nothing happens when it is the output format already. False
// for a multipage format.
bool SelectOutputFormat(OutputFormat format, OptionHost& host);

// The antialiasing factor of a command, or nothing.
std::optional<int> AntialiasingOf(int command);

// Runs an option command of the options pop-up by its identifier; false
// for an identifier that is none of them.
bool RunOptionCommand(int command, OptionHost& host);

// Asks to leave the Quick Start Reference mode; on Yes clears the mode and
// returns true. Does not ask (true) when the mode is off.
bool AskToLeaveQuickStart();

// An option command from the main frame's accelerators. In Quick Start
// Reference mode the demo preset does nothing, and every other command
// first asks to leave the mode: No drops it, Yes ends the mode, runs the
// command and re-renders the thumbnails. False for an identifier that is
// not an option command.
bool RunOptionAccelerator(int command, OptionHost& host);

}  // namespace pw::settings
