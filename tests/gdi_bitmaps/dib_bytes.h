#pragma once
// Builds BITMAPINFO blocks and pixel bits byte by byte for the bitmap tests.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace pw::test {

using Bytes = std::vector<std::byte>;

inline void PutU8(Bytes& out, unsigned v) { out.push_back(static_cast<std::byte>(v & 0xFF)); }
inline void PutU16(Bytes& out, unsigned v) {
  PutU8(out, v);
  PutU8(out, v >> 8);
}
inline void PutU32(Bytes& out, std::uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}
inline void PutI32(Bytes& out, std::int32_t v) { PutU32(out, static_cast<std::uint32_t>(v)); }

inline Bytes Raw(std::initializer_list<unsigned> values) {
  Bytes out;
  for (unsigned v : values) PutU8(out, v);
  return out;
}

// A 40-byte BITMAPINFOHEADER.
inline Bytes InfoHeader(std::int32_t width, std::int32_t height, unsigned bit_count,
                        std::uint32_t compression = 0, std::uint32_t clr_used = 0,
                        std::uint32_t size_image = 0) {
  Bytes out;
  PutU32(out, 40);
  PutI32(out, width);
  PutI32(out, height);
  PutU16(out, 1);
  PutU16(out, bit_count);
  PutU32(out, compression);
  PutU32(out, size_image);
  PutI32(out, 3780);
  PutI32(out, 3780);
  PutU32(out, clr_used);
  PutU32(out, 0);
  return out;
}

// Appends RGBQUAD entries given as 0xRRGGBB.
inline void PutQuads(Bytes& out, std::initializer_list<std::uint32_t> rgbs) {
  for (std::uint32_t rgb : rgbs) {
    PutU8(out, rgb);        // blue
    PutU8(out, rgb >> 8);   // green
    PutU8(out, rgb >> 16);  // red
    PutU8(out, 0);
  }
}

inline Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace pw::test
