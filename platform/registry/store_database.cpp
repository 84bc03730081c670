#include "platform/registry/store_database.h"

#include "platform/help/html_help.h"
#include "platform/paths/paths.h"
#include "platform/registry/key_path.h"
#include "platform/registry/machine_key.h"

#include <sqlite3.h>

#include <array>
#include <atomic>
#include <cstdlib>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <filesystem>
#include <fstream>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pw::registry {

// The few statement calls the store needs; a failed step marks the whole
// transaction failed, so no caller has to check every row by hand.
class Statement {
 public:
  Statement(StoreDatabase& owner, const char* sql) : owner_(owner) {
    if (sqlite3_prepare_v2(owner.connection_.get(), sql, -1, &statement_, nullptr) != SQLITE_OK) {
      owner_.failed_ = true;
      statement_ = nullptr;
    }
  }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement() { sqlite3_finalize(statement_); }

  Statement& Bind(int index, std::int64_t number) {
    if (statement_ && sqlite3_bind_int64(statement_, index, number) != SQLITE_OK) owner_.failed_ = true;
    return *this;
  }
  Statement& Bind(int index, std::string_view text) {
    if (statement_ &&
        sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT) !=
            SQLITE_OK)
      owner_.failed_ = true;
    return *this;
  }
  Statement& Bind(int index, std::span<const std::uint8_t> bytes) {
    if (!statement_) return *this;
    // An empty blob bound from a null pointer would be NULL, not empty.
    int result = bytes.empty() ? sqlite3_bind_zeroblob(statement_, index, 0)
                               : sqlite3_bind_blob(statement_, index, bytes.data(),
                                                   static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
    if (result != SQLITE_OK) owner_.failed_ = true;
    return *this;
  }

  // True while there is a row to read.
  bool Step() {
    if (!statement_) return false;
    int result = sqlite3_step(statement_);
    if (result == SQLITE_ROW) return true;
    if (result != SQLITE_DONE) owner_.failed_ = true;
    return false;
  }

  std::int64_t Number(int column) const { return sqlite3_column_int64(statement_, column); }
  std::string Text(int column) const {
    const unsigned char* text = sqlite3_column_text(statement_, column);
    int size = sqlite3_column_bytes(statement_, column);
    return text ? std::string(reinterpret_cast<const char*>(text), static_cast<std::size_t>(size)) : std::string();
  }
  std::vector<std::uint8_t> Bytes(int column) const {
    const auto* bytes = static_cast<const std::uint8_t*>(sqlite3_column_blob(statement_, column));
    int size = sqlite3_column_bytes(statement_, column);
    if (!bytes || size <= 0) return {};
    return {bytes, bytes + size};
  }
  int Changes() const { return sqlite3_changes(owner_.connection_.get()); }

 private:
  StoreDatabase& owner_;
  sqlite3_stmt* statement_ = nullptr;
};

namespace {

// Marks the file as ours ("PWKR"), so another program's database is never
// taken for a registry and rewritten.
constexpr std::int64_t kApplicationId = 0x50574B52;
constexpr int kBusyTimeoutMs = 15000;

constexpr const char* kSchema = R"sql(
PRAGMA application_id = 1347898194;
PRAGMA user_version = 1;
CREATE TABLE reg_keys(
  id INTEGER PRIMARY KEY,
  parent INTEGER REFERENCES reg_keys(id) ON DELETE CASCADE,
  name TEXT NOT NULL COLLATE NOCASE,
  UNIQUE(parent, name));
CREATE TABLE reg_values(
  id INTEGER PRIMARY KEY,
  key INTEGER NOT NULL REFERENCES reg_keys(id) ON DELETE CASCADE,
  name TEXT NOT NULL COLLATE NOCASE,
  type INTEGER NOT NULL,
  data BLOB NOT NULL,
  UNIQUE(key, name));
INSERT INTO reg_keys(id, parent, name) VALUES
  (1, NULL, 'HKEY_CURRENT_USER'), (2, NULL, 'HKEY_LOCAL_MACHINE'), (3, NULL, 'HKEY_CLASSES_ROOT');
)sql";

std::int64_t RootId(Hive hive) { return static_cast<std::int64_t>(hive) + 1; }

std::string Unusable(const std::string& path, const std::string& what) {
  return "The registry file " + path + " " + what + "; it is left unchanged and default settings apply.";
}

// Reads the page size and page count from the file's header. Only used to
// put a damaged file's trouble into words once SQLite has refused it.
std::optional<std::string> Truncation(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::array<unsigned char, 100> header{};
  if (!in.read(reinterpret_cast<char*>(header.data()), header.size())) return std::nullopt;
  auto big_endian = [&](std::size_t at, std::size_t size) {
    std::uint64_t number = 0;
    for (std::size_t i = 0; i < size; ++i) number = number << 8 | header[at + i];
    return number;
  };
  if (std::memcmp(header.data(), "SQLite format 3", 16) != 0) return std::nullopt;
  std::uint64_t page_size = big_endian(16, 2);
  if (page_size == 1) page_size = 65536;
  // The page count is meaningful only while the change counter matches.
  if (big_endian(24, 4) != big_endian(92, 4)) return std::nullopt;
  std::uint64_t expected = page_size * big_endian(28, 4);
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || static_cast<std::uint64_t>(info.st_size) >= expected) return std::nullopt;
  return "is truncated (" + std::to_string(info.st_size) + " of " + std::to_string(expected) + " bytes)";
}

// For a file that is not there to keep.
std::string Unreachable(const std::string& path, const std::string& what) {
  return "The registry file " + path + " " + what + "; default settings apply.";
}

std::string DescribeSqliteFailure(sqlite3* connection, int result, const std::string& path) {
  switch (result & 0xFF) {
    case SQLITE_NOTADB: return "is not a database";
    case SQLITE_CORRUPT: return Truncation(path).value_or("is damaged");
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return "stays locked by another program";
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_AUTH: return "cannot be opened";
    case SQLITE_READONLY: return "cannot be written";
    default: break;
  }
  return std::string("cannot be used (") + (connection ? sqlite3_errmsg(connection) : sqlite3_errstr(result)) + ")";
}

std::string UserName() {
  if (const passwd* entry = ::getpwuid(::geteuid()); entry && entry->pw_name && *entry->pw_name) return entry->pw_name;
  const char* user = std::getenv("USER");
  return user && *user ? user : std::string("user");
}

}  // namespace

void StoreDatabase::ConnectionCloser::operator()(sqlite3* connection) const { sqlite3_close_v2(connection); }

StoreDatabase::StoreDatabase(Connection connection, std::string path)
    : connection_(std::move(connection)), path_(std::move(path)) {}

StoreDatabase::StoreDatabase(StoreDatabase&& other) noexcept
    : connection_(std::move(other.connection_)),
      path_(std::move(other.path_)),
      open_transaction_(std::exchange(other.open_transaction_, false)),
      failed_(other.failed_) {}

StoreDatabase& StoreDatabase::operator=(StoreDatabase&& other) noexcept {
  if (this != &other) {
    if (open_transaction_ && connection_) sqlite3_exec(connection_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
    connection_ = std::move(other.connection_);
    path_ = std::move(other.path_);
    open_transaction_ = std::exchange(other.open_transaction_, false);
    failed_ = other.failed_;
  }
  return *this;
}

StoreDatabase::~StoreDatabase() {
  if (open_transaction_ && connection_) sqlite3_exec(connection_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
}

Statement StoreDatabase::Prepare(const char* sql) { return Statement(*this, sql); }

bool StoreDatabase::Exec(const char* sql) {
  if (sqlite3_exec(connection_.get(), sql, nullptr, nullptr, nullptr) != SQLITE_OK) failed_ = true;
  return !failed_;
}

bool StoreDatabase::Commit() {
  if (!open_transaction_) return false;
  if (failed_) return false;  // the destructor rolls back
  if (sqlite3_exec(connection_.get(), "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
    failed_ = true;
    return false;
  }
  open_transaction_ = false;
  return true;
}

void StoreDatabase::SeedFirstStart() {
  auto put = [&](Hive hive, const std::vector<std::string>& key, std::string_view name, std::string_view text) {
    if (std::optional<std::int64_t> id = MakeKey(hive, key))
      PutValue(*id, Value{std::string(name), ValueType::Sz, TextData(text)});
  };
  std::string install = platform::DefaultInstallFolder();
  while (install.size() > 1 && install.back() == '/') install.pop_back();
  if (auto key = SplitKeyPath(kMachineKeyPath)) {
    put(Hive::LocalMachine, *key, kInstallPathValue, install);
    put(Hive::LocalMachine, *key, kVersionValue, "2.1");
  }

  std::string local = platform::MachineRootFolder() + "Users/" + UserName() + "/AppData/Local";
  std::error_code ignored;
  std::filesystem::create_directories(local, ignored);
  put(Hive::CurrentUser, {"Software", "Microsoft", "Windows", "CurrentVersion", "Explorer", "Shell Folders"},
      "Local AppData", local);
  put(Hive::CurrentUser, {"Control Panel", "Desktop"}, "Wallpaper", "");

  // The help component, registered where the help engine looks for it.
  if (auto key = SplitKeyPath(platform::kHtmlHelpServerKey))
    put(Hive::ClassesRoot, *key, "", platform::ProgramLibraryFolder() + platform::kHtmlHelpComponentName);
}

// Makes a complete, seeded file under a private name and links it into
// place, so no process ever sees a half-made registry; when another process
// wins the race, its file is kept.
std::optional<std::string> StoreDatabase::MakeIfAbsent(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0) return std::nullopt;
  if (errno != ENOENT) return Unreachable(path, std::string("cannot be reached (") + std::strerror(errno) + ")");

  static std::atomic<unsigned> counter{0};
  std::string temp = path + ".new-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
  std::string failure;
  {
    sqlite3* raw = nullptr;
    int result = sqlite3_open_v2(temp.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    StoreDatabase database(Connection(raw), temp);
    if (result == SQLITE_OK && database.Exec("BEGIN IMMEDIATE")) {
      database.open_transaction_ = true;
      database.Exec(kSchema);
      database.SeedFirstStart();
      if (!database.Commit()) failure = sqlite3_errmsg(raw);
    } else {
      failure = raw ? sqlite3_errmsg(raw) : sqlite3_errstr(result);
    }
  }
  if (failure.empty() && ::link(temp.c_str(), path.c_str()) != 0 && errno != EEXIST) {
    // Some file systems have no hard links; renaming without replacing
    // keeps the same guarantee.
    if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) != 0 && errno != EEXIST)
      failure = std::strerror(errno);
  }
  ::unlink(temp.c_str());
  ::unlink((temp + "-journal").c_str());
  if (failure.empty()) return std::nullopt;
  return Unreachable(path, "cannot be made (" + failure + ")");
}

bool StoreDatabase::Writable() const { return sqlite3_db_readonly(connection_.get(), "main") == 0; }

tl::expected<StoreDatabase, std::string> StoreDatabase::Open(Mode mode) {
  std::string path = StorePath();
  if (std::optional<std::string> problem = MakeIfAbsent(path)) return tl::unexpected(*problem);

  // The file is only ever put in place complete, so an empty one was cut.
  if (struct stat info {}; ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size == 0)
    return tl::unexpected(Unusable(path, "is empty"));
  sqlite3* raw = nullptr;
  int result = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
  if (result != SQLITE_OK && mode == Mode::Read) {
    sqlite3_close_v2(raw);
    raw = nullptr;
    result = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
  }
  StoreDatabase database(Connection(raw), path);
  if (result != SQLITE_OK) return tl::unexpected(Unusable(path, DescribeSqliteFailure(raw, result, path)));
  sqlite3_extended_result_codes(raw, 1);
  sqlite3_busy_timeout(raw, kBusyTimeoutMs);

  auto fail = [&](int code) { return tl::unexpected(Unusable(path, DescribeSqliteFailure(raw, code, path))); };
  if ((result = sqlite3_exec(raw, "PRAGMA foreign_keys = ON", nullptr, nullptr, nullptr)) != SQLITE_OK)
    return fail(result);
  if ((result = sqlite3_exec(raw, mode == Mode::Write ? "BEGIN IMMEDIATE" : "BEGIN", nullptr, nullptr, nullptr)) !=
      SQLITE_OK)
    return fail(result);
  database.open_transaction_ = true;
  if (std::optional<std::string> problem = database.Validate()) return tl::unexpected(Unusable(path, *problem));
  return database;
}

// Checks made inside the transaction, before anything is read or written:
// the file is ours, holds every page its header promises, and its pages are
// consistent. The file is small, so checking every open costs little.
std::optional<std::string> StoreDatabase::Validate() {
  sqlite3* raw = connection_.get();
  sqlite3_stmt* statement = nullptr;
  auto number = [&](const char* sql, std::int64_t& out) {
    int result = sqlite3_prepare_v2(raw, sql, -1, &statement, nullptr);
    if (result == SQLITE_OK) result = sqlite3_step(statement);
    if (result == SQLITE_ROW) out = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return result == SQLITE_ROW ? SQLITE_OK : result;
  };
  std::int64_t application = 0, pages = 0, page_size = 0, tables = 0;
  if (int result = number("PRAGMA application_id", application); result != SQLITE_OK)
    return DescribeSqliteFailure(raw, result, path_);
  if (application != kApplicationId) return "is not a Pagewick registry";
  if (int result = number("PRAGMA page_count", pages); result != SQLITE_OK) return DescribeSqliteFailure(raw, result, path_);
  if (int result = number("PRAGMA page_size", page_size); result != SQLITE_OK)
    return DescribeSqliteFailure(raw, result, path_);
  struct stat info {};
  if (::stat(path_.c_str(), &info) != 0) return std::string("cannot be read (") + std::strerror(errno) + ")";
  std::int64_t expected = pages * page_size;
  if (static_cast<std::int64_t>(info.st_size) < expected)
    return "is truncated (" + std::to_string(info.st_size) + " of " + std::to_string(expected) + " bytes)";
  if (int result = number("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND "
                          "name IN ('reg_keys', 'reg_values')",
                          tables);
      result != SQLITE_OK)
    return DescribeSqliteFailure(raw, result, path_);
  if (tables != 2) return "lacks the registry tables";
  // A damaged page is found before anything is built on it.
  std::string verdict;
  if (sqlite3_prepare_v2(raw, "PRAGMA quick_check(1)", -1, &statement, nullptr) == SQLITE_OK &&
      sqlite3_step(statement) == SQLITE_ROW) {
    const unsigned char* text = sqlite3_column_text(statement, 0);
    verdict = text ? reinterpret_cast<const char*>(text) : "";
  }
  sqlite3_finalize(statement);
  if (verdict == "ok") return std::nullopt;
  if (std::optional<std::string> truncated = Truncation(path_)) return truncated;
  // The check's report spans lines; the problem is told in one.
  for (char& c : verdict) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  if (verdict.size() > 120) verdict = verdict.substr(0, 117) + "...";
  return "is damaged (" + (verdict.empty() ? std::string("unreadable") : verdict) + ")";
}

std::optional<std::int64_t> StoreDatabase::FindKey(Hive hive, const std::vector<std::string>& parts) {
  std::int64_t id = RootId(hive);
  for (const std::string& part : parts) {
    Statement find = Prepare("SELECT id FROM reg_keys WHERE parent = ?1 AND name = ?2");
    find.Bind(1, id).Bind(2, part);
    if (!find.Step()) return std::nullopt;
    id = find.Number(0);
  }
  return failed_ ? std::nullopt : std::optional<std::int64_t>(id);
}

std::optional<std::int64_t> StoreDatabase::MakeKey(Hive hive, const std::vector<std::string>& parts) {
  std::int64_t id = RootId(hive);
  for (const std::string& part : parts) {
    Statement find = Prepare("SELECT id FROM reg_keys WHERE parent = ?1 AND name = ?2");
    find.Bind(1, id).Bind(2, part);
    if (find.Step()) {
      id = find.Number(0);
      continue;
    }
    Statement insert = Prepare("INSERT INTO reg_keys(parent, name) VALUES (?1, ?2)");
    insert.Bind(1, id).Bind(2, part);
    insert.Step();
    if (failed_) return std::nullopt;
    id = sqlite3_last_insert_rowid(connection_.get());
  }
  return failed_ ? std::nullopt : std::optional<std::int64_t>(id);
}

bool StoreDatabase::RemoveKey(std::int64_t key) {
  Statement remove = Prepare("DELETE FROM reg_keys WHERE id = ?1 AND parent IS NOT NULL");
  remove.Bind(1, key).Step();
  return !failed_ && remove.Changes() > 0;
}

std::vector<std::string> StoreDatabase::ChildNames(std::int64_t key) {
  std::vector<std::string> names;
  Statement list = Prepare("SELECT name FROM reg_keys WHERE parent = ?1 ORDER BY id");
  list.Bind(1, key);
  while (list.Step()) names.push_back(list.Text(0));
  return names;
}

namespace {

Value ValueFromRow(const Statement& row) {
  return Value{row.Text(0), static_cast<ValueType>(static_cast<std::uint32_t>(row.Number(1))), row.Bytes(2)};
}

}  // namespace

void StoreDatabase::CollectTree(std::int64_t key, Hive hive, const std::string& path,
                                std::vector<KeyContents>& tree) {
  tree.push_back(KeyContents{hive, path, ValuesOf(key)});
  std::vector<std::pair<std::int64_t, std::string>> children;
  {
    Statement list = Prepare("SELECT id, name FROM reg_keys WHERE parent = ?1 ORDER BY id");
    list.Bind(1, key);
    while (list.Step()) children.emplace_back(list.Number(0), list.Text(1));
  }
  // Keys are made only from paths of at most 512 parts, which bounds the
  // recursion.
  for (const auto& [child, name] : children) {
    if (failed_) return;
    CollectTree(child, hive, path.empty() ? name : path + "\\" + name, tree);
  }
}

std::vector<Value> StoreDatabase::ValuesOf(std::int64_t key) {
  std::vector<Value> values;
  Statement list = Prepare("SELECT name, type, data FROM reg_values WHERE key = ?1 ORDER BY id");
  list.Bind(1, key);
  while (list.Step()) values.push_back(ValueFromRow(list));
  return values;
}

std::optional<Value> StoreDatabase::FindValue(std::int64_t key, std::string_view name) {
  Statement find = Prepare("SELECT name, type, data FROM reg_values WHERE key = ?1 AND name = ?2");
  find.Bind(1, key).Bind(2, name);
  if (!find.Step()) return std::nullopt;
  return ValueFromRow(find);
}

bool StoreDatabase::PutValue(std::int64_t key, const Value& value) {
  // An existing value keeps its place in the enumeration order.
  Statement put = Prepare(
      "INSERT INTO reg_values(key, name, type, data) VALUES (?1, ?2, ?3, ?4) "
      "ON CONFLICT(key, name) DO UPDATE SET type = excluded.type, data = excluded.data");
  put.Bind(1, key).Bind(2, value.name).Bind(3, static_cast<std::int64_t>(value.type)).Bind(4, value.data);
  put.Step();
  return !failed_;
}

bool StoreDatabase::RemoveValue(std::int64_t key, std::string_view name) {
  Statement remove = Prepare("DELETE FROM reg_values WHERE key = ?1 AND name = ?2");
  remove.Bind(1, key).Bind(2, name).Step();
  return !failed_ && remove.Changes() > 0;
}

}  // namespace pw::registry
