#include <gtest/gtest.h>

#include <Magick++.h>

#include <filesystem>
#include <string>
#include <vector>

#include "output/image_file.h"
#include "output/pending_writes.h"
#include "render/image_encoding.h"
#include "render/image_library.h"
#include "tests/support/test_home.h"

namespace pw::test {
namespace {

namespace fs = std::filesystem;

// The image library's resource limits lowered for one test and put back after.
class LibraryLimits {
 public:
  LibraryLimits(Magick::MagickSizeType memory, Magick::MagickSizeType disk)
      : memory_(Magick::ResourceLimits::memory()), disk_(Magick::ResourceLimits::disk()) {
    Magick::ResourceLimits::memory(memory);
    Magick::ResourceLimits::disk(disk);
  }
  ~LibraryLimits() {
    Magick::ResourceLimits::memory(memory_);
    Magick::ResourceLimits::disk(disk_);
  }
  LibraryLimits(const LibraryLimits&) = delete;
  LibraryLimits& operator=(const LibraryLimits&) = delete;

 private:
  Magick::MagickSizeType memory_;
  Magick::MagickSizeType disk_;
};

Magick::Image Page(int shade) {
  Magick::Image image(Magick::Geometry(40, 30), Magick::ColorRGB(shade / 255.0, 0.5, 0.5));
  image.depth(8);
  return image;
}

TEST(PendingWrites, FilesAreHandedBackInPageOrderAndAFailureLeavesNoLaterFile) {
  const fs::path dir = TempDir();
  fs::create_directory(dir / "p2.png");  // stands where page 2 goes
  std::vector<std::string> handed_back;
  const auto note = [&handed_back](const std::string& path, const Magick::Blob&) {
    handed_back.push_back(fs::path(path).filename());
  };

  {
    output::PendingWrites pending(3);
    for (int i = 1; i <= 4; ++i) {
      auto failed = pending.Start(Page(i * 40), (dir / ("p" + std::to_string(i) + ".png")).string(), note);
      ASSERT_FALSE(failed) << *failed;
    }
    const auto failed = pending.FinishAll();
    ASSERT_TRUE(failed);
    EXPECT_EQ(*failed, "The file could not be written:\n" + (dir / "p2.png").string() + "\nIs a directory");
  }
  EXPECT_EQ(handed_back, std::vector<std::string>{"p1.png"});
  EXPECT_TRUE(fs::is_regular_file(dir / "p1.png"));
  // Pages 3 and 4 were encoded already, but a run that stopped at page 2
  // writes nothing after it.
  EXPECT_FALSE(fs::exists(dir / "p3.png"));
  EXPECT_FALSE(fs::exists(dir / "p4.png"));
}

TEST(PendingWrites, EveryPageIsWrittenWhateverTheDepth) {
  const fs::path dir = TempDir();
  for (std::size_t depth : {1u, 2u, 8u}) {
    std::vector<std::string> handed_back;
    output::PendingWrites pending(depth);
    for (int i = 0; i < 5; ++i) {
      const std::string path = (dir / ("d" + std::to_string(depth) + "_" + std::to_string(i) + ".bmp")).string();
      ASSERT_FALSE(pending.Start(Page(i * 50), path, [&handed_back](const std::string& p, const Magick::Blob&) { handed_back.push_back(p); }));
    }
    ASSERT_FALSE(pending.FinishAll());
    ASSERT_EQ(handed_back.size(), 5u);
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(fs::path(handed_back[i]).filename(), "d" + std::to_string(depth) + "_" + std::to_string(i) + ".bmp");
      Magick::Image back(handed_back[i]);
      EXPECT_EQ(back.columns(), 40u);
      EXPECT_EQ(back.pixelColor(0, 0).redQuantum() / 257, static_cast<unsigned>(i * 50));
    }
  }
}

TEST(PendingWrites, APageKeptInMemoryIsHandedBackEncodedAndNoFileIsMade) {
  const fs::path dir = TempDir() / "memory";
  fs::create_directory(dir);
  std::vector<std::string> encodings;
  {
    output::PendingWrites pending(2);
    for (int i = 0; i < 3; ++i) {
      const auto keep = [&encodings](const std::string&, const Magick::Blob& blob) {
        encodings.push_back(Magick::Image(blob).magick());
      };
      ASSERT_FALSE(pending.Start(Page(i * 60), (dir / ("m" + std::to_string(i) + ".png")).string(), keep,
                                 output::PendingWrites::Keep::MemoryOnly));
    }
    ASSERT_FALSE(pending.FinishAll());
  }
  EXPECT_EQ(encodings, (std::vector<std::string>{"PNG", "PNG", "PNG"}));
  EXPECT_TRUE(fs::is_empty(dir));
}

TEST(PendingWrites, PagesTooLargeToEncodeSideBySideAreWrittenOneAtATime) {
  // With 8 MiB of memory and 128 MiB of disk for the library's pixel caches,
  // a PNG of 2000 x 2000 pixels (31 MB of cache) encodes alone but not beside
  // another: the coder takes more than three times the page.
  render::EnsureImageLibrary();
  const LibraryLimits limits(8 << 20, 128 << 20);
  const fs::path dir = TempDir() / "large";
  fs::create_directory(dir);
  std::vector<std::string> handed_back;
  {
    output::PendingWrites pending(2);
    for (int i = 0; i < 3; ++i) {
      Magick::Image page(Magick::Geometry(2000, 2000), Magick::ColorRGB(i / 4.0, 0.5, 0.5));
      page.depth(8);
      const auto failed = pending.Start(std::move(page), (dir / ("l" + std::to_string(i) + ".png")).string(),
                                        [&handed_back](const std::string& p, const Magick::Blob&) { handed_back.push_back(p); });
      ASSERT_FALSE(failed) << *failed;
    }
    const auto failed = pending.FinishAll();
    ASSERT_FALSE(failed) << *failed;
  }
  ASSERT_EQ(handed_back.size(), 3u);
  for (const std::string& path : handed_back) {
    Magick::Image back;
    back.ping(path);
    EXPECT_EQ(back.columns(), 2000u);
    EXPECT_EQ(back.rows(), 2000u);
  }
}

// The encoder holds the only handle on a page it is given, so a coder that
// changes the pixels (GIF turns a gray page back into RGB) changes them in
// place; a page still shared with the writer was copied whole first.
TEST(PendingWrites, APageIsEncodedInPlaceWithoutASecondCopyOfItsPixels) {
  render::EnsureImageLibrary();
  Magick::Image page(Magick::Geometry(1500, 1500), Magick::ColorGray(0.5));
  render::EncodingOptions gif;
  gif.JPG_Default = false;
  gif.GIF_Default = true;
  ASSERT_TRUE(render::ConfigureForOutput(page, 96, gif));
  const fs::path path = TempDir() / "gray.gif";
  {
    const std::uint64_t page_bytes = std::uint64_t{1500} * 1500 * (sizeof(Magick::PixelPacket) + sizeof(Magick::IndexPacket));
    // Memory for the page twice over (the coder reopens its cache once),
    // not three times; no disk. A shared page failed up to 2.5 times.
    const LibraryLimits limits(page_bytes * 9 / 4, 1 << 20);
    output::PendingWrites pending(1);
    auto failed = pending.Start(std::move(page), path.string(), {});
    if (!failed) failed = pending.FinishAll();
    ASSERT_FALSE(failed) << *failed;
  }
  EXPECT_EQ(page.columns(), 0u) << "the page was handed on, not shared";
  Magick::Image back;
  back.ping(path.string());
  EXPECT_EQ(back.columns(), 1500u);
}

TEST(PendingWrites, PngFilesCarryNoTimeStamp) {
  // Encodes run on several threads at once; the PNG coder's time stamp
  // would share one gmtime() buffer between them.
  Magick::Image page = Page(10);
  const auto blob = output::EncodeImageFile(page, "page.png");
  ASSERT_TRUE(blob) << blob.error();
  const std::string_view bytes(static_cast<const char*>(blob->data()), blob->length());
  EXPECT_NE(bytes.find("IHDR"), std::string_view::npos);
  EXPECT_EQ(bytes.find("tIME"), std::string_view::npos);
}

}  // namespace
}  // namespace pw::test
