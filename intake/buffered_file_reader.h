#pragma once
// Sequential reads of a file through a 2048-byte buffer. Skipping uses what
// is left in the buffer and then moves the file position, so skipped bytes
// are never read.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace pw::intake {

class BufferedFileReader {
 public:
  static constexpr std::size_t kBufferSize = 2048;

  BufferedFileReader() = default;
  BufferedFileReader(const BufferedFileReader&) = delete;
  BufferedFileReader& operator=(const BufferedFileReader&) = delete;
  ~BufferedFileReader();

  // False when the file does not open; a reader may be opened once.
  bool Open(const std::string& path);

  // Fills `out` as far as the file allows; returns the bytes read. A read
  // that finds no more bytes sets the end-of-file flag; once it is set,
  // nothing more is read.
  std::size_t Read(std::span<std::byte> out);

  // Moves `count` bytes forward; a skip past the end sets the flag.
  void Skip(std::uint64_t count);

  bool AtEnd() const { return at_end_; }

  // Bytes between the read position and the end of the file as it was
  // when opened.
  std::uint64_t Remaining() const;

 private:
  bool Refill();

  int fd_ = -1;
  std::uint64_t file_size_ = 0;
  std::uint64_t position_ = 0;  // logical position of the next byte handed out
  std::byte buffer_[kBufferSize];
  std::size_t buffered_ = 0;
  std::size_t consumed_ = 0;
  bool at_end_ = false;
};

}  // namespace pw::intake
