#pragma once
// What every fuzz target shares: a private scratch folder that stands in for
// the user's home and temporary folder, a headless Qt for the drawing code,
// and a hard stop when an invariant of the code under test does not hold.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <set>
#include <span>
#include <string>

namespace pw::fuzz {

// Makes a fresh folder under the system temporary folder, points
// PAGEWICK_HOME and TMPDIR inside it, and gives its path. Called once.
std::filesystem::path MakeScratchRoot();

// Starts a headless QGuiApplication for targets that draw (once).
void StartHeadlessGui();

// Every path below `root`, as text, for before/after comparisons.
std::set<std::string> PathsUnder(const std::filesystem::path& root);

bool WriteFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

inline std::span<const std::byte> AsBytes(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const std::byte*>(data), size};
}

// Reports a broken invariant and stops, so libFuzzer keeps the input.
[[noreturn]] void Fail(const std::string& what);

}  // namespace pw::fuzz
