#include "platform/registry/key_path.h"

#include <array>
#include <cctype>

namespace pw::registry {
namespace {

// Windows limits one key name to 255 characters and a path to 512 levels.
constexpr std::size_t kMaxKeyPart = 255;
constexpr std::size_t kMaxKeyDepth = 512;

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

std::optional<std::vector<std::string>> SplitKeyPath(std::string_view path) {
  while (!path.empty() && path.front() == '\\') path.remove_prefix(1);
  while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  std::vector<std::string> parts;
  while (!path.empty()) {
    std::size_t end = path.find('\\');
    std::string_view part = path.substr(0, end);
    if (part.empty() || part.size() > kMaxKeyPart || parts.size() == kMaxKeyDepth) return std::nullopt;
    parts.emplace_back(part);
    if (end == std::string_view::npos) break;
    path.remove_prefix(end + 1);
  }
  return parts;
}

std::optional<FullKey> ParseFullKey(std::string_view text) {
  std::size_t end = text.find('\\');
  std::optional<Hive> hive = ParseHiveName(text.substr(0, end));
  if (!hive) return std::nullopt;
  std::string_view rest = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  std::optional<std::vector<std::string>> parts = SplitKeyPath(rest);
  if (!parts) return std::nullopt;
  FullKey key{*hive, {}};
  for (const std::string& part : *parts) {
    if (!key.path.empty()) key.path += '\\';
    key.path += part;
  }
  return key;
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
