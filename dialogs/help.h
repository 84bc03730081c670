#pragma once
// Opening the program's help file, "Snaplet.chm" in the install folder,
// at the start page or at one of its topics. Option dialogs pass their
// topic; the Help command passes none.
#include <cstdint>
#include <string>
#include <string_view>

namespace pw::dialogs {

inline constexpr std::string_view kHelpFileName = "Snaplet.chm";

// Topics the option dialogs open.
inline constexpr std::string_view kResolutionHelpTopic = "::/dim.htm";
inline constexpr std::string_view kOptionsHelpTopic = "::/options.htm";
inline constexpr std::string_view kHatchHelpTopic = "::/hatch.htm";

// The install folder's help file followed by the topic ("" for the start
// page), as the help engine takes it.
std::string HelpPath(std::string_view topic);

// Shows the help file at the topic through the help engine. Returns the
// help window's id, or 0 when there is no help component, without a
// message either way.
std::uintptr_t ShowHelp(std::string_view topic = {});

}  // namespace pw::dialogs
