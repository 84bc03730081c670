#include "platform/files/file_writing.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <random>
#include <utility>

namespace pw::files {
namespace {

namespace fs = std::filesystem;

// Long enough for any name a folder holds once the temporary name's
// leading dot and random tail are added to it.
constexpr std::size_t kMaxNameStem = 200;
constexpr int kNameAttempts = 16;

mode_t ModeOf(Access access) { return access == Access::Private ? 0600 : 0666; }

// Opens a file that did not exist; a link at the name counts as existing.
int OpenNew(const fs::path& path, Access access) {
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, ModeOf(access));
}

// 0, or the errno of the write that failed.
int WriteAll(int fd, std::span<const std::byte> bytes) {
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return EIO;
    written += static_cast<std::size_t>(n);
  }
  return 0;
}

// A temporary name is "." + the target's name (its first kMaxNameStem
// bytes) + "." + 12 lower-case hex digits + ".part".
constexpr std::size_t kRandomDigits = 12;
constexpr std::string_view kPartSuffix = ".part";

// A hidden name beside the target that no reader of the folder looks for.
fs::path TemporaryNameFor(const fs::path& target) {
  thread_local std::mt19937_64 random{std::random_device{}()};
  char tail[24];
  std::snprintf(tail, sizeof tail, ".%012llx.part",
                static_cast<unsigned long long>(random() & 0xFFFFFFFFFFFFull));
  const std::string stem = target.filename().string().substr(0, kMaxNameStem);
  const fs::path name = "." + stem + tail;
  return target.has_parent_path() ? target.parent_path() / name : name;
}

// Whether `name` is one TemporaryNameFor makes for a target whose name
// begins with `prefix`.
bool IsTemporaryNameOf(std::string_view name, std::string_view prefix) {
  const std::size_t tail = 1 + kRandomDigits + kPartSuffix.size();
  if (name.size() < 2 + tail || name.front() != '.' || !name.ends_with(kPartSuffix)) return false;
  if (name[name.size() - tail] != '.') return false;
  const std::string_view digits = name.substr(name.size() - kPartSuffix.size() - kRandomDigits, kRandomDigits);
  const auto hex = [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); };
  if (!std::all_of(digits.begin(), digits.end(), hex)) return false;
  return name.substr(1, name.size() - 1 - tail).starts_with(prefix.substr(0, kMaxNameStem));
}

// Locks a new temporary file for as long as it stays open. False when the
// file was removed before the lock was had: a run cleaning up took it for
// abandoned, and the writer takes another name.
bool HoldWhileWritten(int fd) {
  while (::flock(fd, LOCK_EX) != 0)
    if (errno != EINTR) return true;  // no locks here: nothing is removed here either
  struct stat status {};
  return ::fstat(fd, &status) != 0 || status.st_nlink > 0;
}

bool WrittenBefore(const timespec& written, const timespec& moment) {
  return written.tv_sec < moment.tv_sec || (written.tv_sec == moment.tv_sec && written.tv_nsec < moment.tv_nsec);
}

// Removes the temporary file at `path` when it is this user's regular file,
// written before `started`, and no writer holds it.
bool RemoveIfAbandoned(const fs::path& path, const timespec& started) {
  struct stat named {};
  if (::lstat(path.c_str(), &named) != 0 || !S_ISREG(named.st_mode) || named.st_uid != ::geteuid()) return false;
  if (!WrittenBefore(named.st_mtim, started)) return false;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat opened {};
  bool removed = false;
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 && opened.st_dev == named.st_dev &&
      opened.st_ino == named.st_ino)
    removed = ::unlink(path.c_str()) == 0;
  ::close(fd);
  return removed;
}

}  // namespace

std::string FileError::Reason() const { return std::strerror(code); }

std::string FileError::Message() const { return "cannot write " + path + ": " + Reason(); }

WriteResult CreateNewFile(const fs::path& path, std::span<const std::byte> bytes, Access access) {
  const int fd = OpenNew(path, access);
  if (fd < 0) return tl::unexpected(FileError{path.string(), errno});
  int error = WriteAll(fd, bytes);
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0) return {};
  ::unlink(path.c_str());  // half a file is no file
  return tl::unexpected(FileError{path.string(), error});
}

WriteResult ReplaceFile(const fs::path& path, std::span<const std::byte> bytes, Access access) {
  auto file = ReplacementFile::Begin(path, access);
  if (!file) return tl::unexpected(file.error());
  if (auto written = file->Write(bytes); !written) return written;
  return file->Commit();
}

WriteResult ReplaceFile(const fs::path& path, std::string_view text, Access access) {
  return ReplaceFile(path, std::as_bytes(std::span(text.data(), text.size())), access);
}

tl::expected<ReplacementFile, FileError> ReplacementFile::Begin(const fs::path& target, Access access) {
  if (target.filename().empty()) return tl::unexpected(FileError{target.string(), EISDIR});
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    fs::path temporary = TemporaryNameFor(target);
    const int fd = OpenNew(temporary, access);
    if (fd >= 0 && HoldWhileWritten(fd)) return ReplacementFile(target, std::move(temporary), fd);
    if (fd >= 0) {
      ::close(fd);
      continue;
    }
    if (errno != EEXIST) return tl::unexpected(FileError{target.string(), errno});
  }
  return tl::unexpected(FileError{target.string(), EEXIST});
}

int RemoveStaleTemporaries(const fs::path& folder, std::string_view name_prefix) {
  timespec started{};
  ::clock_gettime(CLOCK_REALTIME, &started);
  int removed = 0;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    if (IsTemporaryNameOf(it->path().filename().string(), name_prefix) && RemoveIfAbandoned(it->path(), started))
      ++removed;
  return removed;
}

ReplacementFile::ReplacementFile(fs::path target, fs::path temporary, int fd)
    : target_(std::move(target)), temporary_(std::move(temporary)), fd_(fd) {}

ReplacementFile::ReplacementFile(ReplacementFile&& other) noexcept
    : target_(std::move(other.target_)),
      temporary_(std::move(other.temporary_)),
      fd_(std::exchange(other.fd_, -1)) {}

ReplacementFile& ReplacementFile::operator=(ReplacementFile&& other) noexcept {
  if (this != &other) {
    Discard();
    target_ = std::move(other.target_);
    temporary_ = std::move(other.temporary_);
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

ReplacementFile::~ReplacementFile() { Discard(); }

void ReplacementFile::Discard() {
  if (fd_ < 0) return;
  ::close(fd_);
  ::unlink(temporary_.c_str());
  fd_ = -1;
}

FileError ReplacementFile::Fail(int code) {
  Discard();
  return FileError{target_.string(), code};
}

WriteResult ReplacementFile::Write(std::span<const std::byte> bytes) {
  if (fd_ < 0) return tl::unexpected(FileError{target_.string(), EBADF});
  if (const int error = WriteAll(fd_, bytes); error != 0) return tl::unexpected(Fail(error));
  return {};
}

WriteResult ReplacementFile::Write(std::string_view text) {
  return Write(std::as_bytes(std::span(text.data(), text.size())));
}

WriteResult ReplacementFile::Commit() {
  if (fd_ < 0) return tl::unexpected(FileError{target_.string(), EBADF});
  if (::fsync(fd_) != 0) return tl::unexpected(Fail(errno));
  int error = ::close(std::exchange(fd_, -1)) == 0 ? 0 : errno;
  if (error == 0 && ::rename(temporary_.c_str(), target_.c_str()) != 0) error = errno;
  if (error == 0) return {};
  ::unlink(temporary_.c_str());
  return tl::unexpected(FileError{target_.string(), error});
}

}  // namespace pw::files
