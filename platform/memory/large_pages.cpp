#include "platform/memory/large_pages.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace pw::platform {

namespace {
// Below two large pages (2 MB on x86-64) there is too little to gain for
// splitting the allocator's mapping.
constexpr std::size_t kWorthwhileBytes = std::size_t{4} << 20;
}  // namespace

void PreferLargePages(void* data, std::size_t length) {
#ifdef MADV_HUGEPAGE
  const long page = ::sysconf(_SC_PAGESIZE);
  if (!data || page <= 0 || length < kWorthwhileBytes) return;
  const auto size = static_cast<std::uintptr_t>(page);
  const auto start = reinterpret_cast<std::uintptr_t>(data);
  if (length > UINTPTR_MAX - start) return;
  const std::uintptr_t first = (start + size - 1) / size * size;
  const std::uintptr_t end = (start + length) / size * size;
  // Advice only: a kernel without transparent large pages refuses it, and
  // the memory stays as it was.
  if (end > first) (void)::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#else
  (void)data;
  (void)length;
#endif
}

}  // namespace pw::platform
