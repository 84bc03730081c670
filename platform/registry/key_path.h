#pragma once
// Names of hives and keys as users and .reg files write them.
#include "platform/registry/registry.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pw::registry {

// "HKEY_CURRENT_USER" and its kin; HKCU, HKLM and HKCR are accepted too.
std::optional<Hive> ParseHiveName(std::string_view name);
std::string_view HiveName(Hive hive);

// The parts of a key path. Leading and trailing '\' are ignored; an empty
// part inside the path, or a part longer than Windows allows, or a path deeper
// than it allows, is refused.
// The empty path is the hive's root.
std::optional<std::vector<std::string>> SplitKeyPath(std::string_view path);

struct FullKey {
  Hive hive = Hive::CurrentUser;
  std::string path;  // below the hive, without leading '\'
};

// "HKEY_CURRENT_USER\Software\Tavrin" into its hive and path.
std::optional<FullKey> ParseFullKey(std::string_view text);
std::string FullKeyName(Hive hive, std::string_view path);

}  // namespace pw::registry
