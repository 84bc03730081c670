#include "render/render_outputs.h"

#include <atomic>
#include <cstdint>

namespace pw::render {

namespace {

// Width and height packed in one word, so a reader never sees half of a size.
std::atomic<std::uint64_t> g_page_size{0};
std::atomic<bool> g_page_size_known{false};
std::atomic<int> g_size_kb{0};

}  // namespace

std::optional<PageSizeMm> LastPageSizeMm() {
  if (!g_page_size_known.load(std::memory_order_acquire)) return std::nullopt;
  const std::uint64_t packed = g_page_size.load(std::memory_order_acquire);
  return PageSizeMm{static_cast<int>(static_cast<std::uint32_t>(packed >> 32)),
                    static_cast<int>(static_cast<std::uint32_t>(packed))};
}

void SetLastPageSizeMm(PageSizeMm size) {
  const std::uint64_t packed = (std::uint64_t{static_cast<std::uint32_t>(size.width)} << 32) |
                               static_cast<std::uint32_t>(size.height);
  g_page_size.store(packed, std::memory_order_release);
  g_page_size_known.store(true, std::memory_order_release);
}

int CurrentImageSizeKb() { return g_size_kb.load(std::memory_order_acquire); }
void SetCurrentImageSizeKb(int kb) { g_size_kb.store(kb, std::memory_order_release); }

}  // namespace pw::render
