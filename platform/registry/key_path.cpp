#include "platform/registry/key_path.h"

#include <array>
#include <cctype>
#include <utility>

#include "platform/limits/limits.h"

namespace pw::registry {
namespace {

// Windows limits one key name to 255 characters.
constexpr std::size_t kMaxKeyPart = 255;
constexpr auto kMaxKeyDepth = static_cast<std::size_t>(limits::kKeyDepth.value);

struct HiveNames {
  Hive hive;
  std::string_view name;
  std::string_view abbreviation;
};

constexpr std::array<HiveNames, 3> kHives{{
    {Hive::CurrentUser, "HKEY_CURRENT_USER", "HKCU"},
    {Hive::LocalMachine, "HKEY_LOCAL_MACHINE", "HKLM"},
    {Hive::ClassesRoot, "HKEY_CLASSES_ROOT", "HKCR"},
}};

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

}  // namespace

std::optional<Hive> ParseHiveName(std::string_view name) {
  for (const HiveNames& entry : kHives) {
    if (SameIgnoringCase(name, entry.name) || SameIgnoringCase(name, entry.abbreviation)) return entry.hive;
  }
  return std::nullopt;
}

std::string_view HiveName(Hive hive) {
  for (const HiveNames& entry : kHives) {
    if (entry.hive == hive) return entry.name;
  }
  return {};
}

tl::expected<std::vector<std::string>, KeyPathFault> SplitKeyPath(std::string_view path) {
  while (!path.empty() && path.front() == '\\') path.remove_prefix(1);
  while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  std::vector<std::string> parts;
  while (!path.empty()) {
    std::size_t end = path.find('\\');
    std::string_view part = path.substr(0, end);
    if (part.empty()) return tl::unexpected(KeyPathFault::EmptyPart);
    if (part.size() > kMaxKeyPart) return tl::unexpected(KeyPathFault::LongPart);
    if (parts.size() == kMaxKeyDepth) return tl::unexpected(KeyPathFault::TooDeep);
    parts.emplace_back(part);
    if (end == std::string_view::npos) break;
    path.remove_prefix(end + 1);
  }
  return parts;
}

tl::expected<FullKey, std::string> ReadFullKey(std::string_view text) {
  auto not_a_key = [&] {
    // A name too long to be a key is shown by its start and its length, so
    // that a message stays a line and not megabytes.
    constexpr std::size_t kShown = 100;
    const std::string shown = text.size() <= kShown ? "\"" + std::string(text) + "\""
                                                    : "\"" + std::string(text.substr(0, kShown)) + "...\" (" +
                                                          std::to_string(text.size()) + " characters)";
    return tl::unexpected(shown + " is not a key of HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE or HKEY_CLASSES_ROOT");
  };
  std::size_t end = text.find('\\');
  std::optional<Hive> hive = ParseHiveName(text.substr(0, end));
  if (!hive) return not_a_key();
  std::string_view rest = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  tl::expected<std::vector<std::string>, KeyPathFault> parts = SplitKeyPath(rest);
  if (!parts && parts.error() == KeyPathFault::TooDeep) return tl::unexpected(std::string(limits::kKeyDepth.message));
  if (!parts) return not_a_key();
  FullKey key{*hive, {}};
  for (const std::string& part : *parts) {
    if (!key.path.empty()) key.path += '\\';
    key.path += part;
  }
  return key;
}

std::optional<FullKey> ParseFullKey(std::string_view text) {
  tl::expected<FullKey, std::string> key = ReadFullKey(text);
  if (!key) return std::nullopt;
  return std::move(*key);
}

std::string FullKeyName(Hive hive, std::string_view path) {
  std::string name(HiveName(hive));
  if (!path.empty()) {
    name += '\\';
    name += path;
  }
  return name;
}

}  // namespace pw::registry
