// The command word "quick".
#include "app/startup_command_line.h"

#include <QDir>
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

TEST(StartupCommandLine, PlainParametersAreFilesMadeAbsoluteUnlessQuick) {
  const std::string here = QDir::currentPath().toStdString();
  EXPECT_EQ(FileArguments({"pagewick", "a.emf", "--debug", "/tmp/b.SPL", "sub/c.emf"}),
            (std::vector<std::string>{here + "/a.emf", "/tmp/b.SPL", here + "/sub/c.emf"}));
  EXPECT_TRUE(FileArguments({"pagewick", "quick", "a.emf"}).empty());
  EXPECT_TRUE(FileArguments({"pagewick", "-v"}).empty());
  EXPECT_TRUE(FileArguments({"pagewick"}).empty());
  // A file after the word is still no file: "quick" keeps its meaning.
  EXPECT_TRUE(FileArguments({"pagewick", "-v", "quick", "/tmp/a.emf"}).empty());
  // Another word first: every plain parameter is a file, "quick" too.
  EXPECT_EQ(FileArguments({"pagewick", "a.emf", "quick"}).size(), 2u);
}

}  // namespace
}  // namespace pw::app
