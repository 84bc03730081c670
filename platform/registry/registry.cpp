#include "platform/registry/registry.h"

#include "platform/io/byte_reader.h"
#include "platform/paths/paths.h"
#include "platform/registry/key_path.h"
#include "platform/registry/store_database.h"

namespace pw::registry {
namespace {

using Mode = StoreDatabase::Mode;

// Runs one operation in its own transaction; the result is nothing when the
// file cannot be used or a step failed.
template <typename Work>
auto InTransaction(Mode mode, Work&& work) -> std::optional<decltype(work(std::declval<StoreDatabase&>()))> {
  tl::expected<StoreDatabase, std::string> database = StoreDatabase::Open(mode);
  if (!database) return std::nullopt;
  auto result = work(*database);
  if (database->Failed()) return std::nullopt;
  if (mode == Mode::Write && !database->Commit()) return std::nullopt;
  return result;
}

std::optional<std::int64_t> Find(StoreDatabase& database, Hive hive, std::string_view key) {
  auto parts = SplitKeyPath(key);
  if (!parts) return std::nullopt;
  return database.FindKey(hive, *parts);
}

std::optional<std::int64_t> Make(StoreDatabase& database, Hive hive, std::string_view key) {
  auto parts = SplitKeyPath(key);
  if (!parts) return std::nullopt;
  return database.MakeKey(hive, *parts);
}

bool IsRoot(std::string_view key) {
  auto parts = SplitKeyPath(key);
  return parts && parts->empty();
}

// One change of a batch; false only when it cannot be made (deleting what
// is absent succeeds).
bool ApplyOne(StoreDatabase& database, const Change& change) {
  switch (change.kind) {
    case Change::Kind::CreateKey:
      return Make(database, change.hive, change.key).has_value();
    case Change::Kind::DeleteKey: {
      if (IsRoot(change.key) || !SplitKeyPath(change.key)) return false;
      if (std::optional<std::int64_t> id = Find(database, change.hive, change.key)) database.RemoveKey(*id);
      return !database.Failed();
    }
    case Change::Kind::SetValue: {
      std::optional<std::int64_t> id = Make(database, change.hive, change.key);
      return id && database.PutValue(*id, change.value);
    }
    case Change::Kind::DeleteValue: {
      if (!SplitKeyPath(change.key)) return false;
      if (std::optional<std::int64_t> id = Find(database, change.hive, change.key))
        database.RemoveValue(*id, change.value.name);
      return !database.Failed();
    }
  }
  return false;
}

}  // namespace

std::vector<std::uint8_t> DwordData(std::uint32_t number) {
  return {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
          static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)};
}

std::optional<std::uint32_t> DwordOf(const Value& value) {
  if (value.type != ValueType::Dword || value.data.size() != 4) return std::nullopt;
  io::ByteReader reader(std::as_bytes(std::span(value.data)));
  return reader.U32();
}

std::vector<std::uint8_t> TextData(std::string_view text) {
  std::vector<std::uint8_t> data(text.begin(), text.end());
  data.push_back(0);
  return data;
}

std::string StorePath() { return platform::HomeFolder() + "registry.db"; }

std::optional<std::string> StoreProblem() {
  tl::expected<StoreDatabase, std::string> database = StoreDatabase::Open(Mode::Read);
  if (!database) return database.error();
  return std::nullopt;
}

bool KeyExists(Hive hive, std::string_view key) {
  auto found = InTransaction(Mode::Read, [&](StoreDatabase& database) { return Find(database, hive, key); });
  return found && *found;
}

std::optional<KeyAccess> OpenKeyAccess(Hive hive, std::string_view key) {
  // The write transaction is only opened to learn whether one can be; it
  // changes nothing.
  for (Mode mode : {Mode::Write, Mode::Read}) {
    tl::expected<StoreDatabase, std::string> database = StoreDatabase::Open(mode);
    if (!database) continue;
    std::optional<std::int64_t> found = Find(*database, hive, key);
    if (database->Failed() || !found) return std::nullopt;
    return mode == Mode::Write && database->Writable() ? KeyAccess::ReadWrite : KeyAccess::Read;
  }
  return std::nullopt;
}

bool CreateKey(Hive hive, std::string_view key) {
  auto made = InTransaction(Mode::Write, [&](StoreDatabase& database) { return Make(database, hive, key); });
  return made && *made;
}

bool DeleteKey(Hive hive, std::string_view key) {
  if (IsRoot(key)) return false;
  auto removed = InTransaction(Mode::Write, [&](StoreDatabase& database) {
    std::optional<std::int64_t> id = Find(database, hive, key);
    return id && database.RemoveKey(*id);
  });
  return removed && *removed;
}

std::optional<std::vector<std::string>> SubKeys(Hive hive, std::string_view key) {
  auto names = InTransaction(Mode::Read, [&](StoreDatabase& database) -> std::optional<std::vector<std::string>> {
    std::optional<std::int64_t> id = Find(database, hive, key);
    if (!id) return std::nullopt;
    return database.ChildNames(*id);
  });
  return names ? *names : std::nullopt;
}

std::optional<std::vector<Value>> Values(Hive hive, std::string_view key) {
  auto values = InTransaction(Mode::Read, [&](StoreDatabase& database) -> std::optional<std::vector<Value>> {
    std::optional<std::int64_t> id = Find(database, hive, key);
    if (!id) return std::nullopt;
    return database.ValuesOf(*id);
  });
  return values ? *values : std::nullopt;
}

std::optional<std::vector<KeyContents>> ReadTree(Hive hive, std::string_view key) {
  auto tree = InTransaction(Mode::Read, [&](StoreDatabase& database) -> std::optional<std::vector<KeyContents>> {
    auto parts = SplitKeyPath(key);
    if (!parts) return std::nullopt;
    std::optional<std::int64_t> id = database.FindKey(hive, *parts);
    if (!id) return std::nullopt;
    std::string path;
    for (const std::string& part : *parts) path += (path.empty() ? "" : "\\") + part;
    std::vector<KeyContents> contents;
    database.CollectTree(*id, hive, path, contents);
    return contents;
  });
  return tree ? *tree : std::nullopt;
}

std::optional<Value> QueryValue(Hive hive, std::string_view key, std::string_view name) {
  auto value = InTransaction(Mode::Read, [&](StoreDatabase& database) -> std::optional<Value> {
    std::optional<std::int64_t> id = Find(database, hive, key);
    if (!id) return std::nullopt;
    return database.FindValue(*id, name);
  });
  return value ? *value : std::nullopt;
}

bool SetValue(Hive hive, std::string_view key, const Value& value, KeyCreation creation) {
  auto stored = InTransaction(Mode::Write, [&](StoreDatabase& database) {
    std::optional<std::int64_t> id =
        creation == KeyCreation::CreateMissing ? Make(database, hive, key) : Find(database, hive, key);
    return id && database.PutValue(*id, value);
  });
  return stored && *stored;
}

bool DeleteValue(Hive hive, std::string_view key, std::string_view name) {
  auto removed = InTransaction(Mode::Write, [&](StoreDatabase& database) {
    std::optional<std::int64_t> id = Find(database, hive, key);
    return id && database.RemoveValue(*id, name);
  });
  return removed && *removed;
}

bool Apply(std::span<const Change> changes) {
  tl::expected<StoreDatabase, std::string> database = StoreDatabase::Open(Mode::Write);
  if (!database) return false;
  for (const Change& change : changes) {
    if (!ApplyOne(*database, change)) return false;  // rolled back when the database closes
  }
  return database->Commit();
}

}  // namespace pw::registry
