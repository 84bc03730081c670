#pragma once
// The spooler's own tables (printers, jobs) in the registry's SQLite file. One connection per operation: the file may be
// used by the program, a second instance and the capture helper at once.
#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include <tl/expected.hpp>

#include "platform/spooler/spooler_error.h"

namespace pw::spooler {

class Statement;

class SpoolDatabase {
 public:
  // Opens the file, creates the spooler's tables on the first start (with
  // the capture printer installed) and checks that the file is a database.
  // A damaged file is reported, never replaced.
  static tl::expected<SpoolDatabase, SpoolerError> Open();

  // Runs SQL without results; false on any error.
  bool Execute(const char* sql);
  tl::expected<Statement, SpoolerError> Prepare(const char* sql);
  std::int64_t LastInsertId() const;
  int Changes() const;

 private:
  struct Closer {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
  };
  explicit SpoolDatabase(sqlite3* db) : db_(db) {}
  tl::expected<void, SpoolerError> EnsureSchema();

  std::unique_ptr<sqlite3, Closer> db_;
};

// A prepared statement with positional binding (1-based) and column reads
// (0-based).
class Statement {
 public:
  Statement& Bind(int index, std::string_view text);
  Statement& Bind(int index, std::int64_t value);
  // SQLITE_ROW, SQLITE_DONE or an error code.
  int Step();
  std::string Text(int column) const;
  std::int64_t Integer(int column) const;

 private:
  friend class SpoolDatabase;
  struct Finalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
  };
  explicit Statement(sqlite3_stmt* statement) : statement_(statement) {}

  std::unique_ptr<sqlite3_stmt, Finalizer> statement_;
};

// Ends an open transaction with ROLLBACK unless Commit() succeeded.
class Transaction {
 public:
  explicit Transaction(SpoolDatabase& db);
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  ~Transaction();
  bool Began() const { return began_; }
  bool Commit();

 private:
  SpoolDatabase& db_;
  bool began_ = false;
  bool done_ = false;
};

}  // namespace pw::spooler
