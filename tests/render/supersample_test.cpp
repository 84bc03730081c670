#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "render/supersample.h"

namespace pw::render {
namespace {

struct TestSurface {
  TestSurface(int w, int h) : width(w), height(h), bytes(static_cast<std::size_t>(w) * h * 4) {}
  std::uint8_t* Pixel(int x, int y) { return &bytes[(static_cast<std::size_t>(y) * width + x) * 4]; }
  SurfaceRows Rows() {
    return SurfaceRows{bytes, static_cast<std::size_t>(width) * 4, width, height};
  }
  int width, height;
  std::vector<std::uint8_t> bytes;
};

using Pixels = std::vector<MagickCore::PixelPacket>;

// Blue, green, red of every pixel as bytes; a pixel whose quantum is not a
// scaled byte or whose opacity is not 0 shows as 1000.
std::vector<int> Bytes(const Pixels& pixels) {
  std::vector<int> bytes;
  for (const MagickCore::PixelPacket& p : pixels)
    for (MagickCore::Quantum q : {p.blue, p.green, p.red})
      bytes.push_back(p.opacity == 0 && ByteToQuantum(QuantumToByte(q)) == q ? QuantumToByte(q) : 1000);
  return bytes;
}

TEST(Supersample, EightBlackAndOneWhiteSampleTruncateTo28) {
  TestSurface s(3, 3);
  std::fill(s.bytes.begin(), s.bytes.end(), 0);
  std::uint8_t* white = s.Pixel(2, 1);
  white[0] = white[1] = white[2] = 255;
  Pixels out(1);
  ASSERT_TRUE(AverageBlocks(s.Rows(), 3, 1, 1, out));
  EXPECT_EQ(Bytes(out), (std::vector<int>{28, 28, 28}));
}

TEST(Supersample, FactorOneCopiesBlueGreenRedAndDropsTheFourthByte) {
  TestSurface s(2, 2);
  for (std::size_t i = 0; i < s.bytes.size(); ++i) s.bytes[i] = static_cast<std::uint8_t>(i * 7 + 1);
  Pixels out(2 * 2);
  ASSERT_TRUE(AverageBlocks(s.Rows(), 1, 2, 2, out));
  const std::vector<int> expected{1, 8, 15, 29, 36, 43, 57, 64, 71, 85, 92, 99};
  EXPECT_EQ(Bytes(out), expected);
}

// With a refill, the means are still those of the drawing, and then the
// blocks' pixels, and only they, hold the refill.
void ExpectRefilledLikeUnrefilled(TestSurface s, int f, int cols, int rows, const Pixels& unrefilled) {
  const TestSurface before = s;
  constexpr std::uint32_t kPixel = 0xFF12AB34;
  Pixels out(unrefilled.size());
  ASSERT_TRUE(AverageBlocks(s.Rows(), f, cols, rows, out, kPixel)) << f;
  EXPECT_EQ(Bytes(out), Bytes(unrefilled)) << "factor " << f;
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x) {
      const bool covered = x < cols * f && y < rows * f;
      const std::size_t at = (static_cast<std::size_t>(y) * s.width + x) * 4;
      std::uint32_t pixel = 0, was = 0;
      std::memcpy(&pixel, &s.bytes[at], 4);
      std::memcpy(&was, &before.bytes[at], 4);
      ASSERT_EQ(pixel, covered ? kPixel : was) << "factor " << f << " at " << x << "," << y;
    }
}

TEST(Supersample, EveryFactorMatchesTheNaiveMeanWithOrWithoutARefill) {
  std::mt19937 random(7);
  // 37 columns: rows of sums that are not whole runs of vector additions.
  for (int f = 1; f <= 20; ++f) {
    const int cols = 37, rows = 3;
    TestSurface s(cols * f + 3, rows * f + 1);  // wider and taller than needed
    for (auto& b : s.bytes) b = static_cast<std::uint8_t>(random() % 256);
    Pixels out(cols * rows);
    ASSERT_TRUE(AverageBlocks(s.Rows(), f, cols, rows, out)) << f;
    const std::vector<int> bytes = Bytes(out);
    for (int y = 0; y < rows; ++y)
      for (int x = 0; x < cols; ++x)
        for (int c = 0; c < 3; ++c) {
          unsigned sum = 0;
          for (int sy = 0; sy < f; ++sy)
            for (int sx = 0; sx < f; ++sx) sum += s.Pixel(x * f + sx, y * f + sy)[c];
          ASSERT_EQ(bytes[(y * cols + x) * 3 + c], static_cast<int>(sum / (f * f)))
              << "factor " << f << " at " << x << "," << y << " channel " << c;
        }
    ExpectRefilledLikeUnrefilled(s, f, cols, rows, out);
  }
}

TEST(Supersample, SaturatedBlocksStaySaturatedAtEveryFactor) {
  // The largest sums: a carry between channels would show here.
  for (int f = 2; f <= 20; ++f) {
    TestSurface s(2 * f, f);
    std::fill(s.bytes.begin(), s.bytes.end(), 255);
    Pixels out(2);
    ASSERT_TRUE(AverageBlocks(s.Rows(), f, 2, 1, out));
    EXPECT_EQ(Bytes(out), std::vector<int>(6, 255)) << "factor " << f;
  }
}

TEST(Supersample, RefusesSurfacesOrOutputsTooSmall) {
  TestSurface s(6, 6);
  Pixels out(100, MagickCore::PixelPacket{9, 9, 9, 9});
  EXPECT_FALSE(AverageBlocks(s.Rows(), 3, 3, 2, out));  // needs 9 columns
  EXPECT_FALSE(AverageBlocks(s.Rows(), 3, 2, 3, out));  // needs 9 rows
  Pixels tiny(3);
  EXPECT_FALSE(AverageBlocks(s.Rows(), 3, 2, 2, tiny));  // needs 4 pixels
  SurfaceRows cut = s.Rows();
  cut.bytes = cut.bytes.first(cut.bytes.size() - 4);  // claims more rows than bytes
  EXPECT_FALSE(AverageBlocks(cut, 1, 6, 6, out));
  EXPECT_EQ(out[0].blue, 9);
}

}  // namespace
}  // namespace pw::render
