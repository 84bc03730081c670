#pragma once
// Every test runs in a private, empty emulated machine: PAGEWICK_HOME and
// TMPDIR point into a fresh folder that is removed when the test ends.
#include <filesystem>

namespace pw::test {

// The current test's PAGEWICK_HOME (ends without a slash).
std::filesystem::path HomeDir();

// The current test's TMPDIR.
std::filesystem::path TempDir();

// The build folder (bin/, lib/, share/pagewick/).
std::filesystem::path BuildDir();

// The source folder of the checkout.
std::filesystem::path SourceDir();

// Registers the listener that lays a fresh home for each test.
void InstallTestHomeListener();

}  // namespace pw::test
