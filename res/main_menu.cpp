#include "res/main_menu.h"

#include "res/command_ids.h"

#include <array>

namespace pw::res {
namespace {

using Kind = MenuItem::Kind;

constexpr MenuItem Item(int command, std::string_view text) { return {Kind::Command, command, text, {}}; }
constexpr MenuItem Separator() { return {Kind::Separator, 0, {}, {}}; }
constexpr MenuItem Submenu(std::string_view text, std::span<const MenuItem> items) {
  return {Kind::Submenu, 0, text, items};
}

constexpr std::array kPresets{
    Item(cmd::kPresetTextGraphics, "&Text/Graphics\tF3"),
    Item(cmd::kPresetWordArtPhoto, "&WordArt/Photo\tF4"),
    Item(cmd::kPresetProfessional, "&Professional\tF5"),
    Item(cmd::kPresetDemoDefault, "&Demo default\tF6"),
};

constexpr std::array kAntialiasing{
    Item(cmd::kAntialias20x, "20x\tCtrl+X"), Item(cmd::kAntialias15x, "15x\tCtrl+Z"),
    Item(cmd::kAntialias10x, "10x\tCtrl+0"), Item(cmd::kAntialias7x, "7x\tCtrl+7"),
    Item(cmd::kAntialias5x, "5x\tCtrl+5"),   Item(cmd::kAntialias3x, "3x\tCtrl+3"),
    Item(cmd::kAntialias2x, "2x\tCtrl+2"),   Item(cmd::kAntialiasNone, "&None\tCtrl+N"),
};

constexpr std::array kOptions{
    Submenu("&Presets", kPresets),
    Separator(),
    Item(cmd::kResolutionDialog, "Image Resolution and &Dimension ...\tCtrl+D"),
    Item(cmd::kImageFormatDialog, "Image Format and Quality...\tCtrl+C"),
    Separator(),
    Submenu("&Antialiasing", kAntialiasing),
    Item(cmd::kSharpen, "Sharpen"),
    Item(cmd::kHatchSettings, "Background and Hatch settings\tCtrl+H"),
    Item(cmd::kDateTimeStamp, "Date and Time stamp"),
};

constexpr std::array kRClick{
    Item(cmd::kSendPage, "Send to..."),
    Item(cmd::kSavePage, "Save to..."),
    Item(cmd::kSetWallpaper, "Set to Wallpaper"),
};

constexpr std::array kHelp{
    Item(cmd::kHelp, "Help\tF1"),
    Item(cmd::kAbout, "About"),
    Separator(),
    Item(cmd::kMakerOnline, "Tavrin Online"),
    Item(cmd::kMakerSupport, "Tavrin Support"),
    Separator(),
    Item(cmd::kEmergencyReport, "Emergency Report"),
};

constexpr std::array kMenu{
    Popup{"Options", kOptions},
    Popup{"RClick", kRClick},
    Popup{"Help", kHelp},
};

const MenuItem* FindIn(std::span<const MenuItem> items, int command) {
  for (const MenuItem& item : items) {
    if (item.kind == Kind::Command && item.command == command) return &item;
    if (item.kind == Kind::Submenu) {
      if (const MenuItem* found = FindIn(item.items, command)) return found;
    }
  }
  return nullptr;
}

}  // namespace

std::span<const Popup> MainMenu() { return kMenu; }

const Popup& MainMenuPopup(PopupIndex index) { return kMenu[static_cast<std::size_t>(index)]; }

const MenuItem* FindMenuItem(const Popup& popup, int command) { return FindIn(popup.items, command); }

}  // namespace pw::res
