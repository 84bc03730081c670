#include "settings/settings_store.h"

#include "platform/registry/registry.h"

namespace pw::settings {
namespace {

using registry::Hive;
using registry::ValueType;

// Text values, terminator included, fit a 260-byte buffer.
constexpr std::size_t kMaxTextBytes = 260;

std::optional<std::string> ReadString(Hive hive, std::string_view key, std::string_view name) {
  std::optional<registry::Value> value = registry::QueryValue(hive, key, name);
  if (!value || (value->type != ValueType::Sz && value->type != ValueType::ExpandSz)) return std::nullopt;
  const std::vector<std::uint8_t>& data = value->data;
  if (data.empty() || data.size() > kMaxTextBytes || data.back() != 0) return std::nullopt;
  // The data ends with a zero, so it is a C string; the text ends at its
  // first zero.
  return std::string(reinterpret_cast<const char*>(data.data()));
}

registry::Value TextValue(std::string_view name, std::string_view text) {
  return registry::Value{std::string(name), ValueType::Sz, registry::TextData(text)};
}

}  // namespace

int ReadUserDword(std::string_view name) {
  std::optional<registry::Value> value = registry::QueryValue(Hive::CurrentUser, kUserKey, name);
  const auto number = value ? registry::DwordOf(*value) : std::nullopt;
  return number ? static_cast<int>(*number) : -1;
}

bool WriteUserDword(std::string_view name, std::uint32_t value) {
  return registry::SetValue(Hive::CurrentUser, kUserKey,
                            registry::Value{std::string(name), ValueType::Dword, registry::DwordData(value)});
}

std::optional<std::string> ReadUserString(std::string_view name) {
  return ReadString(Hive::CurrentUser, kUserKey, name);
}

bool WriteUserString(std::string_view name, std::string_view text) {
  return registry::SetValue(Hive::CurrentUser, kUserKey, TextValue(name, text));
}

std::optional<std::string> ReadMachineString(std::string_view name) {
  return ReadString(Hive::LocalMachine, kMachineKey, name);
}

bool WriteUserStringAt(std::string_view subkey, std::string_view name, std::string_view text) {
  return registry::SetValue(Hive::CurrentUser, subkey, TextValue(name, text), registry::KeyCreation::MustExist);
}

std::optional<std::string> LocalAppDataFolder() {
  return ReadString(Hive::CurrentUser, kShellFoldersKey, "Local AppData");
}

}  // namespace pw::settings
