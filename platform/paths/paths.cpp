#include "platform/paths/paths.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pw::platform {
namespace {

namespace fs = std::filesystem;

std::string WithSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

std::string UserHome() {
  std::string home = Env("HOME");
  if (!home.empty()) return home;
  if (const passwd* entry = ::getpwuid(::geteuid()); entry && entry->pw_dir) return entry->pw_dir;
  return "/";
}

// Makes the folder (and its parents) if needed; the folder text is returned
// either way so callers fail later, where the file itself is opened.
std::string Ensure(std::string folder) {
  std::error_code ignored;
  fs::create_directories(folder, ignored);
  return folder;
}

// A folder we may keep private files in: a real directory (not a link to
// one) owned by this user. The folder is made with mode 0700 when absent.
bool PrivateFolder(const std::string& folder, bool tighten_mode) {
  std::string path = folder;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
    // A missing parent: make the parents, then the folder itself.
    std::error_code ignored;
    fs::create_directories(fs::path(path).parent_path(), ignored);
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return false;
  if (S_ISLNK(info.st_mode) || !S_ISDIR(info.st_mode)) return false;
  if (info.st_uid != ::geteuid()) return false;
  if (tighten_mode && (info.st_mode & 077) != 0 && ::chmod(path.c_str(), 0700) != 0) return false;
  return true;
}

// A shared temporary folder such as /tmp: someone else's, sticky, and not a
// link. Private files go into a folder of the user's own inside it.
bool SharedTempFolder(const std::string& folder) {
  std::string path = folder;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return false;
  return S_ISDIR(info.st_mode) && (info.st_mode & S_ISVTX) != 0 && info.st_uid != ::geteuid();
}

}  // namespace

std::string HomeFolder() {
  std::string home = Env("PAGEWICK_HOME");
  if (home.empty()) {
    // The base directory rules ignore a relative XDG_DATA_HOME.
    std::string data = Env("XDG_DATA_HOME");
    if (!data.starts_with('/')) data.clear();
    home = data.empty() ? UserHome() + "/.local/share/pagewick" : data + "/pagewick";
  }
  return Ensure(WithSlash(home));
}

std::string WindowsFolder() { return Ensure(HomeFolder() + "windows/"); }

std::string MachineRootFolder() { return Ensure(HomeFolder() + "c/"); }

std::optional<std::string> TempFolder() {
  std::string tmpdir = Env("TMPDIR");
  std::string own = "pagewick-" + std::to_string(::geteuid()) + "/";
  if (tmpdir.empty() || SharedTempFolder(WithSlash(tmpdir))) {
    // Only the folder we name ourselves is narrowed to 0700; a $TMPDIR the
    // user chose keeps the mode the user gave it.
    std::string folder = WithSlash(tmpdir.empty() ? std::string("/tmp") : tmpdir) + own;
    if (!PrivateFolder(folder, true)) return std::nullopt;
    return folder;
  }
  std::string folder = WithSlash(tmpdir);
  if (!PrivateFolder(folder, false)) return std::nullopt;
  return folder;
}

void ProvideRuntimeFolder() {
  if (!Env("XDG_RUNTIME_DIR").empty()) return;
  const std::optional<std::string> temp = TempFolder();
  if (!temp) return;
  const std::string folder = *temp + "runtime";
  // Qt takes the folder only when it is the user's and 0700 exactly.
  if (!PrivateFolder(folder, true)) return;
  ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
}

std::optional<std::string> WorkFolder() {
  std::optional<std::string> temp = TempFolder();
  if (!temp) return std::nullopt;
  std::string folder = *temp + "Pagewick/";
  if (!PrivateFolder(folder, false)) return std::nullopt;
  return folder;
}

namespace {

// A folder beside the running program's bin/ folder.
std::string BesideProgram(const fs::path& relative) {
  std::error_code ec;
  fs::path program = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return WithSlash(fs::current_path(ec).string());
  return WithSlash((program.parent_path() / ".." / relative).lexically_normal().string());
}

}  // namespace

std::string DefaultInstallFolder() {
  std::string chosen = Env("PAGEWICK_INSTALL_DIR");
  if (!chosen.empty()) return WithSlash(chosen);
  return BesideProgram(fs::path("share") / "pagewick");
}

std::string ProgramLibraryFolder() { return BesideProgram(fs::path("lib") / "pagewick"); }

}  // namespace pw::platform
