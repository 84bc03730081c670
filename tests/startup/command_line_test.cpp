// The command word "quick".
#include "app/startup_command_line.h"

#include <gtest/gtest.h>

namespace pw::app {
namespace {

TEST(StartupCommandLine, OnlyTheExactLowerCaseWordIsQuick) {
  EXPECT_TRUE(AsksForQuickStart({"pagewick", "quick"}));
  for (const char* word : {"Quick", "QUICK", "quick ", "quickly", "quic", "", "\"quick\""}) {
    EXPECT_FALSE(AsksForQuickStart({"pagewick", word})) << '"' << word << '"';
  }
  EXPECT_FALSE(AsksForQuickStart({"pagewick"}));
  EXPECT_FALSE(AsksForQuickStart({}));
}

TEST(StartupCommandLine, TheFirstPlainParameterDecides) {
  // Switches are not plain parameters.
  EXPECT_TRUE(AsksForQuickStart({"pagewick", "-v", "/x", "quick"}));
  EXPECT_EQ(FirstPlainParameter({"pagewick", "--debug", "quick", "other"}), "quick");
  // "quick" after another plain word is not the first one.
  EXPECT_FALSE(AsksForQuickStart({"pagewick", "report.doc", "quick"}));
  // The program's own name is never the parameter.
  EXPECT_FALSE(AsksForQuickStart({"quick"}));
}

}  // namespace
}  // namespace pw::app
