// The command table, menu 135 and accelerator table 144, and the Options
// popup's marks.
#include "res/accelerators.h"
#include "res/command_ids.h"
#include "res/main_menu.h"
#include "settings/settings_record.h"
#include "ui/command_table.h"
#include "ui/options_marks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace pw::ui {
namespace {

namespace cmd = res::cmd;

TEST(CommandTable, RunsTheInstalledOperationAndNothingElse) {
  CommandTable table;
  int runs = 0;
  EXPECT_FALSE(table.Run(cmd::kSaveToDisk));
  table.Set(cmd::kSaveToDisk, [&] { ++runs; });
  EXPECT_TRUE(table.Has(cmd::kSaveToDisk));
  EXPECT_TRUE(table.Run(cmd::kSaveToDisk));
  EXPECT_FALSE(table.Run(cmd::kSavePdf));
  EXPECT_EQ(runs, 1);
  table.Set(cmd::kSaveToDisk, {});
  EXPECT_FALSE(table.Has(cmd::kSaveToDisk));
  EXPECT_FALSE(table.Run(cmd::kSaveToDisk));
  EXPECT_EQ(runs, 1);
}

TEST(CommandTable, AnOperationMayReplaceItselfWhileItRuns) {
  CommandTable table;
  std::vector<int> seen;
  table.Set(1, [&] {
    seen.push_back(1);
    table.Set(1, [&] { seen.push_back(2); });
    seen.push_back(3);  // still running the first operation's body
  });
  table.Run(1);
  table.Run(1);
  EXPECT_EQ(seen, (std::vector<int>{1, 3, 2}));
}

TEST(CommandTable, SourcedOperationsLearnWhereTheCommandCameFrom) {
  CommandTable table;
  std::vector<CommandSource> sources;
  int plain_runs = 0;
  table.SetSourced(cmd::kAntialias7x, [&](CommandSource source) { sources.push_back(source); });
  table.Set(cmd::kSaveToDisk, [&] { ++plain_runs; });
  EXPECT_TRUE(table.Run(cmd::kAntialias7x, CommandSource::Key));
  EXPECT_TRUE(table.Run(cmd::kAntialias7x));  // menus and buttons
  EXPECT_TRUE(table.Run(cmd::kSaveToDisk, CommandSource::Key));
  EXPECT_TRUE(table.Run(cmd::kSaveToDisk));
  EXPECT_EQ(sources, (std::vector<CommandSource>{CommandSource::Key, CommandSource::MenuOrButton}));
  EXPECT_EQ(plain_runs, 2);
  table.SetSourced(cmd::kAntialias7x, {});
  EXPECT_FALSE(table.Has(cmd::kAntialias7x));
}

// The accelerator named after an item's tab ("Ctrl+Z", "F3").
std::pair<int, bool> ParseHint(const std::string& hint) {
  if (hint.rfind("Ctrl+", 0) == 0) return {hint[5], true};
  if (hint[0] == 'F') return {res::vk::kF1 + std::stoi(hint.substr(1)) - 1, false};
  return {0, false};
}

void CollectItems(std::span<const res::MenuItem> items, std::vector<const res::MenuItem*>& out) {
  for (const res::MenuItem& item : items) {
    if (item.kind == res::MenuItem::Kind::Submenu) CollectItems(item.items, out);
    if (item.kind == res::MenuItem::Kind::Command) out.push_back(&item);
  }
}

TEST(MenuAndAccelerators, EveryKeyShownInAMenuSendsThatItemsCommand) {
  std::vector<const res::MenuItem*> items;
  for (const res::Popup& popup : res::MainMenu()) CollectItems(popup.items, items);
  int hints = 0;
  for (const res::MenuItem* item : items) {
    const std::string text(item->text);
    const std::size_t tab = text.find('\t');
    if (tab == std::string::npos) continue;
    ++hints;
    const auto [key, control] = ParseHint(text.substr(tab + 1));
    const auto& table = res::AcceleratorTable();
    const auto row = std::find_if(table.begin(), table.end(), [&](const res::Accelerator& a) {
      return a.key == key && a.control == control && !a.shift;
    });
    ASSERT_NE(row, table.end()) << text;
    // Ctrl+H sends the hatch dialog's own accelerator command.
    const int expected = item->command == cmd::kHatchSettings ? cmd::kHatchAccelerator : item->command;
    EXPECT_EQ(row->command, expected) << text;
  }
  EXPECT_EQ(hints, 16);
}

TEST(MenuAndAccelerators, NoKeyIsBoundTwice) {
  std::set<std::tuple<int, bool, bool>> keys;
  for (const res::Accelerator& a : res::AcceleratorTable()) {
    EXPECT_TRUE(keys.insert({a.key, a.control, a.shift}).second) << a.key;
  }
  EXPECT_EQ(keys.size(), 29u);
}

TEST(MenuAndAccelerators, PopupsInResourceOrderWithTheirCommands) {
  ASSERT_EQ(res::MainMenu().size(), 3u);
  EXPECT_EQ(res::MainMenuPopup(res::PopupIndex::Options).name, "Options");
  const res::Popup& rclick = res::MainMenuPopup(res::PopupIndex::RClick);
  EXPECT_EQ(rclick.name, "RClick");
  ASSERT_EQ(rclick.items.size(), 3u);
  EXPECT_EQ(rclick.items[0].text, "Send to...");
  EXPECT_EQ(rclick.items[2].command, cmd::kSetWallpaper);
  const res::Popup& help = res::MainMenuPopup(res::PopupIndex::Help);
  EXPECT_EQ(help.name, "Help");
  for (int id : {cmd::kHelp, cmd::kAbout, cmd::kMakerOnline, cmd::kMakerSupport, cmd::kEmergencyReport}) {
    EXPECT_NE(res::FindMenuItem(help, id), nullptr) << id;
  }
  const res::Popup& options = res::MainMenuPopup(res::PopupIndex::Options);
  for (int id : {cmd::kAntialias7x, cmd::kPresetDemoDefault, cmd::kSharpen, cmd::kHatchSettings,
                 cmd::kDateTimeStamp, cmd::kResolutionDialog, cmd::kImageFormatDialog}) {
    EXPECT_NE(res::FindMenuItem(options, id), nullptr) << id;
  }
  EXPECT_EQ(res::FindMenuItem(options, cmd::kHelp), nullptr);
}

bool Contains(const std::vector<int>& ids, int id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); }

TEST(OptionsMarks, AntialiasingChecksTheOfferedFactorOnly) {
  settings::Settings s;
  const std::map<int, int> expected{{0, cmd::kAntialiasNone},  {-1, cmd::kAntialiasNone},
                                    {2, cmd::kAntialias2x},    {3, cmd::kAntialias3x},
                                    {5, cmd::kAntialias5x},    {7, cmd::kAntialias7x},
                                    {10, cmd::kAntialias10x},  {15, cmd::kAntialias15x},
                                    {20, cmd::kAntialias20x},  {64, cmd::kAntialias20x}};
  for (const auto& [factor, id] : expected) {
    s.KodAntialias = factor;
    const OptionsMarks marks = OptionsMarksFor(s);
    EXPECT_TRUE(Contains(marks.checked, id)) << factor;
  }
  s.KodAntialias = 4;
  s.lvKodPreset = 0;
  s.lvSharpen = false;
  s.lvIncludeDateTime = false;
  EXPECT_TRUE(OptionsMarksFor(s).checked.empty());
}

TEST(OptionsMarks, PresetSharpenAndStamp) {
  settings::Settings s;
  s.KodAntialias = 4;
  s.lvKodPreset = 2;
  s.lvSharpen = true;
  s.lvIncludeDateTime = true;
  const OptionsMarks marks = OptionsMarksFor(s);
  EXPECT_TRUE(Contains(marks.checked, cmd::kPresetProfessional));
  EXPECT_TRUE(Contains(marks.checked, cmd::kSharpen));
  EXPECT_TRUE(Contains(marks.checked, cmd::kDateTimeStamp));
  EXPECT_EQ(marks.checked.size(), 3u);
  s.lvKodPreset = 3;
  EXPECT_TRUE(Contains(OptionsMarksFor(s).checked, cmd::kPresetWordArtPhoto));
}

TEST(OptionsMarks, QuickStartReferenceGreysAllButSevenTimesAndDemoDefault) {
  settings::Settings s;
  EXPECT_TRUE(OptionsMarksFor(s).greyed.empty());
  s.QuickStartReference = true;
  const OptionsMarks marks = OptionsMarksFor(s);
  EXPECT_EQ(marks.greyed.size(), 12u);
  EXPECT_FALSE(Contains(marks.greyed, cmd::kAntialias7x));
  EXPECT_FALSE(Contains(marks.greyed, cmd::kPresetDemoDefault));
  EXPECT_FALSE(Contains(marks.greyed, cmd::kImageFormatDialog));
  EXPECT_FALSE(Contains(marks.greyed, cmd::kSharpen));
  EXPECT_TRUE(Contains(marks.greyed, cmd::kAntialias20x));
  EXPECT_TRUE(Contains(marks.greyed, cmd::kHatchSettings));
  EXPECT_TRUE(Contains(marks.greyed, cmd::kResolutionDialog));
}

}  // namespace
}  // namespace pw::ui
