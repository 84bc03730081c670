#include "render/supersample.h"

#include <bit>
#include <cstring>
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

// Column sums of f surface rows, all four bytes of every pixel: a plain
// loop over bytes that the compiler turns into vector additions. 20 rows of
// 255 fit 16 bits.
void SumRows(const std::uint8_t* __restrict src, std::size_t stride, std::size_t bytes,
             std::size_t rows, std::uint16_t* __restrict sums) {
  for (std::size_t i = 0; i < bytes; ++i) sums[i] = src[i];
  for (std::size_t r = 1; r < rows; ++r) {
    const std::uint8_t* __restrict row = src + r * stride;
    for (std::size_t i = 0; i < bytes; ++i) sums[i] = static_cast<std::uint16_t>(sums[i] + row[i]);
  }
}

// A pixel's four column sums are four 16-bit lanes of one 64-bit word, so
// the sums of f pixels add up lane by lane in f additions. No lane carries
// into the next while f x f x 255 stays below 65536.
constexpr std::size_t kMaxLaneFactor = 15;
static_assert(kMaxLaneFactor * kMaxLaneFactor * 255 < 65536);
static_assert(std::endian::native == std::endian::little, "lane 0 is the low 16 bits");

std::uint64_t SumLanes(const std::uint16_t* sums, std::size_t pixels) {
  std::uint64_t total = 0;
  for (std::size_t i = 0; i < pixels; ++i) {
    std::uint64_t word;
    std::memcpy(&word, sums + 4 * i, sizeof word);
    total += word;
  }
  return total;
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
  const std::size_t row_bytes = cols * f * 4;
  std::vector<std::uint16_t> sums(row_bytes);
  for (std::size_t y = 0; y < rows; ++y) {
    SumRows(base + y * f * surface.stride, surface.stride, row_bytes, f, sums.data());
    const std::uint16_t* s = sums.data();
    if (f <= kMaxLaneFactor) {
      for (std::size_t x = 0; x < cols; ++x) {
        const std::uint64_t block = SumLanes(s, f);
        s += 4 * f;
        *dst++ = divide(static_cast<std::uint32_t>(block & 0xFFFF));
        *dst++ = divide(static_cast<std::uint32_t>((block >> 16) & 0xFFFF));
        *dst++ = divide(static_cast<std::uint32_t>((block >> 32) & 0xFFFF));
      }
      continue;
    }
    for (std::size_t x = 0; x < cols; ++x) {
      std::uint32_t b = 0, g = 0, r = 0;
      for (std::size_t i = 0; i < f; ++i, s += 4) {
        b += s[0];
        g += s[1];
        r += s[2];
      }
      *dst++ = divide(b);
      *dst++ = divide(g);
      *dst++ = divide(r);
    }
  }
  return true;
}

}  // namespace pw::render
