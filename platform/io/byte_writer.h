#pragma once
// The little-endian writer that matches ByteReader: appends integers,
// floats and bytes to a growing buffer, and fills in a field whose value is
// known only later (a size, an offset).
#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace pw::io {

class ByteWriter {
 public:
  ByteWriter() = default;
  explicit ByteWriter(std::vector<std::byte> start) : bytes_(std::move(start)) {}

  std::size_t size() const { return bytes_.size(); }
  const std::vector<std::byte>& bytes() const { return bytes_; }
  std::vector<std::byte> Take() { return std::move(bytes_); }

  ByteWriter& U8(std::uint8_t v) { return Put(v); }
  ByteWriter& U16(std::uint16_t v) { return Put(v); }
  ByteWriter& I16(std::int16_t v) { return Put(static_cast<std::uint16_t>(v)); }
  ByteWriter& U32(std::uint32_t v) { return Put(v); }
  ByteWriter& I32(std::int32_t v) { return Put(static_cast<std::uint32_t>(v)); }
  ByteWriter& U64(std::uint64_t v) { return Put(v); }
  ByteWriter& F32(float v) { return Put(std::bit_cast<std::uint32_t>(v)); }

  ByteWriter& Bytes(std::span<const std::byte> bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
  }
  ByteWriter& Zeros(std::size_t count) {
    bytes_.insert(bytes_.end(), count, std::byte{0});
    return *this;
  }
  // Zero bytes up to the next multiple of `alignment`.
  ByteWriter& Align(std::size_t alignment) { return Zeros((alignment - bytes_.size() % alignment) % alignment); }

  // Overwrites four bytes already written at `offset`; false, and nothing
  // changed, when they do not lie inside what was written.
  bool SetU32(std::size_t offset, std::uint32_t v) {
    if (offset > bytes_.size() || bytes_.size() - offset < sizeof v) return false;
    for (std::size_t i = 0; i < sizeof v; ++i) bytes_[offset + i] = static_cast<std::byte>(v >> (8 * i));
    return true;
  }

 private:
  template <typename T>
  ByteWriter& Put(T v) {
    for (std::size_t i = 0; i < sizeof(T); ++i) bytes_.push_back(static_cast<std::byte>(v >> (8 * i)));
    return *this;
  }

  std::vector<std::byte> bytes_;
};

}  // namespace pw::io
