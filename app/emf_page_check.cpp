#include "app/emf_page_check.h"

#include <cstdint>

namespace pw::app {
namespace {

constexpr std::uint32_t kHeaderRecordType = 1;      // EMR_HEADER
constexpr std::uint32_t kSignature = 0x464D4520;    // " EMF"
constexpr std::size_t kMinHeaderSize = 88;          // ENHMETAHEADER without its extensions
constexpr std::size_t kMinMetafileSize = kMinHeaderSize + 20;  // header plus EMR_EOF

std::uint32_t U32(std::span<const std::byte> bytes, std::size_t at) {
  return std::to_integer<std::uint32_t>(bytes[at]) | std::to_integer<std::uint32_t>(bytes[at + 1]) << 8 |
         std::to_integer<std::uint32_t>(bytes[at + 2]) << 16 | std::to_integer<std::uint32_t>(bytes[at + 3]) << 24;
}

}  // namespace

std::optional<std::size_t> EnhancedMetafileLength(std::span<const std::byte> bytes) {
  if (bytes.size() < kMinHeaderSize) return std::nullopt;
  const std::uint32_t type = U32(bytes, 0);
  const std::uint32_t header_size = U32(bytes, 4);
  const std::uint32_t signature = U32(bytes, 40);
  const std::uint32_t length = U32(bytes, 48);
  if (type != kHeaderRecordType || signature != kSignature) return std::nullopt;
  if (header_size < kMinHeaderSize || header_size % 4 != 0 || header_size > length) return std::nullopt;
  if (length < kMinMetafileSize || length % 4 != 0 || length > bytes.size()) return std::nullopt;
  return length;
}

}  // namespace pw::app
