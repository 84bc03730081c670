#include <gtest/gtest.h>

#include <Magick++.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "platform/paths/paths.h"
#include "render/image_encoding.h"
#include "render/image_library.h"
#include "render/quantum_scale.h"
#include "tests/support/test_home.h"

namespace pw::render {
namespace {

class Encoding : public ::testing::Test {
 protected:
  void SetUp() override { EnsureImageLibrary(); }

  // A page-like picture with many colours: a diagonal gradient with a sharp
  // grid, so every encoding has something to lose.
  static Magick::Image Picture(int w = 96, int h = 64) {
    Magick::Image image(Magick::Geometry(w, h), Magick::Color("white"));
    image.quiet(true);
    Magick::PixelPacket* p = image.setPixels(0, 0, w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x, ++p) {
        const bool line = x % 12 == 0 || y % 12 == 0;
        p->red = ByteToQuantum(line ? 0 : static_cast<unsigned char>(x * 255 / w));
        p->green = ByteToQuantum(line ? 0 : static_cast<unsigned char>(y * 255 / h));
        p->blue = ByteToQuantum(static_cast<unsigned char>((x + y) * 2));
        p->opacity = 0;
      }
    image.syncPixels();
    return image;
  }

  std::string Written(Magick::Image image, double dpi, const EncodingOptions& o,
                      const std::string& ext) {
    EXPECT_TRUE(ConfigureForOutput(image, dpi, o).has_value());
    const std::string path = (test::TempDir() / ("out" + ext)).string();
    image.write(path);
    return path;
  }

  static std::vector<unsigned char> Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  static std::size_t DistinctColours(const Magick::Image& image) {
    std::set<std::tuple<int, int, int>> colours;
    const Magick::PixelPacket* p = image.getConstPixels(0, 0, image.columns(), image.rows());
    for (std::size_t i = 0; i < image.columns() * image.rows(); ++i, ++p)
      colours.insert({p->red, p->green, p->blue});
    return colours.size();
  }

  static bool HasMarker(const std::vector<unsigned char>& bytes, unsigned char marker) {
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i)
      if (bytes[i] == 0xFF && bytes[i + 1] == marker) return true;
    return false;
  }
};

EncodingOptions Series(EncodedFormat format) {
  EncodingOptions o;
  o.JPG_Default = format == EncodedFormat::Jpeg;
  o.GIF_Default = format == EncodedFormat::Gif;
  o.PNG_Default = format == EncodedFormat::Png;
  o.TIF_Default = format == EncodedFormat::Tiff;
  o.BMP_Default = format == EncodedFormat::Bmp;
  return o;
}

TEST(EncodingChoice, SeriesFlagsMultipageModesAndPdfBitmapFormat) {
  EncodingOptions o = Series(EncodedFormat::Png);
  o.TIF_Default = true;  // the first flag that is on wins
  EXPECT_EQ(ChosenFormat(o), EncodedFormat::Png);
  EXPECT_EQ(PreviewExtension(o), ".png");
  EXPECT_EQ(ChosenFormat(Series(EncodedFormat::Bmp)), EncodedFormat::Bmp);
  EXPECT_EQ(PreviewExtension(Series(EncodedFormat::Bmp)), ".bmp");
  EXPECT_EQ(ChosenFormat(Series(EncodedFormat::None)), EncodedFormat::None);
  EXPECT_EQ(PreviewExtension(Series(EncodedFormat::None)), ".bmp");
  EXPECT_TRUE(WritesPreview(o));

  o.KodMultipageFormat = 2;
  EXPECT_EQ(ChosenFormat(o), EncodedFormat::Tiff);
  EXPECT_EQ(PreviewExtension(o), ".tif");
  o.KodMultipageFormat = 3;
  EXPECT_EQ(ChosenFormat(o), EncodedFormat::Gif);
  EXPECT_EQ(PreviewExtension(o), ".gif");
  EXPECT_FALSE(WritesPreview(o));
  o.KodMultipageFormat = 4;
  EXPECT_EQ(ChosenFormat(o), EncodedFormat::None);
  EXPECT_EQ(PreviewExtension(o), ".bmp");

  o.KodMultipageFormat = 1;
  const std::pair<const char*, EncodedFormat> pdf[] = {
      {"JPG", EncodedFormat::Jpeg}, {"GIF", EncodedFormat::Gif}, {"PNG", EncodedFormat::Png},
      {"TIF", EncodedFormat::Tiff}, {"BMP", EncodedFormat::None}, {"jpg", EncodedFormat::None},
      {"", EncodedFormat::None}};
  for (const auto& [text, format] : pdf) {
    o.PDF_Bitmp_Format = text;
    EXPECT_EQ(ChosenFormat(o), format) << text;
  }
  o.PDF_Bitmp_Format = "TIF";
  EXPECT_EQ(PreviewExtension(o), ".TIF");
  o.PDF_Bitmp_Format = "J";
  EXPECT_EQ(PreviewExtension(o), ".bmp");
  EXPECT_FALSE(WritesPreview(o));
}

TEST(EncodingChoice, DensityTagIsTheIntegerPart) {
  EXPECT_EQ(DensityTag(96.0), 96);
  EXPECT_EQ(DensityTag(150.5), 150);
  EXPECT_EQ(DensityTag(0.0), 0);
  EXPECT_EQ(DensityTag(-3.0), 0);
}

TEST_F(Encoding, JpegQualityAndProgressiveFlagReachTheFile) {
  EncodingOptions o = Series(EncodedFormat::Jpeg);
  o.JPG_Quality = 75;
  o.JPG_Progress = true;
  const std::string progressive = Written(Picture(), 96.0, o, ".jpg");
  const auto bytes = Bytes(progressive);
  EXPECT_TRUE(HasMarker(bytes, 0xC2));   // progressive DCT frame
  EXPECT_FALSE(HasMarker(bytes, 0xC0));  // no baseline frame
  Magick::Image back(progressive);
  EXPECT_EQ(back.quality(), 75u);

  o.JPG_Progress = false;
  o.JPG_Quality = 40;
  const std::string baseline = Written(Picture(), 96.0, o, ".jpg");
  EXPECT_TRUE(HasMarker(Bytes(baseline), 0xC0));
  EXPECT_FALSE(HasMarker(Bytes(baseline), 0xC2));
  EXPECT_EQ(Magick::Image(baseline).quality(), 40u);
}

TEST_F(Encoding, GrayJpegHasOneComponent) {
  EncodingOptions o = Series(EncodedFormat::Jpeg);
  o.JPG_Gray = true;
  Magick::Image back(Written(Picture(), 96.0, o, ".jpg"));
  EXPECT_EQ(back.type(), Magick::GrayscaleType);
}

TEST_F(Encoding, GifKeepsAtMostItsColourCount) {
  EncodingOptions o = Series(EncodedFormat::Gif);
  ASSERT_GT(DistinctColours(Picture()), 200u);
  for (int colours : {2, 16, 64}) {
    o.GIF_Colors = colours;
    o.GIF_Dither = colours == 16;
    Magick::Image back(Written(Picture(), 96.0, o, ".gif"));
    const std::size_t n = DistinctColours(back);
    EXPECT_LE(n, static_cast<std::size_t>(colours)) << colours;
    EXPECT_GE(n, 2u) << colours;
  }
}

TEST_F(Encoding, GifInterlaceFlagReachesTheFile) {
  EncodingOptions o = Series(EncodedFormat::Gif);
  for (bool interlace : {true, false}) {
    o.GIF_Interlace = interlace;
    const auto bytes = Bytes(Written(Picture(), 96.0, o, ".gif"));
    // The image descriptor (0x2C) follows the header, screen descriptor and
    // global colour table; its packed byte holds the interlace bit 0x40.
    ASSERT_GT(bytes.size(), 13u);
    const std::size_t table = (bytes[10] & 0x80) ? 3u << ((bytes[10] & 7) + 1) : 0;
    std::size_t i = 13 + table;
    while (i < bytes.size() && bytes[i] == 0x21) {  // skip extensions
      i += 2;
      while (i < bytes.size() && bytes[i] != 0) i += bytes[i] + 1;
      ++i;
    }
    ASSERT_LT(i + 9, bytes.size());
    ASSERT_EQ(bytes[i], 0x2C);
    EXPECT_EQ((bytes[i + 9] & 0x40) != 0, interlace);
  }
}

TEST_F(Encoding, PngColourTypeFollowsTheSetting) {
  EncodingOptions o = Series(EncodedFormat::Png);
  // IHDR colour type: 2 true colour, 3 palette, 0 grayscale.
  const std::pair<int, int> kinds[] = {{0, 2}, {1, 3}, {2, 0}};
  for (const auto& [setting, colour_type] : kinds) {
    o.PNG_TrueIndexGray = setting;
    o.PNG_Colors = 32;
    const auto bytes = Bytes(Written(Picture(), 96.0, o, ".png"));
    ASSERT_GT(bytes.size(), 26u);
    EXPECT_EQ(bytes[25], colour_type) << "setting " << setting;
    EXPECT_EQ(bytes[24], 8) << "bit depth for setting " << setting;
  }
}

TEST_F(Encoding, TrueColourPngIsNotReducedWhateverItsColourCount) {
  EncodingOptions o = Series(EncodedFormat::Png);
  o.PNG_TrueIndexGray = 0;
  o.PNG_Colors = 2;
  const Magick::Image original = Picture();
  Magick::Image back(Written(Picture(), 96.0, o, ".png"));
  EXPECT_EQ(DistinctColours(back), DistinctColours(original));
}

// The faster compression must stay lossless and leave the interlace choice
// to the setting. (Gray pages are reduced to their colour count first, so
// only true colour can come back as it went in.)
TEST_F(Encoding, PngCompressionIsLosslessAndKeepsTheInterlaceSetting) {
  for (int mode : {0, 2}) {
    for (bool interlace : {true, false}) {
      EncodingOptions o = Series(EncodedFormat::Png);
      o.PNG_TrueIndexGray = mode;
      o.PNG_Interlace = interlace;
      Magick::Image original = Picture(130, 70);
      const auto path = Written(original, 96.0, o, ".png");
      const auto bytes = Bytes(path);
      ASSERT_GT(bytes.size(), 29u);
      EXPECT_EQ(bytes[28], interlace ? 1 : 0) << "mode " << mode;  // IHDR interlace method
      if (mode != 0) continue;
      Magick::Image back(path);
      original.depth(8);
      EXPECT_EQ(back.compare(original, Magick::AbsoluteErrorMetric), 0.0) << "interlace " << interlace;
    }
  }
}

TEST_F(Encoding, TiffLzwAndBilevel) {
  EncodingOptions o = Series(EncodedFormat::Tiff);
  o.TIF_Lzw = true;
  EXPECT_EQ(Magick::Image(Written(Picture(), 96.0, o, ".tif")).compressType(),
            Magick::LZWCompression);
  o.TIF_Lzw = false;
  EXPECT_NE(Magick::Image(Written(Picture(), 96.0, o, ".tif")).compressType(),
            Magick::LZWCompression);

  o.TIF_TrueIndexGray = 3;
  Magick::Image bilevel(Written(Picture(), 96.0, o, ".tif"));
  EXPECT_EQ(bilevel.depth(), 1u);
  EXPECT_LE(DistinctColours(bilevel), 2u);

  o.TIF_TrueIndexGray = 2;
  o.TIF_Colors = 8;
  Magick::Image gray(Written(Picture(), 96.0, o, ".tif"));
  EXPECT_LE(DistinctColours(gray), 8u);
  EXPECT_EQ(gray.type(), Magick::GrayscaleType);
}

TEST_F(Encoding, DensityTagIsWrittenInPixelsPerInch) {
  const std::pair<double, double> cases[] = {{96.0, 96.0}, {150.5, 150.0}};
  for (EncodedFormat format : {EncodedFormat::Jpeg, EncodedFormat::Png, EncodedFormat::Tiff}) {
    for (const auto& [dpi, tagged] : cases) {
      const std::string ext = format == EncodedFormat::Jpeg  ? ".jpg"
                              : format == EncodedFormat::Png ? ".png"
                                                             : ".tif";
      Magick::Image back(Written(Picture(), dpi, Series(format), ext));
      // PNG stores pixels per metre, read back as per centimetre.
      const double per_inch =
          back.resolutionUnits() == Magick::PixelsPerCentimeterResolution ? 2.54 : 1.0;
      EXPECT_NEAR(back.xResolution() * per_inch, tagged, 0.05) << ext << " " << dpi;
      EXPECT_NEAR(back.yResolution() * per_inch, tagged, 0.05) << ext << " " << dpi;
    }
  }
}

TEST_F(Encoding, FilesAreWrittenAtEightBitsPerChannel) {
  const auto bytes = Bytes(Written(Picture(), 96.0, Series(EncodedFormat::Bmp), ".bmp"));
  ASSERT_GT(bytes.size(), 30u);
  EXPECT_EQ(bytes[28], 24);  // biBitCount
  EncodingOptions tiff = Series(EncodedFormat::Tiff);
  EXPECT_EQ(Magick::Image(Written(Picture(), 96.0, tiff, ".tif")).depth(), 8u);
}

TEST_F(Encoding, SharpeningComesAfterColourReduction) {
  EncodingOptions o = Series(EncodedFormat::Gif);
  o.GIF_Colors = 8;
  Magick::Image plain = Picture();
  ASSERT_TRUE(ConfigureForOutput(plain, 96.0, o).has_value());
  EXPECT_LE(DistinctColours(plain), 8u);
  o.lvSharpen = true;
  Magick::Image sharpened = Picture();
  ASSERT_TRUE(ConfigureForOutput(sharpened, 96.0, o).has_value());
  EXPECT_GT(DistinctColours(sharpened), 8u);
}

TEST_F(Encoding, PreviewIsWrittenAndReadBackForTheSeriesKind) {
  EncodingOptions o = Series(EncodedFormat::Gif);
  o.GIF_Colors = 4;
  Magick::Image image = Picture(400, 300);
  const std::size_t before = DistinctColours(image);
  ASSERT_TRUE(ConfigureForOutput(image, 96.0, o).has_value());
  auto written = WritePreview(image, o);
  ASSERT_TRUE(written.has_value()) << written.error();
  const auto path = PreviewPath(o);
  ASSERT_TRUE(path.has_value());
  EXPECT_EQ(std::filesystem::path(*path).filename(), "~CurImg.gif");
  EXPECT_EQ(std::filesystem::path(*path).parent_path(),
            std::filesystem::path(*platform::WorkFolder()).parent_path());
  ASSERT_TRUE(written->has_value());
  EXPECT_EQ(**written, static_cast<int>(std::filesystem::file_size(*path) / 1024));
  // The image now is what the file holds.
  EXPECT_EQ(image.columns(), 400u);
  EXPECT_EQ(image.rows(), 300u);
  EXPECT_LT(DistinctColours(image), before);
  EXPECT_LE(DistinctColours(image), 4u);
}

// A link planted under the preview's name is replaced, never written through.
TEST_F(Encoding, PreviewReplacesALinkInsteadOfWritingThroughIt) {
  const EncodingOptions o = Series(EncodedFormat::Bmp);
  const auto path = PreviewPath(o);
  ASSERT_TRUE(path.has_value());
  const auto victim = test::TempDir() / "victim.txt";
  std::ofstream(victim) << "keep";
  std::filesystem::create_symlink(victim, *path);
  Magick::Image image = Picture();
  ASSERT_TRUE(ConfigureForOutput(image, 96.0, o).has_value());
  ASSERT_TRUE(WritePreview(image, o).has_value());
  EXPECT_EQ(Bytes(victim.string()), (std::vector<unsigned char>{'k', 'e', 'e', 'p'}));
  EXPECT_FALSE(std::filesystem::is_symlink(*path));
  EXPECT_EQ(Magick::Image(*path).columns(), image.columns());
}

TEST_F(Encoding, JpegPreviewShowsTheLossesOfTheEncoding) {
  EncodingOptions o = Series(EncodedFormat::Jpeg);
  o.JPG_Quality = 10;
  const Magick::Image original = Picture();
  Magick::Image image = original;
  ASSERT_TRUE(ConfigureForOutput(image, 96.0, o).has_value());
  ASSERT_TRUE(WritePreview(image, o).has_value());
  EXPECT_FALSE(image.compare(original));
  EXPECT_EQ(image.columns(), original.columns());
}

}  // namespace
}  // namespace pw::render
