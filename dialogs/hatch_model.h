#pragma once
// The working copy of the page background that the hatch settings dialog
// edits, and the state of its three number fields. Typed numbers are taken
// as they are; the up-down ranges (width and spacing 0 to 100, angle 0 to
// 90) bind only the arrows. OK stores what differs from the settings.
#include <map>
#include <string>

#include "dialogs/up_down_state.h"
#include "render/hatch_preview.h"
#include "settings/settings_record.h"

namespace pw::dialogs {

// Control identifiers of the dialog (template 192).
enum HatchControl : int {
  kHatchHelpButton = 3,
  kHatchHorizontalCheck = 1006,
  kHatchVerticalCheck = 1007,
  kHatchShowBackgroundCheck = 1008,
  kHatchWidthEdit = 1023,
  kHatchWidthUpDown = 1024,
  kHatchSpacingEdit = 1025,
  kHatchSpacingUpDown = 1026,
  kHatchAngleEdit = 1027,
  kHatchAngleUpDown = 1028,
};

// The background styles the dialog produces.
inline constexpr int kHatchStyleShown = 4;
inline constexpr int kHatchStyleNone = 100;

class HatchModel {
 public:
  // The dialog's initialisation: the working copy of the settings, with
  // any style below 100 taken as the line hatch.
  explicit HatchModel(const settings::Settings& settings);

  // The user changed the text of edit `id` to `text`.
  void Type(int id, const std::string& text);
  // An arrow of up-down `id`: +1 up, -1 down. The field's value follows
  // what the arrow writes into it.
  void Step(int id, int delta);

  void ToggleHorizontal() { working_.horizontal_lines = !working_.horizontal_lines; }
  void ToggleVertical() { working_.vertical_lines = !working_.vertical_lines; }
  void ToggleShowBackground() { style_ = style_ >= kHatchStyleNone ? kHatchStyleShown : kHatchStyleNone; }
  void SetBackgroundColor(settings::Colorref color) { working_.background_color = color; }
  void SetHatchColor(settings::Colorref color) { working_.hatch_color = color; }

  // A background is shown: the swatches and the pattern fields are active.
  bool Shown() const { return style_ < kHatchStyleNone; }
  int Style() const { return style_; }
  const render::HatchWorkingValues& Working() const { return working_; }
  const std::string& Text(int edit) const { return texts_.at(edit); }
  const UpDownState& UpDown(int id) const { return up_downs_.at(id); }

  // Stores every working value that differs from the settings, in the
  // order style, hatch colour, background colour, width, spacing, angle,
  // horizontal and vertical lines.
  void Commit() const;

 private:
  int& ValueOf(int edit);

  int style_;
  render::HatchWorkingValues working_;
  std::map<int, std::string> texts_;
  std::map<int, UpDownState> up_downs_;
};

}  // namespace pw::dialogs
