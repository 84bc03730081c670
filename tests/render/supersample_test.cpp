#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "render/supersample.h"

namespace pw::render {
namespace {

struct TestSurface {
  TestSurface(int w, int h) : width(w), height(h), bytes(static_cast<std::size_t>(w) * h * 4) {}
  std::uint8_t* Pixel(int x, int y) { return &bytes[(static_cast<std::size_t>(y) * width + x) * 4]; }
  SurfaceRows Rows() const {
    return SurfaceRows{bytes, static_cast<std::size_t>(width) * 4, width, height};
  }
  int width, height;
  std::vector<std::uint8_t> bytes;
};

TEST(Supersample, EightBlackAndOneWhiteSampleTruncateTo28) {
  TestSurface s(3, 3);
  std::fill(s.bytes.begin(), s.bytes.end(), 0);
  std::uint8_t* white = s.Pixel(2, 1);
  white[0] = white[1] = white[2] = 255;
  std::vector<std::uint8_t> out(3);
  ASSERT_TRUE(AverageBlocks(s.Rows(), 3, 1, 1, out));
  EXPECT_EQ(out, (std::vector<std::uint8_t>{28, 28, 28}));
}

TEST(Supersample, FactorOneCopiesBlueGreenRedAndDropsTheFourthByte) {
  TestSurface s(2, 2);
  for (std::size_t i = 0; i < s.bytes.size(); ++i) s.bytes[i] = static_cast<std::uint8_t>(i * 7 + 1);
  std::vector<std::uint8_t> out(2 * 2 * 3);
  ASSERT_TRUE(AverageBlocks(s.Rows(), 1, 2, 2, out));
  const std::vector<std::uint8_t> expected{1, 8, 15, 29, 36, 43, 57, 64, 71, 85, 92, 99};
  EXPECT_EQ(out, expected);
}

TEST(Supersample, EveryFactorMatchesTheNaiveMean) {
  std::mt19937 random(7);
  for (int f = 2; f <= 20; ++f) {
    const int cols = 5, rows = 3;
    TestSurface s(cols * f + 3, rows * f + 1);  // wider and taller than needed
    for (auto& b : s.bytes) b = static_cast<std::uint8_t>(random() % 256);
    std::vector<std::uint8_t> out(cols * rows * 3);
    ASSERT_TRUE(AverageBlocks(s.Rows(), f, cols, rows, out)) << f;
    for (int y = 0; y < rows; ++y)
      for (int x = 0; x < cols; ++x)
        for (int c = 0; c < 3; ++c) {
          unsigned sum = 0;
          for (int sy = 0; sy < f; ++sy)
            for (int sx = 0; sx < f; ++sx) sum += s.Pixel(x * f + sx, y * f + sy)[c];
          ASSERT_EQ(out[(y * cols + x) * 3 + c], sum / (f * f))
              << "factor " << f << " at " << x << "," << y << " channel " << c;
        }
  }
}

TEST(Supersample, SaturatedBlocksStaySaturatedAtEveryFactor) {
  // The largest sums: a carry between channels would show here.
  for (int f = 2; f <= 20; ++f) {
    TestSurface s(2 * f, f);
    std::fill(s.bytes.begin(), s.bytes.end(), 255);
    std::vector<std::uint8_t> out(2 * 3);
    ASSERT_TRUE(AverageBlocks(s.Rows(), f, 2, 1, out));
    EXPECT_EQ(out, std::vector<std::uint8_t>(6, 255)) << "factor " << f;
  }
}

TEST(Supersample, RefusesSurfacesOrOutputsTooSmall) {
  TestSurface s(6, 6);
  std::vector<std::uint8_t> out(100, 9);
  EXPECT_FALSE(AverageBlocks(s.Rows(), 3, 3, 2, out));  // needs 9 columns
  EXPECT_FALSE(AverageBlocks(s.Rows(), 3, 2, 3, out));  // needs 9 rows
  std::vector<std::uint8_t> tiny(5);
  EXPECT_FALSE(AverageBlocks(s.Rows(), 3, 2, 2, tiny));  // needs 12 bytes
  SurfaceRows cut = s.Rows();
  cut.bytes = cut.bytes.first(cut.bytes.size() - 4);  // claims more rows than bytes
  EXPECT_FALSE(AverageBlocks(cut, 1, 6, 6, out));
  EXPECT_EQ(out[0], 9);
}

}  // namespace
}  // namespace pw::render
