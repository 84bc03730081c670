#pragma once
// The registry operations every part of the program uses. Each call opens
// the key, does its one operation and closes it again; no handle is kept.
// Names are values under the user key "Software\Tavrin\Pagewick" unless
// said otherwise.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/registry/machine_key.h"

namespace pw::settings {

inline constexpr std::string_view kUserKey = "Software\\Tavrin\\Pagewick";
inline constexpr std::string_view kMachineKey = registry::kMachineKeyPath;
inline constexpr std::string_view kShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// The value when the key opens, the value exists and is a REG_DWORD;
// otherwise -1 (a stored 0xFFFFFFFF reads as -1 too).
int ReadUserDword(std::string_view name);

// Creates the key if needed and stores a 4-byte REG_DWORD.
bool WriteUserDword(std::string_view name, std::uint32_t value);

// A REG_SZ or REG_EXPAND_SZ (not expanded) whose stored data ends with a
// zero byte and fits 260 bytes; anything else reads as absent.
std::optional<std::string> ReadUserString(std::string_view name);

// Creates the key if needed and stores a REG_SZ with its terminating zero.
bool WriteUserString(std::string_view name, std::string_view text);

// As ReadUserString, on the machine key.
std::optional<std::string> ReadMachineString(std::string_view name);

// Stores a REG_SZ under an existing key of HKEY_CURRENT_USER; does not
// create the key.
bool WriteUserStringAt(std::string_view subkey, std::string_view name, std::string_view text);

// The "Local AppData" string of the shell folders key.
std::optional<std::string> LocalAppDataFolder();

}  // namespace pw::settings
