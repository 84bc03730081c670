#pragma once
// Menu 135 as data: its three popups, "Options" (0), "RClick" (1) and
// "Help" (2). Windows build their menus from these tables; nothing else
// spells out an item's text.
#include <span>
#include <string_view>

namespace pw::res {

struct MenuItem {
  enum class Kind { Command, Separator, Submenu };
  Kind kind = Kind::Command;
  int command = 0;                  // Command only
  std::string_view text;            // '&' marks the mnemonic
  std::span<const MenuItem> items;  // Submenu only
};

struct Popup {
  std::string_view name;
  std::span<const MenuItem> items;
};

enum class PopupIndex : int { Options = 0, RClick = 1, Help = 2 };

// The popups of menu 135 in resource order.
std::span<const Popup> MainMenu();

const Popup& MainMenuPopup(PopupIndex index);

// The item with this command anywhere in the popup (submenus included);
// null when the popup has none.
const MenuItem* FindMenuItem(const Popup& popup, int command);

}  // namespace pw::res
