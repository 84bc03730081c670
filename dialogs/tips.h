#pragma once
// The six tips of the day and the rule that moves from one to the next.
#include <array>
#include <string_view>

namespace pw::dialogs {

inline constexpr int kTipCount = 6;

// Tip texts exactly as the program shows them (leading spaces and double
// spaces included).
const std::array<std::string_view, kTipCount>& TipTexts();

// The stored "lvNumTipOfTheDay" after one advance: below 0 becomes 1, 0 to 4
// go up by one, 5 or more become 0.
int NextTipNumber(int stored);

// Which tip a stored number shows: below 0 shows tip 0, and so does a
// number beyond the last tip (only something outside the program writes
// one), the tip the rotation would go on with.
int TipToShow(int stored);

}  // namespace pw::dialogs
