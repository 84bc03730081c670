// DIB decoding: exact pixels for every format, and hostile headers refused.
#include "platform/gdi/dc/dib.h"
#include "tests/gdi_bitmaps/dib_bytes.h"

#include <QBuffer>
#include <cstring>
#include <random>
#include <gtest/gtest.h>

namespace pw::gdi {
namespace {

using test::Bytes;
using test::Concat;
using test::InfoHeader;
using test::PutQuads;
using test::PutU16;
using test::PutU32;
using test::Raw;

std::vector<QRgb> Row(const QImage& image, int y) {
  std::vector<QRgb> out;
  for (int x = 0; x < image.width(); ++x) out.push_back(image.pixel(x, y));
  return out;
}

constexpr QRgb kBlack = 0xFF000000, kWhite = 0xFFFFFFFF, kRed = 0xFFFF0000, kGreen = 0xFF00FF00,
               kBlue = 0xFF0000FF;

TEST(DibDecode, OneBitRowsArePaddedAndBottomUp) {
  Bytes info = InfoHeader(9, 2, 1);
  PutQuads(info, {0x000000, 0xFF0000});
  // Bottom row first: 9 pixels need 2 bytes, padded to 4.
  const Bytes bits = Raw({0b10000000, 0b10000000, 0, 0,   // bottom: x0, x8 set
                          0b01111111, 0b00000000, 0, 0});  // top: x1..x7 set
  auto dib = DecodeDib(info, bits);
  ASSERT_TRUE(dib) << dib.error().what;
  EXPECT_EQ(dib->image.size(), QSize(9, 2));
  EXPECT_EQ(dib->alpha, DibAlpha::None);
  EXPECT_EQ(Row(dib->image, 0), (std::vector<QRgb>{kBlack, kRed, kRed, kRed, kRed, kRed, kRed,
                                                   kRed, kBlack}));
  EXPECT_EQ(Row(dib->image, 1), (std::vector<QRgb>{kRed, kBlack, kBlack, kBlack, kBlack, kBlack,
                                                   kBlack, kBlack, kRed}));
  EXPECT_FALSE(dib->monochrome);  // black then red is a colour bitmap
}

TEST(DibDecode, MonochromeNeedsBlackThenWhite) {
  const Bytes bits = Raw({0b01000000, 0, 0, 0});
  Bytes bw = InfoHeader(2, 1, 1);
  PutQuads(bw, {0x000000, 0xFFFFFF});
  Bytes wb = InfoHeader(2, 1, 1);
  PutQuads(wb, {0xFFFFFF, 0x000000});
  auto mono = DecodeDib(bw, bits);
  auto inverted = DecodeDib(wb, bits);
  ASSERT_TRUE(mono && inverted);
  EXPECT_TRUE(mono->monochrome);
  EXPECT_FALSE(inverted->monochrome);

  // Drawn on colour: 0 bits take the text colour, 1 bits the background.
  const QImage colored = ColorizeMonochrome(mono->image, 0x000000FF /*red*/, 0x00FF0000 /*blue*/);
  EXPECT_EQ(Row(colored, 0), (std::vector<QRgb>{kRed, kBlue}));

  // The undocumented mono usage has no table at all.
  auto no_table = DecodeDib(InfoHeader(2, 1, 1), bits, {.usage = DibColorUsage::PalMono});
  ASSERT_TRUE(no_table) << no_table.error().what;
  EXPECT_TRUE(no_table->monochrome);
  EXPECT_EQ(Row(no_table->image, 0), (std::vector<QRgb>{kBlack, kWhite}));
}

TEST(DibDecode, FourAndEightBitIndices) {
  Bytes info4 = InfoHeader(3, 1, 4, 0, 3);
  PutQuads(info4, {0x102030, 0x405060, 0x708090});
  auto four = DecodeDib(info4, Raw({0x21, 0x00, 0, 0}));
  ASSERT_TRUE(four) << four.error().what;
  EXPECT_EQ(Row(four->image, 0), (std::vector<QRgb>{0xFF708090, 0xFF405060, 0xFF102030}));

  Bytes info8 = InfoHeader(4, 1, 8, 0, 2);
  PutQuads(info8, {0x00FF00, 0x0000FF});
  auto eight = DecodeDib(info8, Raw({1, 0, 7, 255}));
  ASSERT_TRUE(eight) << eight.error().what;
  // Indices past a short table are black.
  EXPECT_EQ(Row(eight->image, 0), (std::vector<QRgb>{kBlue, kGreen, kBlack, kBlack}));
}

TEST(DibDecode, ColourTableLengthRules) {
  // clrUsed beyond 2^bpp is capped: the bits follow 2 entries in a packed DIB.
  Bytes packed = InfoHeader(1, 1, 1, 0, 300);
  PutQuads(packed, {0x000000, 0x00FF00});
  packed = Concat(packed, Raw({0x80, 0, 0, 0}));
  auto header = ReadDibHeader(packed);
  ASSERT_TRUE(header);
  EXPECT_EQ(header->colors_used, 2u);
  EXPECT_EQ(header->info_size, 48u);
  auto dib = DecodePackedDib(packed);
  ASSERT_TRUE(dib) << dib.error().what;
  EXPECT_EQ(dib->image.pixel(0, 0), kGreen);

  // clrUsed 0 means the full table; a packed DIB too short for it is refused.
  Bytes truncated = InfoHeader(1, 1, 8);
  PutQuads(truncated, {0xFF0000});
  EXPECT_FALSE(DecodePackedDib(truncated));

  // A split DIB whose table is cut short keeps the entries that are there.
  auto split = DecodeDib(truncated, Raw({0, 0, 0, 0}));
  ASSERT_TRUE(split) << split.error().what;
  EXPECT_EQ(split->image.pixel(0, 0), kRed);
}

TEST(DibDecode, SixteenBitDefaultIs555AndBitfieldsFollowTheMasks) {
  Bytes bits;
  for (unsigned v : {0x7C00u, 0x03E0u, 0x0421u, 0x8000u}) PutU16(bits, v);
  auto rgb = DecodeDib(InfoHeader(4, 1, 16), bits);
  ASSERT_TRUE(rgb) << rgb.error().what;
  EXPECT_EQ(Row(rgb->image, 0), (std::vector<QRgb>{kRed, kGreen, 0xFF080808, kBlack}));

  Bytes info565 = InfoHeader(4, 1, 16, 3);
  PutU32(info565, 0xF800);
  PutU32(info565, 0x07E0);
  PutU32(info565, 0x001F);
  Bytes bits565;
  for (unsigned v : {0xF800u, 0x07E0u, 0x0841u, 0x001Fu}) PutU16(bits565, v);
  auto dib565 = DecodeDib(info565, bits565);
  ASSERT_TRUE(dib565) << dib565.error().what;
  EXPECT_EQ(Row(dib565->image, 0), (std::vector<QRgb>{kRed, kGreen, 0xFF080808, kBlue}));
}

TEST(DibDecode, TwentyFourAndThirtyTwoBit) {
  // One pixel per row: 3 bytes plus one byte of padding.
  auto dib24 = DecodeDib(InfoHeader(1, 2, 24), Raw({0x30, 0x20, 0x10, 0xEE, 0xFF, 0, 0, 0xEE}));
  ASSERT_TRUE(dib24) << dib24.error().what;
  EXPECT_EQ(dib24->image.pixel(0, 0), kBlue);
  EXPECT_EQ(dib24->image.pixel(0, 1), 0xFF102030u);

  // 32-bit keeps its fourth byte untouched for AlphaBlend; Opaque drops it.
  auto dib32 = DecodeDib(InfoHeader(2, 1, 32), Raw({0x40, 0x30, 0x20, 0x80, 0xFF, 0, 0, 0}));
  ASSERT_TRUE(dib32) << dib32.error().what;
  EXPECT_EQ(dib32->alpha, DibAlpha::Channel);
  EXPECT_EQ(dib32->image.pixel(0, 0), 0x80203040u);
  EXPECT_EQ(dib32->image.pixel(1, 0), 0x000000FFu);
  const QImage opaque = dib32->Opaque();
  EXPECT_EQ(opaque.pixel(0, 0), 0xFF203040u);
  EXPECT_EQ(opaque.pixel(1, 0), kBlue);

  // 32-bit bitfields without an alpha mask are opaque.
  Bytes info = InfoHeader(1, 1, 32, 3);
  PutU32(info, 0x0000FF);
  PutU32(info, 0x00FF00);
  PutU32(info, 0xFF0000);
  auto swapped = DecodeDib(info, Raw({0x11, 0x22, 0x33, 0x44}));
  ASSERT_TRUE(swapped) << swapped.error().what;
  EXPECT_EQ(swapped->alpha, DibAlpha::None);
  EXPECT_EQ(swapped->image.pixel(0, 0), 0xFF112233u);

  // With the standard masks they are BI_RGB, fourth byte included.
  Bytes standard = InfoHeader(1, 1, 32, 3);
  PutU32(standard, 0xFF0000);
  PutU32(standard, 0x00FF00);
  PutU32(standard, 0x0000FF);
  auto same = DecodeDib(standard, Raw({0x11, 0x22, 0x33, 0x44}));
  ASSERT_TRUE(same) << same.error().what;
  EXPECT_EQ(same->alpha, DibAlpha::Channel);
  EXPECT_EQ(same->image.pixel(0, 0), 0x44332211u);
}

TEST(DibDecode, TopDownAndBottomUpOrderRows) {
  const Bytes bits = Raw({0, 0, 0xFF, 0, 0xFF, 0, 0, 0});  // first row red, second blue
  auto bottom_up = DecodeDib(InfoHeader(1, 2, 24), bits);
  auto top_down = DecodeDib(InfoHeader(1, -2, 24), bits);
  ASSERT_TRUE(bottom_up && top_down);
  EXPECT_EQ(bottom_up->image.pixel(0, 0), kBlue);
  EXPECT_EQ(bottom_up->image.pixel(0, 1), kRed);
  EXPECT_EQ(top_down->image.pixel(0, 0), kRed);
  EXPECT_EQ(top_down->image.pixel(0, 1), kBlue);
}

TEST(DibDecode, CoreHeaderUsesTriples) {
  Bytes info;
  PutU32(info, 12);
  PutU16(info, 2);
  PutU16(info, 1);
  PutU16(info, 1);
  PutU16(info, 1);
  for (unsigned v : {0x00u, 0x00u, 0xFFu, 0xFFu, 0x00u, 0x00u}) test::PutU8(info, v);
  auto dib = DecodeDib(info, Raw({0b01000000, 0, 0, 0}));
  ASSERT_TRUE(dib) << dib.error().what;
  EXPECT_EQ(Row(dib->image, 0), (std::vector<QRgb>{kRed, kBlue}));
}

TEST(DibDecode, PaletteIndicesResolveThroughTheLogicalPalette) {
  Bytes info = InfoHeader(3, 1, 8, 0, 3);
  PutU16(info, 13);  // default palette: pure red
  PutU16(info, 2);   // 0x008000
  PutU16(info, 21);  // wraps around the 20 entries to 1: 0x800000
  const Bytes bits = Raw({0, 1, 2, 0});
  auto fallback = DecodeDib(info, bits, {.usage = DibColorUsage::PalColors});
  ASSERT_TRUE(fallback) << fallback.error().what;
  EXPECT_EQ(Row(fallback->image, 0), (std::vector<QRgb>{kRed, 0xFF008000, 0xFF800000}));

  const std::vector<QRgb> palette = {0xFF111111, 0xFF222222, 0xFF333333};
  auto selected = DecodeDib(info, bits, {.usage = DibColorUsage::PalColors, .palette = palette});
  ASSERT_TRUE(selected);
  EXPECT_EQ(Row(selected->image, 0), (std::vector<QRgb>{0xFF222222, 0xFF333333, 0xFF111111}));
}

TEST(DibDecode, ScanLinesLimitRows) {
  const Bytes bits = Raw({0, 0, 0xFF, 0});  // one scan line of a 1×3 bottom-up DIB
  auto dib = DecodeDib(InfoHeader(1, 3, 24), bits, {.scan_lines = 1});
  ASSERT_TRUE(dib) << dib.error().what;
  EXPECT_EQ(dib->image.size(), QSize(1, 1));
  EXPECT_EQ(dib->image.pixel(0, 0), kRed);
  EXPECT_FALSE(DecodeDib(InfoHeader(1, 3, 24), bits)) << "three rows need 12 bytes";
}

Bytes RleTable(unsigned bpp, unsigned width, unsigned height, const Bytes& data) {
  Bytes info = InfoHeader(width, height, bpp, bpp == 8 ? 1 : 2, 4, data.size());
  PutQuads(info, {0x000000, 0xFF0000, 0x00FF00, 0x0000FF});
  return info;
}

TEST(DibDecode, Rle8RunsDeltasAndEnds) {
  const Bytes data = Raw({
      3, 1,           // bottom row: three red
      0, 0,           // end of line
      0, 3, 2, 3, 1, 0,  // absolute: green blue red, padded to 16 bits
      0, 2, 1, 1,     // delta: right 1, up 1 -> line 2, x 4
      1, 3,           // one blue at x 4 of line 2
      0, 1,           // end of bitmap
  });
  auto dib = DecodeDib(RleTable(8, 5, 3, data), data);
  ASSERT_TRUE(dib) << dib.error().what;
  ASSERT_EQ(dib->alpha, DibAlpha::Holes);
  const QImage& img = dib->image;  // top row is line 2
  EXPECT_EQ(Row(img, 2), (std::vector<QRgb>{kRed, kRed, kRed, 0, 0}));
  EXPECT_EQ(Row(img, 1), (std::vector<QRgb>{kGreen, kBlue, kRed, 0, 0}));
  EXPECT_EQ(Row(img, 0), (std::vector<QRgb>{0, 0, 0, 0, kBlue}));
}

TEST(DibDecode, Rle4AlternatesNibbles) {
  const Bytes data = Raw({
      5, 0x12,              // 1 2 1 2 1
      0, 0,                 //
      0, 3, 0x31, 0x20,     // absolute 3 1 2, two bytes: no padding needed
      0, 1,
  });
  auto dib = DecodeDib(RleTable(4, 5, 2, data), data);
  ASSERT_TRUE(dib) << dib.error().what;
  EXPECT_EQ(Row(dib->image, 1), (std::vector<QRgb>{kRed, kGreen, kRed, kGreen, kRed}));
  EXPECT_EQ(Row(dib->image, 0), (std::vector<QRgb>{kBlue, kRed, kGreen, 0, 0}));
}

TEST(DibDecode, RleOverrunsAreClippedNotWrapped) {
  // A run longer than the row, then an absolute run claiming more bytes than
  // there are: nothing wraps into the next row and nothing is read past the end.
  const Bytes data = Raw({9, 1, 0, 0, 0, 200, 2, 2});
  auto dib = DecodeDib(RleTable(8, 2, 2, data), data);
  ASSERT_TRUE(dib) << dib.error().what;
  EXPECT_EQ(Row(dib->image, 1), (std::vector<QRgb>{kRed, kRed}));
  EXPECT_EQ(Row(dib->image, 0), (std::vector<QRgb>{0, 0}));

  // A full picture comes out opaque.
  const Bytes full = Raw({2, 1, 0, 1});
  auto opaque = DecodeDib(RleTable(8, 2, 1, full), full);
  ASSERT_TRUE(opaque);
  EXPECT_EQ(opaque->alpha, DibAlpha::None);
  EXPECT_EQ(opaque->image.format(), QImage::Format_RGB32);
}

Bytes Encode(const QImage& image, const char* format) {
  QByteArray data;
  QBuffer buffer(&data);
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(image.save(&buffer, format, 95));
  Bytes out(data.size());
  std::memcpy(out.data(), data.constData(), out.size());
  return out;
}

TEST(DibDecode, EmbeddedPngAndJpeg) {
  QImage picture(4, 3, QImage::Format_RGB32);
  picture.fill(qRgb(200, 40, 10));
  picture.setPixel(3, 2, qRgb(0, 0, 255));
  const Bytes png = Encode(picture, "PNG");
  auto from_png = DecodeDib(InfoHeader(4, 3, 0, 5, 0, png.size()), png);
  ASSERT_TRUE(from_png) << from_png.error().what;
  EXPECT_EQ(from_png->image.size(), QSize(4, 3));
  EXPECT_EQ(from_png->image.pixel(0, 0), qRgb(200, 40, 10));
  EXPECT_EQ(from_png->image.pixel(3, 2), kBlue);

  QImage flat(8, 8, QImage::Format_RGB32);
  flat.fill(qRgb(30, 120, 220));
  const Bytes jpeg = Encode(flat, "JPEG");
  auto from_jpeg = DecodeDib(InfoHeader(8, 8, 0, 4, 0, jpeg.size()), jpeg);
  ASSERT_TRUE(from_jpeg) << from_jpeg.error().what;
  const QRgb got = from_jpeg->image.pixel(4, 4);
  EXPECT_NEAR(qRed(got), 30, 6);
  EXPECT_NEAR(qGreen(got), 120, 6);
  EXPECT_NEAR(qBlue(got), 220, 6);

  // A stream cut short of its declared size, or not an image at all.
  EXPECT_FALSE(DecodeDib(InfoHeader(4, 3, 0, 5, 0, png.size() + 1), png));
  EXPECT_FALSE(DecodeDib(InfoHeader(4, 3, 0, 5), Raw({1, 2, 3, 4})));
}

TEST(DibDecode, MalformedHeadersAreRefused) {
  const Bytes plenty(64, std::byte{0});
  struct Case {
    const char* name;
    Bytes info;
  };
  Bytes cut = InfoHeader(1, 1, 24);
  cut.resize(30);
  Bytes big_header = InfoHeader(1, 1, 24);
  big_header[0] = std::byte{200};  // claims a 200-byte header
  Bytes bitfields_without_masks = InfoHeader(1, 1, 16, 3);
  const Case cases[] = {
      {"too short for a size", Raw({40, 0})},
      {"header cut short", cut},
      {"header larger than the info", big_header},
      {"unknown header size", Concat(Raw({20, 0, 0, 0}), plenty)},
      {"zero width", InfoHeader(0, 1, 24)},
      {"negative width", InfoHeader(-4, 1, 24)},
      {"zero height", InfoHeader(1, 0, 24)},
      {"bit count 7", InfoHeader(1, 1, 7)},
      {"RLE8 with 4 bits", InfoHeader(1, 1, 4, 1)},
      {"top-down RLE", InfoHeader(1, -1, 8, 1)},
      {"bitfields on 24 bits", InfoHeader(1, 1, 24, 3)},
      {"unknown compression", InfoHeader(1, 1, 24, 9)},
      {"bitfields masks missing", bitfields_without_masks},
      {"2^31 pixels", InfoHeader(65536, 32768, 1)},
      {"too wide", InfoHeader(65537, 1, 1)},
      {"most negative height", InfoHeader(1, INT32_MIN, 24)},
  };
  for (const Case& c : cases) {
    auto dib = DecodeDib(c.info, plenty);
    EXPECT_FALSE(dib) << c.name;
    if (!dib) {
      EXPECT_FALSE(dib.error().what.empty()) << c.name;
    }
  }
  EXPECT_EQ(DecodeDib(InfoHeader(65536, 32768, 1), plenty).error().what, "bitmap too large");
}

// Damaged copies of valid DIBs either decode to the size their header
// names or are refused; none may read outside its bytes (run under ASan).
TEST(DibDecode, DamagedInputsDecodeOrFailCleanly) {
  Bytes pal8 = InfoHeader(5, 3, 8, 0, 4);
  PutQuads(pal8, {0x000000, 0xFF0000, 0x00FF00, 0x0000FF});
  Bytes rle = InfoHeader(6, 4, 8, 1, 4);
  PutQuads(rle, {0x000000, 0xFF0000, 0x00FF00, 0x0000FF});
  Bytes fields = InfoHeader(3, -2, 16, 3);
  PutU32(fields, 0xF800);
  PutU32(fields, 0x07E0);
  PutU32(fields, 0x001F);
  struct Sample {
    Bytes info, bits;
  };
  const std::vector<Sample> samples = {
      {pal8, Bytes(24, std::byte{1})},
      {rle, Raw({3, 1, 0, 4, 1, 2, 0, 0, 0, 2, 5, 1, 2, 3, 0, 0, 0, 1})},
      {fields, Bytes(16, std::byte{0x5A})},
      {InfoHeader(2, 2, 32), Bytes(16, std::byte{0x80})},
  };
  std::mt19937 random(2024);
  int decoded = 0;
  for (const Sample& sample : samples) {
    for (int trial = 0; trial < 3000; ++trial) {
      Bytes info = sample.info, bits = sample.bits;
      Bytes& target = (trial % 3 == 0) ? bits : info;
      const int flips = 1 + static_cast<int>(random() % 4);
      for (int f = 0; f < flips && !target.empty(); ++f)
        target[random() % target.size()] = static_cast<std::byte>(random());
      if (trial % 7 == 0 && !bits.empty()) bits.resize(random() % bits.size());
      const auto dib = DecodeDib(info, bits);
      if (!dib) continue;
      ++decoded;
      const auto header = ReadDibHeader(info);
      ASSERT_TRUE(header);
      if (header->compression == DibCompression::Jpeg || header->compression == DibCompression::Png) continue;
      EXPECT_EQ(dib->image.width(), header->width);
      EXPECT_EQ(dib->image.height(), header->height);
    }
  }
  EXPECT_GT(decoded, 100) << "most damage to the bits still decodes";
}

TEST(DibDecode, BitsShorterThanTheImageAreRefused) {
  // 3 pixels × 2 rows of 24 bits need 2 × 12 bytes.
  EXPECT_FALSE(DecodeDib(InfoHeader(3, 2, 24), Bytes(23, std::byte{0})));
  EXPECT_TRUE(DecodeDib(InfoHeader(3, 2, 24), Bytes(24, std::byte{0})));
  EXPECT_FALSE(DecodeDib(InfoHeader(3, 2, 24), {}));
}

}  // namespace
}  // namespace pw::gdi
