#pragma once
// 8-bit channel values in and out of the image library's quantum, which is
// 16 bits wide in the Debian build. The scaling is the library's own
// (value x 257 in, rounded division out), so every 8-bit value survives the
// round trip unchanged.
#include <Magick++.h>

#include <cstdint>

namespace pw::render {

inline constexpr std::uint64_t kQuantumMax = (std::uint64_t{1} << MAGICKCORE_QUANTUM_DEPTH) - 1;
static_assert(kQuantumMax % 255 == 0);

inline MagickCore::Quantum ByteToQuantum(std::uint8_t value) {
  return static_cast<MagickCore::Quantum>(value * (kQuantumMax / 255));
}

inline std::uint8_t QuantumToByte(MagickCore::Quantum value) {
  return MagickCore::ScaleQuantumToChar(value);
}

}  // namespace pw::render
