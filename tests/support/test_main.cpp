// Shared main of every test program: a headless Qt application (fonts,
// painting and widgets need one) and a fresh emulated machine per test.
#include "tests/support/test_home.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

// Qt and fontconfig keep caches for the life of the process; leak reports of
// those would bury real findings, so sanitizer builds of tests skip them.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  pw::test::InstallTestHomeListener();
  return RUN_ALL_TESTS();
}
