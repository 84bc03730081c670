#pragma once
// The About command: the About library loaded from the install folder for
// the length of one call of its entry, then freed.
#include <string>

namespace pw::dialogs {

inline constexpr const char* kAboutLibraryName = "libpwAbout.so";
inline constexpr const char* kAboutEntryName = "AboutTavrinSystem";

enum class AboutOutcome { Shown, NoLibrary, NoEntry };

// The install folder's About library.
std::string AboutLibraryPath();

// Loads the library, calls its entry and waits for it (its result is not
// used), and frees it. A library that does not load, or lacks the entry,
// shows nothing and says nothing.
AboutOutcome RunAboutCommand();

}  // namespace pw::dialogs
