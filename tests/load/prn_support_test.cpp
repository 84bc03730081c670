#include <gtest/gtest.h>

#include <filesystem>

#include "platform/prnsupport/pw_prn_support.h"
#include "platform/spooler/spooler.h"

namespace pw::spooler {
namespace {

TEST(PrinterRefresh, JobsWhoseSpoolFileHasGoneLeaveTheQueue) {
  auto printer = OpenPrinter(kCapturePrinterName);
  ASSERT_TRUE(printer);
  const std::vector<std::byte> bytes(16, std::byte{7});
  auto kept = SubmitJob(*printer, "Microsoft Word - Kept.doc", bytes);
  auto lost = SubmitJob(*printer, "Microsoft Word - Lost.doc", bytes);
  ASSERT_TRUE(kept && lost);
  ASSERT_TRUE(std::filesystem::remove(SpoolFolder() + JobSpoolFileName(*lost)));

  EXPECT_EQ(fnPWPrnRefresh(), 1);

  auto jobs = EnumJobs(*printer);
  ASSERT_TRUE(jobs);
  ASSERT_EQ(jobs->size(), 1u);
  EXPECT_EQ(jobs->front().job_id, *kept);
  EXPECT_TRUE(std::filesystem::exists(SpoolFolder() + JobSpoolFileName(*kept)));
}

TEST(PrinterRefresh, EmptyQueueStaysEmpty) {
  EXPECT_EQ(fnPWPrnRefresh(), 0);
  auto printer = OpenPrinter(kCapturePrinterName);
  ASSERT_TRUE(printer);
  EXPECT_TRUE(EnumJobs(*printer).value().empty());
}

}  // namespace
}  // namespace pw::spooler
