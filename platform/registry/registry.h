#pragma once
// The registry: typed values under named keys of three hives, kept in one
// SQLite file (registry.db in the home folder) that several processes may
// use at once. Every call opens the file, does its work in one transaction
// and closes it again. Key paths use '\' between their parts; key and value
// names compare without regard to ASCII case, as Windows compares them.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pw::registry {

enum class Hive { CurrentUser, LocalMachine, ClassesRoot };

// Windows value type numbers; other numbers are kept as they are.
enum class ValueType : std::uint32_t { None = 0, Sz = 1, ExpandSz = 2, Binary = 3, Dword = 4 };

// One named value with its data exactly as stored: an Sz holds its
// terminating zero only when the writer put one there. The empty name is
// the key's default value.
struct Value {
  std::string name;
  ValueType type = ValueType::None;
  std::vector<std::uint8_t> data;

  bool operator==(const Value&) const = default;
};

// The bytes Windows keeps for a number and for a text with its terminator.
std::vector<std::uint8_t> DwordData(std::uint32_t number);
std::vector<std::uint8_t> TextData(std::string_view text);

// The number a REG_DWORD value of exactly 4 bytes holds; nothing for any
// other value, as a query into a 4-byte number would refuse it.
std::optional<std::uint32_t> DwordOf(const Value& value);

// The registry file of the current home folder.
std::string StorePath();

// A one-line description of what makes the registry file unusable (naming
// the file), or nothing when it is sound. A damaged file is never
// rewritten; while it is damaged every operation fails.
std::optional<std::string> StoreProblem();

bool KeyExists(Hive hive, std::string_view key);

// The most a caller may do with an existing key: change it when the file
// can be written, read it when it can only be read. Nothing for a missing
// key or an unusable file.
enum class KeyAccess { Read, ReadWrite };
std::optional<KeyAccess> OpenKeyAccess(Hive hive, std::string_view key);

// Creates the key and any missing parents; true when it exists afterwards.
bool CreateKey(Hive hive, std::string_view key);

// Deletes the key with its subkeys and values; false when it was absent.
// A hive's root cannot be deleted.
bool DeleteKey(Hive hive, std::string_view key);

// The names of the key's direct subkeys in the order they were made.
std::optional<std::vector<std::string>> SubKeys(Hive hive, std::string_view key);

// The key's values in the order they were first set.
std::optional<std::vector<Value>> Values(Hive hive, std::string_view key);

std::optional<Value> QueryValue(Hive hive, std::string_view key, std::string_view name);

enum class KeyCreation { CreateMissing, MustExist };

// Stores the value, replacing one of the same name in its place.
bool SetValue(Hive hive, std::string_view key, const Value& value,
              KeyCreation creation = KeyCreation::CreateMissing);

// False when the key or the value was absent.
bool DeleteValue(Hive hive, std::string_view key, std::string_view name);

// A key with its values, as one of a subtree read at one moment.
struct KeyContents {
  Hive hive = Hive::CurrentUser;
  std::string path;  // below the hive
  std::vector<Value> values;
};

// The key and every key below it, parents before children, children in
// the order they were made; nothing when the key is absent.
std::optional<std::vector<KeyContents>> ReadTree(Hive hive, std::string_view key);

// One step of a batch applied in a single transaction.
struct Change {
  enum class Kind { CreateKey, DeleteKey, SetValue, DeleteValue };
  Kind kind = Kind::CreateKey;
  Hive hive = Hive::CurrentUser;
  std::string key;
  Value value;  // SetValue: the value; DeleteValue: its name only
};

// Applies every change or none. Deleting what is absent is not an error.
bool Apply(std::span<const Change> changes);

}  // namespace pw::registry
