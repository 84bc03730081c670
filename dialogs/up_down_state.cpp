#include "dialogs/up_down_state.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace pw::dialogs {

std::optional<int> ParseEditInteger(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

int ClampToRange(const UpDownState& state, double value) {
  const int low = std::min(state.minimum, state.maximum);
  const int high = std::max(state.minimum, state.maximum);
  if (std::isnan(value)) return low;
  return static_cast<int>(std::clamp(value, static_cast<double>(low), static_cast<double>(high)));
}

int SteppedPosition(const UpDownState& state, std::string_view buddy_text, int delta) {
  const int from = ClampToRange(state, ParseEditInteger(buddy_text).value_or(state.position));
  return ClampToRange(state, static_cast<double>(from) + delta);
}

std::string PositionText(int position) { return std::to_string(position); }

}  // namespace pw::dialogs
