#include "tests/support/test_home.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace pw::test {
namespace {

std::filesystem::path g_home;
std::filesystem::path g_temp;
// The system's temporary folder as it was before any test changed TMPDIR.
std::filesystem::path g_system_temp;

class TestHomeListener : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override {
    std::string pattern = (g_system_temp / "pwtest-XXXXXX").string();
    if (char* made = ::mkdtemp(pattern.data())) {
      g_home = std::filesystem::path(made) / "home";
      g_temp = std::filesystem::path(made) / "tmp";
      std::filesystem::create_directories(g_home);
      std::filesystem::create_directories(g_temp);
      std::filesystem::permissions(g_temp, std::filesystem::perms::owner_all);
      ::setenv("PAGEWICK_HOME", g_home.c_str(), 1);
      ::setenv("TMPDIR", (g_temp.string() + "/").c_str(), 1);
    }
  }
  void OnTestEnd(const ::testing::TestInfo&) override {
    if (g_home.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(g_home.parent_path(), ignored);
    g_home.clear();
    g_temp.clear();
  }
};

std::filesystem::path FromEnv(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  return value && *value ? std::filesystem::path(value) : std::filesystem::path(fallback);
}

}  // namespace

std::filesystem::path HomeDir() { return g_home; }
std::filesystem::path TempDir() { return g_temp; }
std::filesystem::path BuildDir() { return FromEnv("PAGEWICK_BUILD_DIR", PAGEWICK_BUILD_DIR_DEFAULT); }
std::filesystem::path SourceDir() { return FromEnv("PAGEWICK_SOURCE_DIR", PAGEWICK_SOURCE_DIR_DEFAULT); }

void InstallTestHomeListener() {
  g_system_temp = std::filesystem::temp_directory_path();
  ::testing::UnitTest::GetInstance()->listeners().Append(new TestHomeListener);  // gtest owns listeners
}

}  // namespace pw::test
