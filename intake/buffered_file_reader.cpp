#include "intake/buffered_file_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace pw::intake {

BufferedFileReader::~BufferedFileReader() {
  if (fd_ >= 0) ::close(fd_);
}

bool BufferedFileReader::Open(const std::string& path) {
  if (fd_ >= 0) return false;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  file_size_ = static_cast<std::uint64_t>(info.st_size);
  return true;
}

bool BufferedFileReader::Refill() {
  buffered_ = consumed_ = 0;
  if (fd_ < 0) return false;
  ssize_t n;
  do {
    n = ::read(fd_, buffer_, kBufferSize);
  } while (n < 0 && errno == EINTR);
  if (n <= 0) {
    at_end_ = true;
    return false;
  }
  buffered_ = static_cast<std::size_t>(n);
  return true;
}

std::size_t BufferedFileReader::Read(std::span<std::byte> out) {
  // Once at the end, reads stay empty: a skip past the end does not move
  // the file position, and the bytes there are not the ones skipped to.
  if (at_end_) return 0;
  std::size_t done = 0;
  while (done < out.size()) {
    if (consumed_ == buffered_ && !Refill()) break;
    const std::size_t take = std::min(out.size() - done, buffered_ - consumed_);
    std::memcpy(out.data() + done, buffer_ + consumed_, take);
    consumed_ += take;
    done += take;
  }
  position_ += done;
  return done;
}

void BufferedFileReader::Skip(std::uint64_t count) {
  const std::uint64_t in_buffer = std::min<std::uint64_t>(count, buffered_ - consumed_);
  consumed_ += static_cast<std::size_t>(in_buffer);
  position_ += in_buffer;
  const std::uint64_t rest = count - in_buffer;
  if (rest == 0) return;
  if (fd_ < 0 || rest > file_size_ - std::min(position_, file_size_)) {
    // Past the end: nothing more can be read.
    position_ = file_size_;
    at_end_ = true;
    buffered_ = consumed_ = 0;
    return;
  }
  position_ += rest;
  ::lseek(fd_, static_cast<off_t>(position_), SEEK_SET);
}

std::uint64_t BufferedFileReader::Remaining() const {
  return position_ >= file_size_ ? 0 : file_size_ - position_;
}

}  // namespace pw::intake
