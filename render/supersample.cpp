#include "render/supersample.h"

#include <bit>
#include <cstddef>
#include <cstring>
#include <vector>

// The loader picks a clone for the processor before any sanitizer's
// runtime has started; ThreadSanitizer's hooks in the picker would crash
// there, so its builds have the plain version only.
#if defined(__SANITIZE_THREAD__)
#define PW_VECTOR_CLONES
#else
#define PW_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#endif

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

void Store(MagickCore::PixelPacket& pixel, std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
  pixel.blue = ByteToQuantum(blue);
  pixel.green = ByteToQuantum(green);
  pixel.red = ByteToQuantum(red);
  pixel.opacity = 0;
}

void CopyRow(const std::uint8_t* src, std::size_t columns, MagickCore::PixelPacket* dst) {
  for (std::size_t x = 0; x < columns; ++x, src += 4) Store(dst[x], src[0], src[1], src[2]);
}

// Column sums of f surface rows, all four bytes of every pixel, a run of
// N bytes at a time: the run's sums stay in vector registers while the f
// rows are added, and go to memory once. 20 rows of 255 fit 16 bits.
template <std::size_t N>
void SumRun(const std::uint8_t* __restrict src, std::size_t stride, std::size_t rows,
            std::uint16_t* __restrict sums) {
  std::uint16_t run[N];
  for (std::size_t j = 0; j < N; ++j) run[j] = src[j];
  for (std::size_t r = 1; r < rows; ++r) {
    const std::uint8_t* __restrict row = src + r * stride;
    for (std::size_t j = 0; j < N; ++j) run[j] = static_cast<std::uint16_t>(run[j] + row[j]);
  }
  for (std::size_t j = 0; j < N; ++j) sums[j] = run[j];
}

// A wider vector unit doubles the bytes added per instruction; the
// processor's own is chosen when the program loads.
PW_VECTOR_CLONES
void SumRows(const std::uint8_t* src, std::size_t stride, std::size_t bytes, std::size_t rows,
             std::uint16_t* sums) {
  constexpr std::size_t kRun = 64;
  std::size_t i = 0;
  for (; i + kRun <= bytes; i += kRun) SumRun<kRun>(src + i, stride, rows, sums + i);
  for (; i < bytes; i += 4) SumRun<4>(src + i, stride, rows, sums + i);  // whole pixels
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

// The image's pixel as one 64-bit word: blue, green, red and opacity in
// 16-bit lanes, lowest first.
static_assert(sizeof(MagickCore::PixelPacket) == 8 && offsetof(MagickCore::PixelPacket, blue) == 0 &&
              offsetof(MagickCore::PixelPacket, green) == 2 && offsetof(MagickCore::PixelPacket, red) == 4 &&
              offsetof(MagickCore::PixelPacket, opacity) == 6);
static_assert(kQuantumMax == 65535, "a byte times 257 fills a lane without carrying");

// Divides the lanes of each block's sums and stores them as pixels: one
// multiply scales all three bytes to the quantum at once, and a loop of
// whole words over the row runs in vector registers.
PW_VECTOR_CLONES
void StoreMeans(std::span<const std::uint64_t> blocks, Divider divide, MagickCore::PixelPacket* dst) {
  // A divisor of at least 4 keeps the multiplier within 32 bits, and a
  // 32 x 32-bit multiply is one the vector unit has.
  const auto multiplier = static_cast<std::uint32_t>(divide.multiplier);
  const auto mean = [multiplier](std::uint64_t lanes, int lane) {
    return (std::uint64_t{static_cast<std::uint32_t>((lanes >> (16 * lane)) & 0xFFFF)} * multiplier) >> 32;
  };
  for (std::size_t x = 0; x < blocks.size(); ++x) {
    const std::uint64_t w = blocks[x];
    const std::uint64_t pixel = (mean(w, 0) | mean(w, 1) << 16 | mean(w, 2) << 32) * (kQuantumMax / 255);
    std::memcpy(dst + x, &pixel, sizeof pixel);
  }
}

// Sets `columns` pixels of each of `rows` surface rows to `pixel`; rows
// without padding between them are one run.
PW_VECTOR_CLONES
void Refill(std::uint8_t* first, std::size_t stride, std::size_t rows, std::size_t columns, std::uint32_t pixel) {
  const bool packed = stride == columns * 4;
  const std::size_t runs = packed ? 1 : rows, run = packed ? rows * columns : columns;
  for (std::size_t r = 0; r < runs; ++r) {
    std::uint8_t* at = first + r * stride;
    for (std::size_t x = 0; x < run; ++x) std::memcpy(at + 4 * x, &pixel, sizeof pixel);
  }
}

}  // namespace

bool AverageBlocks(const SurfaceRows& surface, int factor, int columns, int out_rows,
                   std::span<MagickCore::PixelPacket> out, std::optional<std::uint32_t> refill) {
  if (factor < 1 || columns < 0 || out_rows < 0) return false;
  const auto cols = static_cast<std::size_t>(columns);
  const auto rows = static_cast<std::size_t>(out_rows);
  const auto f = static_cast<std::size_t>(factor);
  if (cols * f > static_cast<std::size_t>(surface.width) ||
      rows * f > static_cast<std::size_t>(surface.height) || surface.stride < cols * f * 4 ||
      out.size() < rows * cols)
    return false;
  if (rows > 0 && surface.bytes.size() < (rows * f - 1) * surface.stride + cols * f * 4)
    return false;

  std::uint8_t* const base = surface.bytes.data();
  MagickCore::PixelPacket* dst = out.data();
  const auto refill_rows = [&](std::size_t first_row, std::size_t count) {
    if (refill) Refill(base + first_row * surface.stride, surface.stride, count, cols * f, *refill);
  };
  if (factor == 1) {
    for (std::size_t y = 0; y < rows; ++y, dst += cols) {
      CopyRow(base + y * surface.stride, cols, dst);
      refill_rows(y, 1);
    }
    return true;
  }

  const Divider divide(static_cast<std::uint32_t>(f * f));
  const std::size_t row_bytes = cols * f * 4;
  std::vector<std::uint16_t> sums(row_bytes);
  std::vector<std::uint64_t> blocks(f <= kMaxLaneFactor ? cols : 0);
  for (std::size_t y = 0; y < rows; ++y) {
    SumRows(base + y * f * surface.stride, surface.stride, row_bytes, f, sums.data());
    refill_rows(y * f, f);
    const std::uint16_t* s = sums.data();
    if (f <= kMaxLaneFactor) {
      for (std::size_t x = 0; x < cols; ++x, s += 4 * f) blocks[x] = SumLanes(s, f);
      StoreMeans(blocks, divide, dst);
      dst += cols;
      continue;
    }
    for (std::size_t x = 0; x < cols; ++x) {
      std::uint32_t b = 0, g = 0, r = 0;
      for (std::size_t i = 0; i < f; ++i, s += 4) {
        b += s[0];
        g += s[1];
        r += s[2];
      }
      Store(*dst++, divide(b), divide(g), divide(r));
    }
  }
  return true;
}

}  // namespace pw::render
