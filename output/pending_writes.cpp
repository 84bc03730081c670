#include "output/pending_writes.h"

#include <algorithm>
#include <limits>
#include <thread>

#include "output/image_file.h"
#include "platform/limits/limits.h"
#include "render/image_library.h"

namespace pw::output {
namespace {

// The page images the library can encode side by side, in bytes of its
// pixel cache. A page past the library's memory goes to its disk room, and
// the encoding takes more than three times the page there: a PNG of
// 6296 x 6296 pixels (302 MiB of cache) peaked at 983 MiB, the page, the
// coder's copy and its row buffers. While pages encode, the next page is
// rendered, up to the largest the page bound admits. What is left of the
// disk room after that, over 3.25, may encode in the background; with the
// disk room as Debian's policy caps it (1 GiB) that is 221 MiB.
std::int64_t EncodingRoom() {
  render::EnsureImageLibrary();
  const auto disk = static_cast<std::int64_t>(std::min<Magick::MagickSizeType>(
      Magick::ResourceLimits::disk(), std::numeric_limits<std::int64_t>::max() / 4));
  const std::int64_t largest_page = limits::kPagePixels.value * std::int64_t{sizeof(Magick::PixelPacket)};
  return (disk - largest_page) * 4 / 13;
}

// A page reduced to a palette carries an index beside each pixel, and its
// colour reduction and the GIF coder each copy its cache once more. The
// library keeps that work fast only in its mapped room; where two such
// pages overlap past it, the copies go to a disk cache that the dithering
// reaches a pixel at a time (three 25-million-pixel pages as GIF: over five
// minutes, against 12 s each alone). Past a quarter of the mapped room, a
// palette page is written alone.
std::int64_t PaletteRoom() {
  render::EnsureImageLibrary();
  return static_cast<std::int64_t>(
      std::min<Magick::MagickSizeType>(Magick::ResourceLimits::map(), std::numeric_limits<std::int64_t>::max()) / 4);
}

}  // namespace

PendingWrites::PendingWrites(std::size_t depth, std::int64_t budget_bytes)
    : depth_(depth > 0 ? depth : std::max(1u, std::thread::hardware_concurrency())),
      budget_bytes_(std::min(budget_bytes, EncodingRoom())) {}

PendingWrites::~PendingWrites() {
  for (Write& write : writes_) write.result.wait();
}

std::optional<std::string> PendingWrites::Start(Magick::Image&& image, std::string path, Written written, Keep keep) {
  const bool palette = image.classType() == Magick::PseudoClass;
  const std::int64_t bytes = static_cast<std::int64_t>(image.columns()) * static_cast<std::int64_t>(image.rows()) *
                             (sizeof(Magick::PixelPacket) + (palette ? sizeof(Magick::IndexPacket) : 0));
  const bool alone = bytes > budget_bytes_ || (palette && bytes > PaletteRoom());
  while (!writes_.empty() && (alone || writes_.size() >= depth_ || bytes_in_flight_ + bytes > budget_bytes_))
    if (auto failed = FinishOldest()) return failed;
  Write write;
  write.path = std::move(path);
  write.written = std::move(written);
  write.keep = keep;
  write.bytes = bytes;
  // Made before the encoding starts, so that no temporary handle of this
  // statement is alive when the encoding changes the page.
  auto page = std::make_unique<Magick::Image>(render::TakeImage(image));
  write.result = std::async(std::launch::async, [page = std::move(page), path = write.path] {
    return EncodeImageFile(*page, path);
  });
  bytes_in_flight_ += bytes;
  writes_.push_back(std::move(write));
  // A page past the budget is written alone: nothing else encodes beside
  // it, and the next page is not rendered before it is written.
  if (alone) return FinishAll();
  return std::nullopt;
}

std::optional<std::string> PendingWrites::FinishAll() {
  while (!writes_.empty())
    if (auto failed = FinishOldest()) return failed;
  return std::nullopt;
}

std::string PendingWrites::FinishBefore(std::string failure) {
  if (auto failed = FinishAll()) return std::move(*failed);
  return failure;
}

std::optional<std::string> PendingWrites::FinishOldest() {
  Write write = std::move(writes_.front());
  writes_.pop_front();
  bytes_in_flight_ -= write.bytes;
  const auto encoded = write.result.get();
  if (!encoded) return WriteFailureText(write.path, encoded.error());
  if (write.keep == Keep::File)
    if (auto result = WriteEncodedFile(*encoded, write.path); !result) return WriteFailureText(write.path, result.error());
  if (write.written) write.written(write.path, *encoded);
  return std::nullopt;
}

}  // namespace pw::output
