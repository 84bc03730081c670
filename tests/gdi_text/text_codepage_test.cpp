// ANSI strings decoded in the code page of their character set.
#include <gtest/gtest.h>

#include <vector>

#include "platform/gdi/text/text_codepage.h"

namespace pw::gdi {
namespace {

DecodedText Decode(std::vector<std::uint8_t> bytes, std::uint8_t charset) { return DecodeAnsi(bytes, charset); }

TEST(TextCodePage, SingleByteCodePagesMapEveryByte) {
  EXPECT_EQ(Decode({'A', 0x80, 0xE9}, 0).text, u"A\u20AC\u00E9");      // 1252
  EXPECT_EQ(Decode({0xC0, 0xFF}, 204).text, u"\u0410\u044F");          // 1251
  EXPECT_EQ(Decode({0xE1}, 161).text, u"\u03B1");                      // 1253
  EXPECT_EQ(Decode({0xB9}, 238).text, u"\u0105");                      // 1250
  EXPECT_EQ(Decode({'a', 0xE9}, 1).text, u"a\u00E9");                  // DEFAULT: the ANSI page
  EXPECT_EQ(Decode({'a', 0xE9}, 0).bytes_per_unit, (std::vector<std::uint8_t>{1, 1}));
}

TEST(TextCodePage, SymbolBytesStayAsTheyAre) {
  const DecodedText d = Decode({0x41, 0xA7, 0xFF}, 2);
  EXPECT_EQ(d.text, u"\u0041\u00A7\u00FF");
}

TEST(TextCodePage, DoubleByteCharactersKeepTheirByteCounts) {
  // "日本" in Shift-JIS after an ASCII letter.
  const DecodedText d = Decode({'x', 0x93, 0xFA, 0x96, 0x7B}, 128);
  EXPECT_EQ(d.text, u"x\u65E5\u672C");
  EXPECT_EQ(d.bytes_per_unit, (std::vector<std::uint8_t>{1, 2, 2}));
  // A lead byte at the end cannot be decoded and stands for itself.
  const DecodedText cut = Decode({'x', 0x93}, 128);
  EXPECT_EQ(cut.text, u"x\uFFFD");
  EXPECT_EQ(cut.bytes_per_unit, (std::vector<std::uint8_t>{1, 1}));
}

TEST(TextCodePage, CharsetsNameTheirCodePages) {
  EXPECT_EQ(CodePageOfCharset(0), 1252);
  EXPECT_EQ(CodePageOfCharset(1), 1252);
  EXPECT_EQ(CodePageOfCharset(128), 932);
  EXPECT_EQ(CodePageOfCharset(136), 950);
  EXPECT_EQ(CodePageOfCharset(177), 1255);
}

}  // namespace
}  // namespace pw::gdi
