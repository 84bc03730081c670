// Raster operations against their truth tables, bit by bit.
#include "platform/gdi/dc/raster_op.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <vector>

namespace pw::gdi {
namespace {

// One bit at a time, straight from the definition of the index.
std::uint32_t ByTruthTable(std::uint8_t index, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
  std::uint32_t out = 0;
  for (int bit = 0; bit < 32; ++bit) {
    const int row = ((p >> bit) & 1) << 2 | ((s >> bit) & 1) << 1 | ((d >> bit) & 1);
    out |= std::uint32_t((index >> row) & 1) << bit;
  }
  return out;
}

TEST(RasterOp, EveryIndexMatchesItsTruthTable) {
  std::mt19937 random(1234);
  // All 8 combinations appear in every bit position of these inputs.
  const std::uint32_t p = 0xF0F0F0F0, s = 0xCCCCCCCC, d = 0xAAAAAAAA;
  for (int index = 0; index < 256; ++index) {
    const auto i = static_cast<std::uint8_t>(index);
    EXPECT_EQ(ApplyRop3(i, p, s, d), ByTruthTable(i, p, s, d)) << "index " << index;
    EXPECT_EQ(ApplyRop3General(i, p, s, d), ByTruthTable(i, p, s, d)) << "index " << index;
    for (int trial = 0; trial < 16; ++trial) {
      const std::uint32_t rp = random(), rs = random(), rd = random();
      ASSERT_EQ(ApplyRop3(i, rp, rs, rd), ByTruthTable(i, rp, rs, rd)) << "index " << index;
    }
  }
}

TEST(RasterOp, NamedCodesCarryTheirIndices) {
  const std::uint32_t p = 0x00FF00FF, s = 0x0F0F0F0F, d = 0x33333333;
  EXPECT_EQ(ApplyRop3(RopIndex(Rop3::SrcCopy), p, s, d), s);
  EXPECT_EQ(ApplyRop3(RopIndex(Rop3::SrcPaint), p, s, d), s | d);
  EXPECT_EQ(ApplyRop3(RopIndex(Rop3::SrcAnd), p, s, d), s & d);
  EXPECT_EQ(ApplyRop3(RopIndex(Rop3::SrcInvert), p, s, d), s ^ d);
  EXPECT_EQ(ApplyRop3(RopIndex(Rop3::SrcErase), p, s, d), s & ~d);
  EXPECT_EQ(ApplyRop3(RopIndex(Rop3::NotSrcCopy), p, s, d), ~s);
  EXPECT_EQ(ApplyRop3(RopIndex(Rop3::NotSrcErase), p, s, d), ~(s | d));
  EXPECT_EQ(ApplyRop3(RopIndex(Rop3::MergeCopy), p, s, d), p & s);
  EXPECT_EQ(ApplyRop3(RopIndex(Rop3::MergePaint), p, s, d), ~s | d);
  EXPECT_EQ(ApplyRop3(RopIndex(Rop3::PatCopy), p, s, d), p);
  EXPECT_EQ(ApplyRop3(RopIndex(Rop3::PatPaint), p, s, d), p | ~s | d);
  EXPECT_EQ(ApplyRop3(RopIndex(Rop3::PatInvert), p, s, d), p ^ d);
  EXPECT_EQ(ApplyRop3(RopIndex(Rop3::DstInvert), p, s, d), ~d);
  EXPECT_EQ(ApplyRop3(RopIndex(Rop3::Blackness), p, s, d), 0u);
  EXPECT_EQ(ApplyRop3(RopIndex(Rop3::Whiteness), p, s, d), 0xFFFFFFFFu);
  EXPECT_EQ(ApplyRop3(RopIndex(Rop3::Pdspdxax), p, s, d), (s & d) | (~s & p));
  EXPECT_EQ(ApplyRop3(RopIndex(Rop3::Dspdxax), p, s, d), (s & p) | (~s & d));
}

TEST(RasterOp, OperandUseAndBinaryEquivalents) {
  EXPECT_TRUE(RopUsesSource(RopIndex(Rop3::SrcCopy)));
  EXPECT_FALSE(RopUsesPattern(RopIndex(Rop3::SrcCopy)));
  EXPECT_FALSE(RopUsesDest(RopIndex(Rop3::SrcCopy)));
  EXPECT_TRUE(RopUsesPattern(RopIndex(Rop3::Pdspdxax)));
  EXPECT_TRUE(RopUsesDest(RopIndex(Rop3::Pdspdxax)));
  EXPECT_FALSE(RopUsesSource(RopIndex(Rop3::PatInvert)));
  EXPECT_FALSE(RopUsesDest(RopIndex(Rop3::Blackness)));

  // R2_* codes: 1 black, 6 not, 7 xor pen, 11 no-op, 13 copy pen, 16 white.
  EXPECT_EQ(RopAsRop2(RopIndex(Rop3::Blackness)), 1);
  EXPECT_EQ(RopAsRop2(RopIndex(Rop3::DstInvert)), 6);
  EXPECT_EQ(RopAsRop2(RopIndex(Rop3::PatInvert)), 7);
  EXPECT_EQ(RopAsRop2(RopIndex(Rop3::NoOp)), 11);
  EXPECT_EQ(RopAsRop2(RopIndex(Rop3::PatCopy)), 13);
  EXPECT_EQ(RopAsRop2(RopIndex(Rop3::Whiteness)), 16);
  EXPECT_EQ(RopAsRop2(RopIndex(Rop3::SrcCopy)), 0);

  // Each source-free index agrees with its binary operation on (pen, dest).
  for (int index = 0; index < 256; ++index) {
    const auto i = static_cast<std::uint8_t>(index);
    const int rop2 = RopAsRop2(i);
    if (rop2 == 0) continue;
    for (int pd = 0; pd < 4; ++pd) {
      const std::uint32_t pen = (pd & 2) ? ~0u : 0u, dest = (pd & 1) ? ~0u : 0u;
      const bool expected = ((rop2 - 1) >> pd) & 1;
      EXPECT_EQ(ApplyRop3(i, pen, 0x5A5A5A5A, dest) != 0, expected) << "index " << index;
    }
  }
}

TEST(RasterOp, RowsMatchSinglePixelsAndStayOpaque) {
  std::mt19937 random(99);
  std::vector<std::uint32_t> p(37), s(37), d(37);
  for (auto* row : {&p, &s, &d})
    for (auto& v : *row) v = random();
  for (int index : {0x00, 0x11, 0x33, 0x44, 0x55, 0x5A, 0x66, 0x88, 0xAA, 0xB8, 0xBB, 0xC0, 0xCC,
                    0xE2, 0xEE, 0xF0, 0xFB, 0xFF, 0x1D, 0x96, 0x6B}) {
    const auto i = static_cast<std::uint8_t>(index);
    std::vector<std::uint32_t> out = d;
    ApplyRop3Row(i, p, s, out);
    for (std::size_t k = 0; k < out.size(); ++k)
      ASSERT_EQ(out[k], ApplyRop3(i, p[k], s[k], d[k]) | 0xFF000000u) << "index " << index;
  }
  // An operand the operation ignores may be left out.
  std::vector<std::uint32_t> out = d;
  ApplyRop3Row(RopIndex(Rop3::DstInvert), {}, {}, out);
  EXPECT_EQ(out[3], ~d[3] | 0xFF000000u);
}

}  // namespace
}  // namespace pw::gdi
