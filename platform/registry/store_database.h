#pragma once
// The registry file itself: one SQLite connection with one transaction,
// opened per operation. Made (and seeded) atomically on first use, checked
// on every open, and never written when the check fails.
#include "platform/registry/registry.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <tl/expected.hpp>

struct sqlite3;
struct sqlite3_stmt;

namespace pw::registry {

class Statement;

class StoreDatabase {
 public:
  enum class Mode { Read, Write };

  // Opens the registry file of the current home folder, making it when it
  // does not exist, and begins a transaction (an immediate one for writes,
  // so that writers wait for each other rather than fail midway). The error
  // is a one-line description naming the file.
  static tl::expected<StoreDatabase, std::string> Open(Mode mode);

  StoreDatabase(StoreDatabase&&) noexcept;
  StoreDatabase& operator=(StoreDatabase&&) noexcept;
  ~StoreDatabase();  // rolls back what was not committed

  // Any failed step makes Commit fail and the transaction roll back.
  bool Commit();
  bool Failed() const { return failed_; }
  // False when the file could only be opened for reading.
  bool Writable() const;

  std::optional<std::int64_t> FindKey(Hive hive, const std::vector<std::string>& parts);
  std::optional<std::int64_t> MakeKey(Hive hive, const std::vector<std::string>& parts);
  bool RemoveKey(std::int64_t key);
  std::vector<std::string> ChildNames(std::int64_t key);
  // Appends the key at `path` and its whole subtree, parents first.
  void CollectTree(std::int64_t key, Hive hive, const std::string& path, std::vector<KeyContents>& tree);
  std::vector<Value> ValuesOf(std::int64_t key);
  std::optional<Value> FindValue(std::int64_t key, std::string_view name);
  bool PutValue(std::int64_t key, const Value& value);
  // True when a value was removed.
  bool RemoveValue(std::int64_t key, std::string_view name);

 private:
  struct ConnectionCloser {
    void operator()(sqlite3* connection) const;
  };
  using Connection = std::unique_ptr<sqlite3, ConnectionCloser>;

  StoreDatabase(Connection connection, std::string path);
  static std::optional<std::string> MakeIfAbsent(const std::string& path);
  void SeedFirstStart();
  std::optional<std::string> Validate();
  Statement Prepare(const char* sql);
  bool Exec(const char* sql);

  Connection connection_;
  std::string path_;
  bool open_transaction_ = false;
  bool failed_ = false;

  friend class Statement;
};

}  // namespace pw::registry
