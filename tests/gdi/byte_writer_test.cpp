#include "platform/io/byte_writer.h"

#include <gtest/gtest.h>

#include "platform/io/byte_reader.h"

namespace pw::io {
namespace {

std::vector<std::byte> Of(std::initializer_list<int> values) {
  std::vector<std::byte> out;
  for (int v : values) out.push_back(static_cast<std::byte>(v));
  return out;
}

TEST(ByteWriter, WritesLittleEndianValuesThatTheReaderReadsBack) {
  ByteWriter w;
  w.U8(0xAB).U16(0x0102).I16(-2).U32(0x01020304).I32(-5).U64(0x0102030405060708).F32(1.0f);
  EXPECT_EQ(w.bytes(), Of({0xAB, 0x02, 0x01, 0xFE, 0xFF, 0x04, 0x03, 0x02, 0x01, 0xFB, 0xFF, 0xFF, 0xFF,
                           0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01, 0x00, 0x00, 0x80, 0x3F}));
  ByteReader r(w.bytes());
  EXPECT_EQ(r.U8(), 0xAB);
  EXPECT_EQ(r.U16(), 0x0102);
  EXPECT_EQ(r.I16(), -2);
  EXPECT_EQ(r.U32(), 0x01020304u);
  EXPECT_EQ(r.I32(), -5);
  EXPECT_EQ(r.U32(), 0x05060708u);
  EXPECT_EQ(r.U32(), 0x01020304u);
  EXPECT_EQ(r.F32(), 1.0f);
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(r.remaining(), 0u);
}

TEST(ByteWriter, AlignsWithZerosAndAppendsBytes) {
  for (std::size_t start = 0; start < 6; ++start) {
    ByteWriter w;
    w.Zeros(start).Align(4);
    EXPECT_EQ(w.size(), (start + 3) / 4 * 4) << start;
  }
  ByteWriter w(Of({1, 2}));
  w.Bytes(Of({3})).Zeros(2);
  EXPECT_EQ(w.Take(), Of({1, 2, 3, 0, 0}));
}

TEST(ByteWriter, FillsInAFieldOnlyInsideWhatWasWritten) {
  ByteWriter w;
  w.U32(0).U16(0);
  EXPECT_TRUE(w.SetU32(2, 0xAABBCCDD));
  EXPECT_EQ(w.bytes(), Of({0, 0, 0xDD, 0xCC, 0xBB, 0xAA}));
  EXPECT_FALSE(w.SetU32(3, 1));  // one byte short
  EXPECT_FALSE(w.SetU32(std::size_t(-2), 1));
  EXPECT_EQ(w.bytes(), Of({0, 0, 0xDD, 0xCC, 0xBB, 0xAA}));
}

}  // namespace
}  // namespace pw::io
