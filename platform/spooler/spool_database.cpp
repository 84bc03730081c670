#include "platform/spooler/spool_database.h"

#include "platform/registry/registry.h"
#include "platform/spooler/spooler.h"

namespace pw::spooler {
namespace {

constexpr int kBusyTimeoutMs = 5000;

SpoolerError ErrorFor(int code) {
  switch (code & 0xFF) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_FORMAT:
      return SpoolerError::DatabaseDamaged;
    default:
      return SpoolerError::DatabaseUnavailable;
  }
}

}  // namespace

std::string_view Describe(SpoolerError error) {
  switch (error) {
    case SpoolerError::DatabaseUnavailable: return "the printer database cannot be opened";
    case SpoolerError::DatabaseDamaged: return "the printer database is damaged";
    case SpoolerError::UnknownPrinter: return "no printer of that name";
    case SpoolerError::UnknownJob: return "no job of that number";
    case SpoolerError::UnsupportedCommand: return "the spooler does not offer that command";
    case SpoolerError::SpoolFileFailed: return "the spool file cannot be written";
  }
  return "unknown spooler error";
}

tl::expected<SpoolDatabase, SpoolerError> SpoolDatabase::Open() {
  // The registry makes the shared file on the first start and vouches for
  // it; a file it finds unusable is left alone here too.
  if (registry::StoreProblem()) return tl::unexpected(SpoolerError::DatabaseDamaged);
  sqlite3* raw = nullptr;
  const int opened = sqlite3_open_v2(registry::StorePath().c_str(), &raw,
                                     SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
  SpoolDatabase db(raw);  // owns the handle even when the open failed
  if (opened != SQLITE_OK) return tl::unexpected(ErrorFor(opened));
  sqlite3_busy_timeout(raw, kBusyTimeoutMs);
  if (auto schema = db.EnsureSchema(); !schema) return tl::unexpected(schema.error());
  return db;
}

tl::expected<void, SpoolerError> SpoolDatabase::EnsureSchema() {
  // Reading the schema is the first access to the file: a file that is not
  // a database fails here, before anything is written to it.
  {
    // The probe is finished before the write transaction starts: a read
    // lock kept into BEGIN IMMEDIATE deadlocks against another process
    // doing the same.
    auto probe = Prepare("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'printers'");
    if (!probe) return tl::unexpected(probe.error());
    const int step = probe->Step();
    if (step != SQLITE_ROW) return tl::unexpected(ErrorFor(step));
    if (probe->Integer(0) != 0) return {};
  }

  Transaction transaction(*this);
  if (!transaction.Began()) return tl::unexpected(SpoolerError::DatabaseUnavailable);
  // Another process may have created the tables meanwhile; IF NOT EXISTS and
  // OR IGNORE keep the first start idempotent.
  const bool created =
      Execute("CREATE TABLE IF NOT EXISTS printers ("
              " name TEXT PRIMARY KEY NOT NULL, port TEXT NOT NULL, driver TEXT NOT NULL,"
              " datatype TEXT NOT NULL, attributes INTEGER NOT NULL, print_quality INTEGER NOT NULL,"
              " connection INTEGER NOT NULL, is_default INTEGER NOT NULL, comment TEXT NOT NULL DEFAULT '')") &&
      Execute("CREATE TABLE IF NOT EXISTS jobs ("
              " id INTEGER PRIMARY KEY AUTOINCREMENT, printer TEXT NOT NULL, document TEXT NOT NULL,"
              " datatype TEXT NOT NULL, submitted INTEGER NOT NULL)");
  if (!created) return tl::unexpected(SpoolerError::DatabaseUnavailable);

  auto seed = Prepare(
      "INSERT OR IGNORE INTO printers (name, port, driver, datatype, attributes, print_quality,"
      " connection, is_default) VALUES (?1, ?2, ?3, 'NT EMF 1.008', ?4, 300, 0, 1)");
  if (!seed) return tl::unexpected(seed.error());
  seed->Bind(1, kCapturePrinterName)
      .Bind(2, kCapturePrinterPort)
      .Bind(3, kCapturePrinterDriver)
      .Bind(4, static_cast<std::int64_t>(PrinterAttribute::Queued | PrinterAttribute::Local));
  if (seed->Step() != SQLITE_DONE || !transaction.Commit()) {
    return tl::unexpected(SpoolerError::DatabaseUnavailable);
  }
  return {};
}

bool SpoolDatabase::Execute(const char* sql) {
  return sqlite3_exec(db_.get(), sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

tl::expected<Statement, SpoolerError> SpoolDatabase::Prepare(const char* sql) {
  sqlite3_stmt* raw = nullptr;
  const int code = sqlite3_prepare_v2(db_.get(), sql, -1, &raw, nullptr);
  Statement statement(raw);
  if (code != SQLITE_OK) return tl::unexpected(ErrorFor(code));
  return statement;
}

std::int64_t SpoolDatabase::LastInsertId() const { return sqlite3_last_insert_rowid(db_.get()); }
int SpoolDatabase::Changes() const { return sqlite3_changes(db_.get()); }

Statement& Statement::Bind(int index, std::string_view text) {
  sqlite3_bind_text(statement_.get(), index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  return *this;
}

Statement& Statement::Bind(int index, std::int64_t value) {
  sqlite3_bind_int64(statement_.get(), index, value);
  return *this;
}

int Statement::Step() { return sqlite3_step(statement_.get()); }

std::string Statement::Text(int column) const {
  const auto* text = sqlite3_column_text(statement_.get(), column);
  const int bytes = sqlite3_column_bytes(statement_.get(), column);
  return text ? std::string(reinterpret_cast<const char*>(text), static_cast<std::size_t>(bytes)) : std::string();
}

std::int64_t Statement::Integer(int column) const { return sqlite3_column_int64(statement_.get(), column); }

Transaction::Transaction(SpoolDatabase& db) : db_(db) { began_ = db_.Execute("BEGIN IMMEDIATE"); }

Transaction::~Transaction() {
  if (began_ && !done_) db_.Execute("ROLLBACK");
}

bool Transaction::Commit() {
  if (!began_ || done_) return false;
  done_ = db_.Execute("COMMIT");
  return done_;
}

}  // namespace pw::spooler
