#pragma once
// ANSI text of the 8-bit text records, decoded in the code page of the
// font's character set as GDI decodes it.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace pw::gdi {

struct DecodedText {
  std::u16string text;
  // For each code unit of `text`, how many bytes of the input it came from
  // (double-byte code pages take two bytes per character; their dx entries
  // are per byte).
  std::vector<std::uint8_t> bytes_per_unit;
};

// The Windows code page of a character set (1252 for ANSI and DEFAULT).
int CodePageOfCharset(std::uint8_t charset);

// Decodes `bytes` in the code page of `charset`. Symbol fonts take the bytes
// as they are (U+0000..U+00FF); bytes a code page cannot decode become
// U+FFFD, one per byte.
DecodedText DecodeAnsi(std::span<const std::uint8_t> bytes, std::uint8_t charset);

}  // namespace pw::gdi
