#include "render/supersample.h"

#include <algorithm>
#include <vector>

namespace pw::render {

namespace {

// floor(sum / divisor) by a multiply: exact for sum x divisor < 2^32, which
// holds for 400 samples of 255 and a divisor of at most 400.
struct Divider {
  explicit Divider(std::uint32_t divisor)
      : multiplier(((std::uint64_t{1} << 32) + divisor - 1) / divisor) {}
  std::uint8_t operator()(std::uint32_t sum) const {
    return static_cast<std::uint8_t>((sum * multiplier) >> 32);
  }
  std::uint64_t multiplier;
};

void CopyRow(const std::uint8_t* src, int columns, std::uint8_t* dst) {
  for (int x = 0; x < columns; ++x, src += 4, dst += 3) {
    dst[0] = src[0];
    dst[1] = src[1];
    dst[2] = src[2];
  }
}

// Adds one surface row's f-pixel groups to the running channel sums.
void AccumulateRow(const std::uint8_t* src, int columns, int factor, std::uint32_t* sums) {
  for (int x = 0; x < columns; ++x, sums += 3) {
    std::uint32_t b = 0, g = 0, r = 0;
    for (int i = 0; i < factor; ++i, src += 4) {
      b += src[0];
      g += src[1];
      r += src[2];
    }
    sums[0] += b;
    sums[1] += g;
    sums[2] += r;
  }
}

}  // namespace

bool AverageBlocks(const SurfaceRows& surface, int factor, int columns, int out_rows,
                   std::span<std::uint8_t> out) {
  if (factor < 1 || columns < 0 || out_rows < 0) return false;
  const auto cols = static_cast<std::size_t>(columns);
  const auto rows = static_cast<std::size_t>(out_rows);
  const auto f = static_cast<std::size_t>(factor);
  if (cols * f > static_cast<std::size_t>(surface.width) ||
      rows * f > static_cast<std::size_t>(surface.height) || surface.stride < cols * f * 4 ||
      out.size() < rows * cols * 3)
    return false;
  if (rows > 0 && surface.bytes.size() < (rows * f - 1) * surface.stride + cols * f * 4)
    return false;

  const std::uint8_t* base = surface.bytes.data();
  std::uint8_t* dst = out.data();
  if (factor == 1) {
    for (std::size_t y = 0; y < rows; ++y, dst += cols * 3)
      CopyRow(base + y * surface.stride, columns, dst);
    return true;
  }

  const Divider divide(static_cast<std::uint32_t>(f * f));
  std::vector<std::uint32_t> sums(cols * 3);
  for (std::size_t y = 0; y < rows; ++y) {
    std::fill(sums.begin(), sums.end(), 0u);
    for (std::size_t sy = 0; sy < f; ++sy)
      AccumulateRow(base + (y * f + sy) * surface.stride, columns, factor, sums.data());
    for (std::size_t i = 0; i < cols * 3; ++i) *dst++ = divide(sums[i]);
  }
  return true;
}

}  // namespace pw::render
