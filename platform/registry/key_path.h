#pragma once
// Names of hives and keys as users and .reg files write them.
#include "platform/registry/registry.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <tl/expected.hpp>

namespace pw::registry {

// "HKEY_CURRENT_USER" and its kin; HKCU, HKLM and HKCR are accepted too.
std::optional<Hive> ParseHiveName(std::string_view name);
std::string_view HiveName(Hive hive);

// Why a key path is refused.
enum class KeyPathFault {
  EmptyPart,  // "a\\b"
  LongPart,   // a name longer than Windows allows (255 characters)
  TooDeep,    // more levels than limits::kKeyDepth
};

// The parts of a key path. Leading and trailing '\' are ignored; an empty
// part inside the path, or a part longer than Windows allows, or a path deeper
// than the bound on key paths, is refused.
// The empty path is the hive's root.
tl::expected<std::vector<std::string>, KeyPathFault> SplitKeyPath(std::string_view path);

struct FullKey {
  Hive hive = Hive::CurrentUser;
  std::string path;  // below the hive, without leading '\'
};

// "HKEY_CURRENT_USER\Software\Tavrin" into its hive and path; otherwise the
// text to tell the user: the bound's message for a path too deep, else that
// the text is not a key of a known hive.
tl::expected<FullKey, std::string> ReadFullKey(std::string_view text);
// The same without the reason.
std::optional<FullKey> ParseFullKey(std::string_view text);
std::string FullKeyName(Hive hive, std::string_view path);

}  // namespace pw::registry
