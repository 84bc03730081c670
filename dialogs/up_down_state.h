#pragma once
// The state of an up-down control paired with its buddy edit, as the
// dialogs' models keep it: the arrows move a position within a range and
// write it into the buddy as a plain integer; what is typed into the buddy
// is only limited when the arrows next read it.
#include <optional>
#include <string>
#include <string_view>

namespace pw::dialogs {

struct UpDownState {
  int minimum = 0;
  int maximum = 100;
  int position = 0;
  bool enabled = true;
};

// An edit's text as a signed integer: spaces around it are allowed;
// nothing for any other text.
std::optional<int> ParseEditInteger(std::string_view text);

// As a dialog reads a number from an edit: text that is not one reads as 0.
inline int EditInteger(std::string_view text) { return ParseEditInteger(text).value_or(0); }

// The value moved into the range; a value that is not a number (or lies
// beyond what an int holds) is taken at the nearer limit.
int ClampToRange(const UpDownState& state, double value);

// The position after an arrow: the buddy's number (limited to the range;
// the position as it was when the buddy holds no number) moved by `delta`
// and limited again.
int SteppedPosition(const UpDownState& state, std::string_view buddy_text, int delta);

std::string PositionText(int position);

}  // namespace pw::dialogs
