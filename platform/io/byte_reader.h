#pragma once
// A bounded little-endian reader over a byte range. Every read is checked
// against the range; a read past the end yields zero and marks the reader
// failed, so a parser can read a whole structure and test ok() once.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>

namespace pw::io {

class ByteReader {
 public:
  ByteReader() = default;
  explicit ByteReader(std::span<const std::byte> data) : data_(data) {}

  std::size_t size() const { return data_.size(); }
  std::size_t offset() const { return pos_; }
  std::size_t remaining() const { return pos_ <= data_.size() ? data_.size() - pos_ : 0; }
  bool ok() const { return ok_; }
  std::span<const std::byte> data() const { return data_; }

  // Moves to an absolute offset inside the range (the end is allowed).
  bool Seek(std::size_t offset) {
    if (offset > data_.size()) return Fail();
    pos_ = offset;
    return true;
  }
  bool Skip(std::size_t count) {
    if (count > remaining()) return Fail();
    pos_ += count;
    return true;
  }

  std::uint8_t U8() { return Read<std::uint8_t>(); }
  std::uint16_t U16() { return Read<std::uint16_t>(); }
  std::int16_t I16() { return static_cast<std::int16_t>(Read<std::uint16_t>()); }
  std::uint32_t U32() { return Read<std::uint32_t>(); }
  std::int32_t I32() { return static_cast<std::int32_t>(Read<std::uint32_t>()); }
  float F32() { return std::bit_cast<float>(Read<std::uint32_t>()); }

  // The next `count` bytes, or an empty span (and failure) if they are not there.
  std::span<const std::byte> Bytes(std::size_t count) {
    if (count > remaining()) {
      Fail();
      return {};
    }
    auto out = data_.subspan(pos_, count);
    pos_ += count;
    return out;
  }

  // A reader over [offset, offset + length) of this range; nothing if that
  // range does not lie inside. Does not move this reader.
  std::optional<ByteReader> Sub(std::size_t offset, std::size_t length) const {
    if (offset > data_.size() || length > data_.size() - offset) return std::nullopt;
    return ByteReader(data_.subspan(offset, length));
  }

  // Whether [offset, offset + length) lies inside the range.
  bool Contains(std::size_t offset, std::size_t length) const {
    return offset <= data_.size() && length <= data_.size() - offset;
  }

 private:
  bool Fail() {
    ok_ = false;
    pos_ = data_.size();
    return false;
  }

  template <typename T>
  T Read() {
    if (sizeof(T) > remaining()) {
      Fail();
      return T{};
    }
    unsigned char raw[sizeof(T)];
    std::memcpy(raw, data_.data() + pos_, sizeof(T));
    pos_ += sizeof(T);
    T value = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) value |= static_cast<T>(T{raw[i]} << (8 * i));
    return value;
  }

  std::span<const std::byte> data_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

}  // namespace pw::io
