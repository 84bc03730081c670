#include "platform/spooler/spooler.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "platform/files/file_writing.h"
#include "platform/paths/paths.h"
#include "platform/spooler/spool_database.h"

namespace pw::spooler {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kMaxNamedJob = 100000;

tl::expected<void, SpoolerError> RequirePrinter(SpoolDatabase& db, std::string_view name) {
  auto query = db.Prepare("SELECT 1 FROM printers WHERE name = ?1");
  if (!query) return tl::unexpected(query.error());
  query->Bind(1, name);
  if (query->Step() != SQLITE_ROW) return tl::unexpected(SpoolerError::UnknownPrinter);
  return {};
}

template <typename Info>
tl::expected<Info, SpoolerError> ReadPrinter(const Printer& printer, const char* sql,
                                              Info (*convert)(const Statement&)) {
  auto db = SpoolDatabase::Open();
  if (!db) return tl::unexpected(db.error());
  auto query = db->Prepare(sql);
  if (!query) return tl::unexpected(query.error());
  query->Bind(1, printer.name());
  if (query->Step() != SQLITE_ROW) return tl::unexpected(SpoolerError::UnknownPrinter);
  return convert(*query);
}

std::uint32_t Attributes(const Statement& row, int column, int default_column) {
  auto attributes = static_cast<std::uint32_t>(row.Integer(column));
  if (row.Integer(default_column) != 0) attributes |= static_cast<std::uint32_t>(PrinterAttribute::Default);
  return attributes;
}

}  // namespace

std::string SpoolFolder() { return platform::WindowsFolder() + "SYSTEM32/spool/PRINTERS/"; }

std::string JobSpoolFileName(std::uint32_t job_id) {
  if (job_id >= kMaxNamedJob) return {};
  char name[16];
  std::snprintf(name, sizeof name, "%05u.SPL", job_id);
  return name;
}

tl::expected<Printer, SpoolerError> OpenPrinter(std::string_view name) {
  auto db = SpoolDatabase::Open();
  if (!db) return tl::unexpected(db.error());
  if (auto found = RequirePrinter(*db, name); !found) return tl::unexpected(found.error());
  return Printer(std::string(name));
}

tl::expected<std::vector<JobInfo1>, SpoolerError> EnumJobs(const Printer& printer) {
  auto db = SpoolDatabase::Open();
  if (!db) return tl::unexpected(db.error());
  auto query = db->Prepare("SELECT id, printer, document, datatype, submitted FROM jobs"
                           " WHERE printer = ?1 ORDER BY id");
  if (!query) return tl::unexpected(query.error());
  query->Bind(1, printer.name());
  std::vector<JobInfo1> jobs;
  int step;
  while ((step = query->Step()) == SQLITE_ROW) {
    jobs.push_back({static_cast<std::uint32_t>(query->Integer(0)), query->Text(1), query->Text(2),
                    query->Text(3), query->Integer(4)});
  }
  if (step != SQLITE_DONE) return tl::unexpected(SpoolerError::DatabaseUnavailable);
  return jobs;
}

tl::expected<void, SpoolerError> SetJob(const Printer& printer, std::uint32_t job_id, JobControl command) {
  if (command != JobControl::Cancel && command != JobControl::Delete) {
    return tl::unexpected(SpoolerError::UnsupportedCommand);
  }
  auto db = SpoolDatabase::Open();
  if (!db) return tl::unexpected(db.error());
  auto remove = db->Prepare("DELETE FROM jobs WHERE id = ?1 AND printer = ?2");
  if (!remove) return tl::unexpected(remove.error());
  remove->Bind(1, static_cast<std::int64_t>(job_id)).Bind(2, printer.name());
  if (remove->Step() != SQLITE_DONE) return tl::unexpected(SpoolerError::DatabaseUnavailable);
  if (db->Changes() == 0) return tl::unexpected(SpoolerError::UnknownJob);
  if (const std::string name = JobSpoolFileName(job_id); !name.empty()) {
    std::error_code ignored;
    fs::remove(SpoolFolder() + name, ignored);
  }
  return {};
}

tl::expected<std::vector<PrinterInfo5>, SpoolerError> EnumPrinters(PrinterEnum which) {
  auto db = SpoolDatabase::Open();
  if (!db) return tl::unexpected(db.error());
  const char* sql = "SELECT name, port, attributes, is_default FROM printers WHERE connection = ?1 ORDER BY rowid";
  if (which == PrinterEnum::Default) {
    sql = "SELECT name, port, attributes, is_default FROM printers WHERE is_default <> 0 ORDER BY rowid LIMIT 1";
  }
  auto query = db->Prepare(sql);
  if (!query) return tl::unexpected(query.error());
  if (which != PrinterEnum::Default) query->Bind(1, std::int64_t{which == PrinterEnum::Connections ? 1 : 0});
  std::vector<PrinterInfo5> printers;
  int step;
  while ((step = query->Step()) == SQLITE_ROW) {
    printers.push_back({query->Text(0), query->Text(1), Attributes(*query, 2, 3)});
  }
  if (step != SQLITE_DONE) return tl::unexpected(SpoolerError::DatabaseUnavailable);
  return printers;
}

tl::expected<PrinterInfo1, SpoolerError> GetPrinter1(const Printer& printer) {
  return ReadPrinter<PrinterInfo1>(
      printer, "SELECT name, driver, comment FROM printers WHERE name = ?1", [](const Statement& row) {
        // PRINTER_ENUM_ICON8 | PRINTER_ENUM_LOCAL, as the Windows spooler reports a local queue.
        return PrinterInfo1{0x00800000 | 0x2, row.Text(0) + "," + row.Text(1) + ",", row.Text(0), row.Text(2)};
      });
}

tl::expected<PrinterInfo2, SpoolerError> GetPrinter2(const Printer& printer) {
  return ReadPrinter<PrinterInfo2>(
      printer,
      "SELECT name, port, driver, datatype, attributes, is_default, print_quality FROM printers WHERE name = ?1",
      [](const Statement& row) {
        return PrinterInfo2{row.Text(0), row.Text(1), row.Text(2), row.Text(3), Attributes(row, 4, 5),
                            static_cast<std::int16_t>(row.Integer(6))};
      });
}

tl::expected<PrinterInfo5, SpoolerError> GetPrinter5(const Printer& printer) {
  return ReadPrinter<PrinterInfo5>(
      printer, "SELECT name, port, attributes, is_default FROM printers WHERE name = ?1",
      [](const Statement& row) { return PrinterInfo5{row.Text(0), row.Text(1), Attributes(row, 2, 3)}; });
}

tl::expected<void, SpoolerError> AddPrinter(const PrinterDefinition& definition) {
  auto db = SpoolDatabase::Open();
  if (!db) return tl::unexpected(db.error());
  Transaction transaction(*db);
  if (!transaction.Began()) return tl::unexpected(SpoolerError::DatabaseUnavailable);
  if (definition.is_default && !db->Execute("UPDATE printers SET is_default = 0")) {
    return tl::unexpected(SpoolerError::DatabaseUnavailable);
  }
  auto insert = db->Prepare(
      "INSERT OR REPLACE INTO printers (name, port, driver, datatype, attributes, print_quality,"
      " connection, is_default) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
  if (!insert) return tl::unexpected(insert.error());
  insert->Bind(1, definition.name)
      .Bind(2, definition.port)
      .Bind(3, definition.driver)
      .Bind(4, definition.datatype)
      .Bind(5, static_cast<std::int64_t>(definition.attributes))
      .Bind(6, std::int64_t{definition.print_quality})
      .Bind(7, std::int64_t{definition.connection ? 1 : 0})
      .Bind(8, std::int64_t{definition.is_default ? 1 : 0});
  if (insert->Step() != SQLITE_DONE || !transaction.Commit()) {
    return tl::unexpected(SpoolerError::DatabaseUnavailable);
  }
  return {};
}

tl::expected<std::uint32_t, SpoolerError> SubmitJob(const Printer& printer, std::string_view document,
                                                    std::span<const std::byte> spool_bytes) {
  auto db = SpoolDatabase::Open();
  if (!db) return tl::unexpected(db.error());
  Transaction transaction(*db);
  if (!transaction.Began()) return tl::unexpected(SpoolerError::DatabaseUnavailable);
  if (auto found = RequirePrinter(*db, printer.name()); !found) return tl::unexpected(found.error());

  auto insert = db->Prepare("INSERT INTO jobs (printer, document, datatype, submitted) VALUES (?1, ?2, 'NT EMF 1.008', ?3)");
  if (!insert) return tl::unexpected(insert.error());
  const auto now = std::chrono::duration_cast<std::chrono::seconds>(
                       std::chrono::system_clock::now().time_since_epoch()).count();
  insert->Bind(1, printer.name()).Bind(2, document).Bind(3, static_cast<std::int64_t>(now));
  if (insert->Step() != SQLITE_DONE) return tl::unexpected(SpoolerError::DatabaseUnavailable);
  const auto job_id = static_cast<std::uint32_t>(db->LastInsertId());
  const std::string name = JobSpoolFileName(job_id);
  if (name.empty()) return tl::unexpected(SpoolerError::SpoolFileFailed);

  // Readers never see half a spool file.
  const std::string folder = SpoolFolder();
  std::error_code error;
  fs::create_directories(folder, error);
  const std::string final_path = folder + name;
  if (!files::ReplaceFile(final_path, spool_bytes, files::Access::Private))
    return tl::unexpected(SpoolerError::SpoolFileFailed);
  if (!transaction.Commit()) {
    ::unlink(final_path.c_str());
    return tl::unexpected(SpoolerError::DatabaseUnavailable);
  }
  return job_id;
}

}  // namespace pw::spooler
