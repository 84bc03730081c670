#include "platform/files/file_writing.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
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
    if (fd >= 0) return ReplacementFile(target, std::move(temporary), fd);
    if (errno != EEXIST) return tl::unexpected(FileError{target.string(), errno});
  }
  return tl::unexpected(FileError{target.string(), EEXIST});
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
