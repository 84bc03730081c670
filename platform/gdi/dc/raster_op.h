#pragma once
// Ternary raster operations (ROP3): how a blit combines the brush pattern P,
// the source S and the destination D, bit by bit. The operation index (bits
// 16 to 23 of a ROP code) is a truth table: bit (P·4 + S·2 + D) of the index
// is the result for those three input bits.
#include <cstdint>
#include <span>

#include "platform/gdi/emf/gdi_enums.h"

namespace pw::gdi {

constexpr std::uint8_t RopIndex(std::uint32_t rop) { return static_cast<std::uint8_t>(rop >> 16); }
constexpr std::uint8_t RopIndex(Rop3 rop) { return RopIndex(static_cast<std::uint32_t>(rop)); }

// Whether the result depends on the source, the pattern, the destination.
constexpr bool RopUsesSource(std::uint8_t index) { return ((index >> 2) & 0x33) != (index & 0x33); }
constexpr bool RopUsesPattern(std::uint8_t index) { return ((index >> 4) & 0x0F) != (index & 0x0F); }
constexpr bool RopUsesDest(std::uint8_t index) { return ((index >> 1) & 0x55) != (index & 0x55); }

// The binary raster operation (R2_* code, 1 to 16) a source-free index
// amounts to with the pattern as the pen; 0 when the index uses the source.
constexpr int RopAsRop2(std::uint8_t index) {
  if (RopUsesSource(index)) return 0;
  const int table = ((index >> 0) & 1) | ((index >> 1) & 1) << 1 | ((index >> 4) & 1) << 2 |
                    ((index >> 5) & 1) << 3;
  return table + 1;
}

// The operation evaluated from its truth table, on all 32 bits at once.
constexpr std::uint32_t ApplyRop3General(std::uint8_t index, std::uint32_t p, std::uint32_t s,
                                         std::uint32_t d) {
  std::uint32_t result = 0;
  for (int minterm = 0; minterm < 8; ++minterm) {
    if (!((index >> minterm) & 1)) continue;
    result |= ((minterm & 4) ? p : ~p) & ((minterm & 2) ? s : ~s) & ((minterm & 1) ? d : ~d);
  }
  return result;
}

// The same result, with the common operations computed directly.
std::uint32_t ApplyRop3(std::uint8_t index, std::uint32_t p, std::uint32_t s, std::uint32_t d);

// Applies an operation along a row of 32-bit RGB pixels: dst[i] = op(pattern[i],
// source[i], dst[i]). An input the operation does not use may be empty. The
// fourth byte of every result is set to 0xFF, as a Format_RGB32 surface keeps it.
void ApplyRop3Row(std::uint8_t index, std::span<const std::uint32_t> pattern,
                  std::span<const std::uint32_t> source, std::span<std::uint32_t> dst);

}  // namespace pw::gdi
