#pragma once
// Where the program keeps its files on this machine. Folder texts end with
// '/' and are joined with names by concatenation.
#include <optional>
#include <string>

namespace pw::platform {

// The emulated machine's root: $PAGEWICK_HOME, else
// $XDG_DATA_HOME/pagewick/, else ~/.local/share/pagewick/. Created on demand.
std::string HomeFolder();

// The emulated "Windows folder": HomeFolder() + "windows/".
std::string WindowsFolder();

// The emulated root of drive C: HomeFolder() + "c/".
std::string MachineRootFolder();

// The user's private temporary folder: $TMPDIR if set and the user's own,
// else pagewick-<uid>/ inside a shared sticky $TMPDIR or inside /tmp,
// created with mode 0700. Absent when it is someone else's (and not a
// shared temporary folder), is a symbolic link, or cannot be made.
std::optional<std::string> TempFolder();

// For a program run outside a desktop session: sets XDG_RUNTIME_DIR, when
// it is unset, to TempFolder() + "runtime/" (made with mode 0700), the
// private folder Qt wants and otherwise warns about on every start.
void ProvideRuntimeFolder();

// TempFolder() + "Pagewick/", created on demand.
std::optional<std::string> WorkFolder();

// The folder that holds emf/, the help file and the About library, as
// installed: $PAGEWICK_INSTALL_DIR if set, else share/pagewick/ beside the
// program's bin/ folder.
std::string DefaultInstallFolder();

// The folder of the program's shared libraries and components: lib/pagewick/
// beside the program's bin/ folder.
std::string ProgramLibraryFolder();

}  // namespace pw::platform
