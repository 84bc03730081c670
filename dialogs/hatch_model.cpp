#include "dialogs/hatch_model.h"

namespace pw::dialogs {
namespace {

int BuddyOf(int up_down) { return up_down - 1; }

}  // namespace

HatchModel::HatchModel(const settings::Settings& s)
    : style_(s.lvBkGrHathStyle < kHatchStyleNone ? kHatchStyleShown : kHatchStyleNone) {
  working_.background_color = s.lvCurBkGrColor;
  working_.hatch_color = s.lvHatchColor;
  working_.width = s.lvHatchWidth;
  working_.spacing = s.lvHatchDepress;
  working_.angle = s.lvHatchAngle;
  working_.horizontal_lines = s.lvHatchLnHor;
  working_.vertical_lines = s.lvHatchLnVert;
  const struct {
    int up_down, maximum, value;
  } fields[] = {{kHatchWidthUpDown, 100, working_.width},
                {kHatchSpacingUpDown, 100, working_.spacing},
                {kHatchAngleUpDown, 90, working_.angle}};
  for (const auto& f : fields) {
    UpDownState& state = up_downs_[f.up_down] = {0, f.maximum, 0};
    state.position = ClampToRange(state, f.value);
    // The field shows the working value even where the arrows cannot reach it.
    texts_[BuddyOf(f.up_down)] = PositionText(f.value);
  }
}

int& HatchModel::ValueOf(int edit) {
  switch (edit) {
    case kHatchWidthEdit: return working_.width;
    case kHatchSpacingEdit: return working_.spacing;
    default: return working_.angle;
  }
}

void HatchModel::Type(int id, const std::string& text) {
  texts_.at(id) = text;
  ValueOf(id) = EditInteger(text);
}

void HatchModel::Step(int id, int delta) {
  UpDownState& state = up_downs_.at(id);
  const int edit = BuddyOf(id);
  state.position = SteppedPosition(state, texts_.at(edit), delta);
  texts_.at(edit) = PositionText(state.position);
  ValueOf(edit) = state.position;
}

void HatchModel::Commit() const {
  using settings::Settings;
  const Settings s = settings::Snapshot();
  if (style_ != s.lvBkGrHathStyle) settings::Change(&Settings::lvBkGrHathStyle, style_);
  if (working_.hatch_color != s.lvHatchColor) settings::Change(&Settings::lvHatchColor, working_.hatch_color);
  if (working_.background_color != s.lvCurBkGrColor)
    settings::Change(&Settings::lvCurBkGrColor, working_.background_color);
  if (working_.width != s.lvHatchWidth) settings::Change(&Settings::lvHatchWidth, working_.width);
  if (working_.spacing != s.lvHatchDepress) settings::Change(&Settings::lvHatchDepress, working_.spacing);
  if (working_.angle != s.lvHatchAngle) settings::Change(&Settings::lvHatchAngle, working_.angle);
  if (working_.horizontal_lines != s.lvHatchLnHor)
    settings::Change(&Settings::lvHatchLnHor, working_.horizontal_lines);
  if (working_.vertical_lines != s.lvHatchLnVert) settings::Change(&Settings::lvHatchLnVert, working_.vertical_lines);
}

}  // namespace pw::dialogs
