#include "platform/sysinfo/os_version.h"

#include <sys/utsname.h>

#include <charconv>
#include <fstream>
#include <sstream>

namespace pw::platform {
namespace {

// The value of KEY=value in os-release text, with shell quoting removed.
std::string OsReleaseValue(std::string_view text, std::string_view key) {
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(at, end - at);
    at = end + 1;
    if (!line.starts_with(key) || line.size() <= key.size() || line[key.size()] != '=') continue;
    std::string_view raw = line.substr(key.size() + 1);
    if (raw.size() >= 2 && (raw.front() == '"' || raw.front() == '\'') && raw.back() == raw.front()) {
      std::string value;
      for (std::size_t i = 1; i + 1 < raw.size(); ++i) {
        if (raw.front() == '"' && raw[i] == '\\' && i + 2 < raw.size()) ++i;
        value.push_back(raw[i]);
      }
      return value;
    }
    return std::string(raw);
  }
  return {};
}

std::string FileText(const char* path) {
  std::ifstream file(path);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace

OsVersion ParseOsVersion(std::string_view kernel_release, std::string_view os_release) {
  OsVersion version;
  int* parts[] = {&version.major, &version.minor, &version.build};
  const char* at = kernel_release.data();
  const char* end = at + kernel_release.size();
  for (int* part : parts) {
    auto [next, error] = std::from_chars(at, end, *part);
    if (error != std::errc()) {
      *part = 0;
      break;
    }
    at = next;
    if (at == end || *at != '.') break;
    ++at;
  }
  version.name = OsReleaseValue(os_release, "PRETTY_NAME");
  if (version.name.empty()) version.name = OsReleaseValue(os_release, "NAME");
  return version;
}

OsVersion RunningOsVersion() {
  struct utsname names {};
  std::string release = ::uname(&names) == 0 ? names.release : "";
  std::string os_release = FileText("/etc/os-release");
  if (os_release.empty()) os_release = FileText("/usr/lib/os-release");
  return ParseOsVersion(release, os_release);
}

}  // namespace pw::platform
