#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "intake/capture_printer.h"
#include "intake/handshake.h"
#include "platform/spooler/spool_writer.h"
#include "platform/spooler/spooler.h"
#include "settings/settings_record.h"
#include "tests/intake/intake_fixtures.h"

namespace pw::intake {
namespace {

namespace fs = std::filesystem;
using platform::MessageButtons;
using platform::MessageOwner;

void WritePrinterHandshake(const std::string& line) { test::WriteText(PrinterHandshakePath(), line + "\r\n"); }

TEST(CapturePrinter, NameIsTheHandshakeLineUpToTheFirstOn) {
  settings::Update([](settings::Settings& s) { s.PrinterResolution = 450; });
  WritePrinterHandshake("Capture Printer on Ne00:");
  ASSERT_TRUE(CheckCapturePrinter());
  EXPECT_EQ(CapturePrinterName(), "Capture Printer");

  WritePrinterHandshake("Printer on the desk on LPT1:");
  ASSERT_TRUE(CheckCapturePrinter());
  EXPECT_EQ(CapturePrinterName(), "Printer");

  WritePrinterHandshake("Pagewick Capture");
  ASSERT_TRUE(CheckCapturePrinter());
  EXPECT_EQ(CapturePrinterName(), "Pagewick Capture");

  WritePrinterHandshake("Ends with on ");
  ASSERT_TRUE(CheckCapturePrinter());
  EXPECT_EQ(CapturePrinterName(), "Ends with");
  EXPECT_EQ(settings::Snapshot().PrinterResolution, 450);
}

TEST(CapturePrinter, WithoutTheHandshakeFileNoPrinterIsTakenNotEvenTheDefault) {
  ASSERT_TRUE(spooler::AddPrinter({.name = "Office", .port = "LPT1:", .driver = "Generic", .is_default = true}));
  EXPECT_FALSE(CheckCapturePrinter());
  EXPECT_EQ(CapturePrinterName(), "");
  EXPECT_FALSE(ListCaptureJobs());
}

TEST(CapturePrinter, AFailedCheckForgetsThePrinterAnEarlierCheckFound) {
  ASSERT_TRUE(spooler::AddPrinter({.name = "Office", .port = "LPT1:", .driver = "Generic"}));
  WritePrinterHandshake("Office on LPT1:");
  ASSERT_TRUE(CheckCapturePrinter());
  ASSERT_EQ(CapturePrinterName(), "Office");
  ASSERT_TRUE(fs::remove(PrinterHandshakePath()));

  EXPECT_FALSE(CheckCapturePrinter());
  EXPECT_EQ(CapturePrinterName(), "");
  // The clean-up of this capture finds no printer, so the queue that was
  // the capture printer before keeps its jobs.
  auto office = spooler::OpenPrinter("Office");
  ASSERT_TRUE(office);
  const auto bytes = spooler::SpoolWriter("letter").AddPage(test::TinyEmf(1)).Finish();
  ASSERT_TRUE(spooler::SubmitJob(*office, "letter", bytes));
  ClearCaptureJobs();
  const auto jobs = spooler::EnumJobs(*office);
  ASSERT_TRUE(jobs);
  EXPECT_EQ(jobs->size(), 1u);
}

class CaptureJobs : public ::testing::Test {
 protected:
  void SetUp() override {
    WritePrinterHandshake("Pagewick Capture on PWK1:");
    ASSERT_TRUE(CheckCapturePrinter());
  }

  std::uint32_t Submit(std::string_view printer_name, std::string_view document) {
    auto printer = spooler::OpenPrinter(printer_name);
    EXPECT_TRUE(printer);
    auto bytes = spooler::SpoolWriter(document).AddPage(test::TinyEmf(1)).Finish();
    auto job = spooler::SubmitJob(*printer, document, bytes);
    EXPECT_TRUE(job);
    return job.value_or(0);
  }
};

TEST_F(CaptureJobs, ListingKeepsTheJobIdsInQueueOrder) {
  const auto a = Submit(spooler::kCapturePrinterName, "Microsoft Word - A.doc");
  const auto b = Submit(spooler::kCapturePrinterName, "other");
  ASSERT_TRUE(ListCaptureJobs());
  EXPECT_EQ(CaptureJobIds(), (std::vector<std::uint32_t>{a, b}));
}

TEST_F(CaptureJobs, ClearingRemovesEveryJobOfTheCapturePrinterOnly) {
  ASSERT_TRUE(spooler::AddPrinter({.name = "Office", .port = "LPT1:", .driver = "Generic"}));
  std::vector<std::uint32_t> ids;
  for (const char* name : {"Microsoft Word - A.doc", "unrelated", "Microsoft Word - B.doc"}) {
    ids.push_back(Submit(spooler::kCapturePrinterName, name));
  }
  const auto office_job = Submit("Office", "letter");

  ClearCaptureJobs();
  auto capture = spooler::OpenPrinter(spooler::kCapturePrinterName);
  EXPECT_TRUE(spooler::EnumJobs(*capture)->empty());
  for (auto id : ids) EXPECT_FALSE(fs::exists(spooler::SpoolFolder() + spooler::JobSpoolFileName(id)));
  EXPECT_EQ(spooler::EnumJobs(*spooler::OpenPrinter("Office"))->size(), 1u);
  EXPECT_TRUE(fs::exists(spooler::SpoolFolder() + spooler::JobSpoolFileName(office_job)));
}

TEST_F(CaptureJobs, UnknownCapturePrinterMakesListingFailAndClearingDoNothing) {
  const auto job = Submit(spooler::kCapturePrinterName, "Microsoft Word - A.doc");
  WritePrinterHandshake("Gone Printer on LPT9:");
  ASSERT_TRUE(CheckCapturePrinter());
  EXPECT_FALSE(ListCaptureJobs());
  ClearCaptureJobs();
  EXPECT_TRUE(fs::exists(spooler::SpoolFolder() + spooler::JobSpoolFileName(job)));
}

// A directory whose printers fail in the ways a test chooses.
class ScriptedDirectory : public PrinterDirectory {
 public:
  std::map<spooler::PrinterEnum, std::vector<std::string>> names;
  std::map<std::string, Failure> failures;

  std::vector<std::string> Names(spooler::PrinterEnum kind) override { return names[kind]; }
  tl::expected<spooler::PrinterInfo2, Failure> Details(const std::string& name) override {
    if (auto it = failures.find(name); it != failures.end()) return tl::unexpected(it->second);
    return spooler::PrinterInfo2{name, "port-" + name, "driver-" + name, "RAW", 0x240, 600};
  }
};

TEST(PrinterInventory, FailingPrintersShowTheirMessagesAndTheInventoryGoesOn) {
  auto host = test::InstallScriptedHost();
  ScriptedDirectory directory;
  directory.names[spooler::PrinterEnum::Local] = {"L1", "L2", "L3", "L4"};
  directory.names[spooler::PrinterEnum::Connections] = {"C1", "C2", "C3"};
  directory.failures = {{"L1", PrinterDirectory::Failure::NotOpened},
                        {"L2", PrinterDirectory::Failure::NoSize},
                        {"L3", PrinterDirectory::Failure::NoMemory},
                        {"C1", PrinterDirectory::Failure::NotOpened},
                        {"C2", PrinterDirectory::Failure::NoSize},
                        {"C3", PrinterDirectory::Failure::NoMemory}};
  EXPECT_TRUE(TakePrinterInventory(directory));

  EXPECT_EQ(host->Texts(), (std::vector<std::string>{
                               "!bFlag || !hPrinter. Error 020010", "dwNeeded == 0. Error 020011",
                               "!ppi2.  Error 020012", "!bFlag || !hPrinter. Error 020013",
                               "dwNeeded == 0. Error 020014", "!ppi2. Error 020015"}));
  for (const auto& request : host->Requests()) {
    EXPECT_EQ(request.owner, MessageOwner::None);
    EXPECT_EQ(request.caption, "");
    EXPECT_EQ(request.buttons, MessageButtons::Ok);
  }
  const auto inventory = LastPrinterInventory();
  ASSERT_EQ(inventory.local.size(), 4u);
  EXPECT_EQ(inventory.local[3].name, "L4");
  EXPECT_EQ(inventory.local[3].driver, "driver-L4");
  EXPECT_EQ(inventory.local[3].port, "port-L4");
  EXPECT_EQ(inventory.local[3].attributes, 0x240u);
  EXPECT_EQ(inventory.local[0].driver, "");
  EXPECT_EQ(inventory.connections.size(), 3u);
}

TEST(PrinterInventory, ListIsReplacedOnlyWhenItsEnumerationFindsPrinters) {
  test::InstallScriptedHost();
  ScriptedDirectory directory;
  directory.names[spooler::PrinterEnum::Local] = {"L1"};
  directory.names[spooler::PrinterEnum::Connections] = {"C1"};
  TakePrinterInventory(directory);
  directory.names[spooler::PrinterEnum::Local] = {"L2", "L3"};
  directory.names[spooler::PrinterEnum::Connections] = {};
  TakePrinterInventory(directory);
  const auto inventory = LastPrinterInventory();
  ASSERT_EQ(inventory.local.size(), 2u);
  EXPECT_EQ(inventory.local[0].name, "L2");
  ASSERT_EQ(inventory.connections.size(), 1u);
  EXPECT_EQ(inventory.connections[0].name, "C1");
}

TEST(PrinterInventory, ListsHoldAtMostAThousandPrinters) {
  test::InstallScriptedHost();
  ScriptedDirectory directory;
  for (int i = 0; i < 1005; ++i) directory.names[spooler::PrinterEnum::Local].push_back("P" + std::to_string(i));
  TakePrinterInventory(directory);
  const auto inventory = LastPrinterInventory();
  ASSERT_EQ(inventory.local.size(), kMaxInventoryPrinters);
  EXPECT_EQ(inventory.local.back().name, "P999");
}

TEST(PrinterInventory, SpoolerInventoryDescribesTheInstalledPrinters) {
  auto host = test::InstallScriptedHost();
  ASSERT_TRUE(spooler::AddPrinter({.name = "\\\\server\\laser", .port = "IP_10.0.0.9", .driver = "Laser",
                                   .datatype = "RAW", .connection = true}));
  EXPECT_TRUE(TakePrinterInventory());
  EXPECT_TRUE(host->Texts().empty());
  const auto inventory = LastPrinterInventory();
  ASSERT_EQ(inventory.local.size(), 1u);
  EXPECT_EQ(inventory.local[0].name, spooler::kCapturePrinterName);
  EXPECT_EQ(inventory.local[0].port, spooler::kCapturePrinterPort);
  EXPECT_EQ(inventory.local[0].driver, spooler::kCapturePrinterDriver);
  ASSERT_EQ(inventory.connections.size(), 1u);
  EXPECT_EQ(inventory.connections[0].driver, "Laser");
}

}  // namespace
}  // namespace pw::intake
