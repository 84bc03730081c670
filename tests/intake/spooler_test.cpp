#include <gtest/gtest.h>

#include <filesystem>

#include "platform/registry/registry.h"
#include "platform/spooler/spool_writer.h"
#include "platform/spooler/spooler.h"
#include "tests/intake/intake_fixtures.h"
#include "tests/support/test_home.h"

namespace pw::spooler {
namespace {

namespace fs = std::filesystem;

std::vector<std::byte> OnePageSpool(std::uint32_t marker) {
  return SpoolWriter("doc", "").AddPage(test::TinyEmf(marker)).Finish();
}

TEST(Spooler, FirstStartInstallsTheCapturePrinterAsTheOnlyLocalDefault) {
  auto local = EnumPrinters(PrinterEnum::Local);
  ASSERT_TRUE(local);
  ASSERT_EQ(local->size(), 1u);
  EXPECT_EQ((*local)[0].printer_name, kCapturePrinterName);
  EXPECT_EQ((*local)[0].port_name, kCapturePrinterPort);
  EXPECT_TRUE((*local)[0].attributes & static_cast<std::uint32_t>(PrinterAttribute::Default));

  auto connections = EnumPrinters(PrinterEnum::Connections);
  ASSERT_TRUE(connections);
  EXPECT_TRUE(connections->empty());

  auto printer = OpenPrinter(kCapturePrinterName);
  ASSERT_TRUE(printer);
  auto level2 = GetPrinter2(*printer);
  ASSERT_TRUE(level2);
  EXPECT_EQ(level2->port_name, kCapturePrinterPort);
  EXPECT_EQ(level2->driver_name, kCapturePrinterDriver);
  EXPECT_EQ(level2->print_quality, 300);
  auto level1 = GetPrinter1(*printer);
  ASSERT_TRUE(level1);
  EXPECT_EQ(level1->name, kCapturePrinterName);
  auto level5 = GetPrinter5(*printer);
  ASSERT_TRUE(level5);
  EXPECT_EQ(level5->port_name, kCapturePrinterPort);

  // The registry shares the file and still works beside the spooler's tables.
  EXPECT_FALSE(registry::StoreProblem());
  EXPECT_TRUE(registry::SetValue(registry::Hive::CurrentUser, "Software\\Test",
                                 {"v", registry::ValueType::Dword, registry::DwordData(7)}));
  EXPECT_EQ(EnumPrinters(PrinterEnum::Local)->size(), 1u);
}

TEST(Spooler, UnknownPrinterDoesNotOpen) {
  auto printer = OpenPrinter("No Such Printer");
  ASSERT_FALSE(printer);
  EXPECT_EQ(printer.error(), SpoolerError::UnknownPrinter);
}

TEST(Spooler, JobsAppearWithTheirSpoolFilesAndDeleteRemovesBoth) {
  auto printer = OpenPrinter(kCapturePrinterName);
  ASSERT_TRUE(printer);
  auto first = SubmitJob(*printer, "Microsoft Word - A.doc", OnePageSpool(1));
  auto second = SubmitJob(*printer, "Microsoft Word - B.doc", OnePageSpool(2));
  ASSERT_TRUE(first);
  ASSERT_TRUE(second);
  EXPECT_LT(*first, *second);

  const fs::path second_file = SpoolFolder() + JobSpoolFileName(*second);
  EXPECT_EQ(test::ReadBytes(second_file), OnePageSpool(2));
  EXPECT_TRUE(fs::exists(SpoolFolder() + JobSpoolFileName(*first)));

  auto jobs = EnumJobs(*printer);
  ASSERT_TRUE(jobs);
  ASSERT_EQ(jobs->size(), 2u);
  EXPECT_EQ((*jobs)[0].job_id, *first);
  EXPECT_EQ((*jobs)[0].document, "Microsoft Word - A.doc");
  EXPECT_EQ((*jobs)[1].document, "Microsoft Word - B.doc");

  ASSERT_TRUE(SetJob(*printer, *first, JobControl::Delete));
  EXPECT_FALSE(fs::exists(SpoolFolder() + JobSpoolFileName(*first)));
  jobs = EnumJobs(*printer);
  ASSERT_EQ(jobs->size(), 1u);
  EXPECT_EQ((*jobs)[0].job_id, *second);

  auto again = SetJob(*printer, *first, JobControl::Delete);
  ASSERT_FALSE(again);
  EXPECT_EQ(again.error(), SpoolerError::UnknownJob);
  EXPECT_EQ(SetJob(*printer, *second, JobControl::Pause).error(), SpoolerError::UnsupportedCommand);
  EXPECT_TRUE(fs::exists(second_file));
}

TEST(Spooler, JobsOfAnotherPrinterAreNeitherListedNorDeleted) {
  ASSERT_TRUE(AddPrinter({.name = "Office", .port = "LPT1:", .driver = "Generic"}));
  auto office = OpenPrinter("Office");
  auto capture = OpenPrinter(kCapturePrinterName);
  ASSERT_TRUE(office && capture);
  auto job = SubmitJob(*office, "letter", OnePageSpool(3));
  ASSERT_TRUE(job);
  EXPECT_TRUE(EnumJobs(*capture)->empty());
  EXPECT_EQ(SetJob(*capture, *job, JobControl::Delete).error(), SpoolerError::UnknownJob);
  EXPECT_EQ(EnumJobs(*office)->size(), 1u);
}

TEST(Spooler, ConnectionsAndTheDefaultPrinterAreListedApart) {
  ASSERT_TRUE(AddPrinter({.name = "\\\\server\\laser", .port = "IP_10.0.0.9", .driver = "Laser",
                          .connection = true}));
  ASSERT_TRUE(AddPrinter({.name = "Office", .port = "LPT1:", .driver = "Generic", .is_default = true}));
  auto connections = EnumPrinters(PrinterEnum::Connections);
  ASSERT_EQ(connections->size(), 1u);
  EXPECT_EQ((*connections)[0].printer_name, "\\\\server\\laser");
  EXPECT_EQ(EnumPrinters(PrinterEnum::Local)->size(), 2u);
  auto default_printer = EnumPrinters(PrinterEnum::Default);
  ASSERT_EQ(default_printer->size(), 1u);
  EXPECT_EQ((*default_printer)[0].printer_name, "Office");
}

TEST(Spooler, JobSpoolFileNamesHaveFiveDigits) {
  EXPECT_EQ(JobSpoolFileName(7), "00007.SPL");
  EXPECT_EQ(JobSpoolFileName(99999), "99999.SPL");
  EXPECT_EQ(JobSpoolFileName(100000), "");
  EXPECT_EQ(SpoolFolder(), test::HomeDir().string() + "/windows/SYSTEM32/spool/PRINTERS/");
}

TEST(Spooler, DamagedDatabaseFailsCleanlyAndIsLeftAsItWas) {
  const fs::path file = test::HomeDir() / "registry.db";
  std::string garbage(8192, 'x');
  test::WriteText(file, "SQLite format 3" + garbage);
  const auto before = test::ReadBytes(file);

  auto printer = OpenPrinter(kCapturePrinterName);
  ASSERT_FALSE(printer);
  EXPECT_EQ(printer.error(), SpoolerError::DatabaseDamaged);
  EXPECT_FALSE(EnumPrinters(PrinterEnum::Local));
  EXPECT_EQ(test::ReadBytes(file), before);
}

}  // namespace
}  // namespace pw::spooler
