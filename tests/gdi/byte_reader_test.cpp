#include "platform/io/byte_reader.h"

#include <array>

#include <gtest/gtest.h>

namespace pw::io {
namespace {

std::array<std::byte, 10> Bytes() {
  return {std::byte{0x01}, std::byte{0x02}, std::byte{0x03}, std::byte{0x04}, std::byte{0x00},
          std::byte{0x00}, std::byte{0x80}, std::byte{0x3F}, std::byte{0xFF}, std::byte{0xFF}};
}

TEST(ByteReader, ReadsLittleEndianValues) {
  const auto data = Bytes();
  ByteReader r(data);
  EXPECT_EQ(r.U32(), 0x04030201u);
  EXPECT_EQ(r.F32(), 1.0f);
  EXPECT_EQ(r.I16(), -1);
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(r.remaining(), 0u);
}

TEST(ByteReader, ReadPastTheEndFailsAndStaysFailed) {
  const auto data = Bytes();
  ByteReader r(data);
  r.Skip(8);
  EXPECT_EQ(r.U32(), 0u);  // only two bytes left
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.U8(), 0u);   // nothing more is read once failed
  EXPECT_FALSE(r.ok());
}

TEST(ByteReader, SubRangesMustLieInside) {
  const auto data = Bytes();
  const ByteReader r(data);
  auto sub = r.Sub(4, 4);
  ASSERT_TRUE(sub);
  EXPECT_EQ(sub->F32(), 1.0f);
  EXPECT_FALSE(r.Sub(8, 3));
  EXPECT_FALSE(r.Sub(11, 0));
  EXPECT_FALSE(r.Sub(2, SIZE_MAX));  // no wrap-around of offset + length
  EXPECT_TRUE(r.Contains(10, 0));
  EXPECT_FALSE(r.Contains(9, 2));
}

TEST(ByteReader, BytesAndSeekAreBounded) {
  const auto data = Bytes();
  ByteReader r(data);
  EXPECT_EQ(r.Bytes(3).size(), 3u);
  EXPECT_TRUE(r.Seek(10));
  EXPECT_TRUE(r.ok());
  EXPECT_TRUE(r.Bytes(1).empty());
  EXPECT_FALSE(r.ok());
  ByteReader s(data);
  EXPECT_FALSE(s.Seek(11));
  EXPECT_FALSE(s.ok());
}

}  // namespace
}  // namespace pw::io
