#pragma once
// Helpers of the intake tests: small EMF pages, files, and a scripted
// message box installed for one test.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/msgbox/scripted_message_box.h"

namespace pw::test {

// A valid EMF of a header, one comment record holding `marker` and EMR_EOF.
std::vector<std::byte> TinyEmf(std::uint32_t marker);

void WriteBytes(const std::filesystem::path& path, std::span<const std::byte> bytes);
std::vector<std::byte> ReadBytes(const std::filesystem::path& path);
void WriteText(const std::filesystem::path& path, const std::string& text);

// The names of the files in a folder, sorted; empty when it does not exist.
std::vector<std::string> FileNames(const std::filesystem::path& folder);

// Sets a file's last-write time to a local calendar time.
void SetLocalWriteTime(const std::filesystem::path& path, int year, int month, int day, int hour, int minute,
                       int second);

// Installs a fresh scripted message host for the current test.
std::shared_ptr<platform::ScriptedMessageBoxHost> InstallScriptedHost();

}  // namespace pw::test
