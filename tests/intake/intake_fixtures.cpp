#include "tests/intake/intake_fixtures.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <ctime>
#include <fstream>
#include <iterator>

namespace pw::test {
namespace {

void PutU32(std::vector<std::byte>& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::byte>((value >> shift) & 0xFF));
}

}  // namespace

std::vector<std::byte> TinyEmf(std::uint32_t marker) {
  constexpr std::uint32_t kHeaderSize = 88, kCommentSize = 16, kEofSize = 20;
  std::vector<std::byte> emf;
  PutU32(emf, 1);  // EMR_HEADER
  PutU32(emf, kHeaderSize);
  for (std::uint32_t v : {0u, 0u, 99u, 99u}) PutU32(emf, v);        // bounds
  for (std::uint32_t v : {0u, 0u, 2540u, 2540u}) PutU32(emf, v);    // frame, 1 inch
  PutU32(emf, 0x464D4520);                                          // " EMF"
  PutU32(emf, 0x00010000);
  PutU32(emf, kHeaderSize + kCommentSize + kEofSize);
  PutU32(emf, 3);  // records
  PutU32(emf, 1);  // handles (16 bits) and reserved
  PutU32(emf, 0);
  PutU32(emf, 0);
  PutU32(emf, 0);
  for (std::uint32_t v : {1000u, 1000u, 254u, 254u}) PutU32(emf, v);  // device, millimetres
  PutU32(emf, 70);  // EMR_GDICOMMENT
  PutU32(emf, kCommentSize);
  PutU32(emf, 4);
  PutU32(emf, marker);
  PutU32(emf, 14);  // EMR_EOF
  PutU32(emf, kEofSize);
  PutU32(emf, 0);
  PutU32(emf, 16);
  PutU32(emf, kEofSize);
  return emf;
}

void WriteBytes(const std::filesystem::path& path, std::span<const std::byte> bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::byte> ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<char> raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::byte> bytes(raw.size());
  std::transform(raw.begin(), raw.end(), bytes.begin(), [](char c) { return static_cast<std::byte>(c); });
  return bytes;
}

void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

std::vector<std::string> FileNames(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    names.push_back(it->path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

void SetLocalWriteTime(const std::filesystem::path& path, int year, int month, int day, int hour, int minute,
                       int second) {
  std::tm local{};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_sec = second;
  local.tm_isdst = -1;
  const std::time_t when = std::mktime(&local);
  const timespec times[2] = {{when, 0}, {when, 0}};
  ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

std::shared_ptr<platform::ScriptedMessageBoxHost> InstallScriptedHost() {
  auto host = std::make_shared<platform::ScriptedMessageBoxHost>();
  platform::SetMessageBoxHost(host);
  return host;
}

}  // namespace pw::test
