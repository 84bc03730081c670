#pragma once
// The running system's version in the shape the report gives it: major,
// minor and build number from the kernel's release ("6.1.0-18-amd64" is
// 6, 1, 0), and the distribution's name ("Debian GNU/Linux 12 (bookworm)")
// where a service-pack text would stand.
#include <string>
#include <string_view>

namespace pw::platform {

struct OsVersion {
  int major = 0;
  int minor = 0;
  int build = 0;
  std::string name;
};

// From the kernel release text and the contents of os-release: the
// leading numbers of the release (missing ones are 0), and os-release's
// PRETTY_NAME, else NAME, unquoted.
OsVersion ParseOsVersion(std::string_view kernel_release, std::string_view os_release);

// The running system's: uname() and /etc/os-release (or
// /usr/lib/os-release).
OsVersion RunningOsVersion();

}  // namespace pw::platform
