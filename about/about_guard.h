#pragma once
// Running the About box so that nothing escapes the library: an unexpected
// error is told to the user and turned into the result -1.
#include <functional>

namespace pw::about {

inline constexpr const char* kUnexpectedErrorText = "Tavrin Error Code Ab0002\nUnexpected Error";
inline constexpr const char* kAboutMessageCaption = "Tavrin About Message";

// 0 once show_box has returned; -1 after report_error when it threw.
int RunAboutGuarded(const std::function<void()>& show_box, const std::function<void()>& report_error);

// The box shown modally with no parent; returns when it is dismissed.
void ShowAboutBox();

// The "Ab0002" message: error icon, no owner.
void ShowUnexpectedError();

}  // namespace pw::about
