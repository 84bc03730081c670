#include "output/pending_writes.h"

#include <algorithm>
#include <thread>

#include "output/image_file.h"

namespace pw::output {

PendingWrites::PendingWrites(std::size_t depth, std::int64_t budget_bytes)
    : depth_(depth > 0 ? depth : std::max(1u, std::thread::hardware_concurrency())), budget_bytes_(budget_bytes) {}

PendingWrites::~PendingWrites() {
  for (Write& write : writes_) write.result.wait();
}

std::optional<std::string> PendingWrites::Start(Magick::Image image, std::string path, Written written, Keep keep) {
  const std::int64_t bytes =
      static_cast<std::int64_t>(image.columns()) * static_cast<std::int64_t>(image.rows()) * sizeof(Magick::PixelPacket);
  while (!writes_.empty() && (writes_.size() >= depth_ || bytes_in_flight_ + bytes > budget_bytes_))
    if (auto failed = FinishOldest()) return failed;
  Write write;
  write.path = std::move(path);
  write.written = std::move(written);
  write.keep = keep;
  write.bytes = bytes;
  write.result = std::async(std::launch::async, [image = std::move(image), path = write.path]() mutable {
    return EncodeImageFile(std::move(image), path);
  });
  bytes_in_flight_ += bytes;
  writes_.push_back(std::move(write));
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
