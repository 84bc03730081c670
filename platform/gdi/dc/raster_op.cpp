#include "platform/gdi/dc/raster_op.h"

#include <algorithm>

namespace pw::gdi {
namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

// The operations metafiles use most, each as one expression.
template <typename Fn>
bool Common(std::uint8_t index, Fn&& run) {
  switch (index) {
    case RopIndex(Rop3::SrcCopy): run([](auto, auto s, auto) { return s; }); return true;
    case RopIndex(Rop3::SrcPaint): run([](auto, auto s, auto d) { return s | d; }); return true;
    case RopIndex(Rop3::SrcAnd): run([](auto, auto s, auto d) { return s & d; }); return true;
    case RopIndex(Rop3::SrcInvert): run([](auto, auto s, auto d) { return s ^ d; }); return true;
    case RopIndex(Rop3::SrcErase): run([](auto, auto s, auto d) { return s & ~d; }); return true;
    case RopIndex(Rop3::NotSrcCopy): run([](auto, auto s, auto) { return ~s; }); return true;
    case RopIndex(Rop3::NotSrcErase): run([](auto, auto s, auto d) { return ~(s | d); }); return true;
    case RopIndex(Rop3::MergeCopy): run([](auto p, auto s, auto) { return p & s; }); return true;
    case RopIndex(Rop3::MergePaint): run([](auto, auto s, auto d) { return ~s | d; }); return true;
    case RopIndex(Rop3::PatCopy): run([](auto p, auto, auto) { return p; }); return true;
    case RopIndex(Rop3::PatPaint): run([](auto p, auto s, auto d) { return p | ~s | d; }); return true;
    case RopIndex(Rop3::PatInvert): run([](auto p, auto, auto d) { return p ^ d; }); return true;
    case RopIndex(Rop3::DstInvert): run([](auto, auto, auto d) { return ~d; }); return true;
    case RopIndex(Rop3::Blackness): run([](auto p, auto, auto) { return p & 0u; }); return true;
    case RopIndex(Rop3::Whiteness): run([](auto p, auto, auto) { return p | ~0u; }); return true;
    case RopIndex(Rop3::Pdspdxax): run([](auto p, auto s, auto d) { return (s & d) | (~s & p); }); return true;
    case RopIndex(Rop3::Dspdxax): run([](auto p, auto s, auto d) { return (s & p) | (~s & d); }); return true;
    case RopIndex(Rop3::NoOp): run([](auto, auto, auto d) { return d; }); return true;
    default: return false;
  }
}

}  // namespace

std::uint32_t ApplyRop3(std::uint8_t index, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
  std::uint32_t result = 0;
  if (Common(index, [&](auto op) { result = op(p, s, d); })) return result;
  return ApplyRop3General(index, p, s, d);
}

void ApplyRop3Row(std::uint8_t index, std::span<const std::uint32_t> pattern,
                  std::span<const std::uint32_t> source, std::span<std::uint32_t> dst) {
  const bool uses_p = RopUsesPattern(index), uses_s = RopUsesSource(index);
  const std::size_t n = std::min({dst.size(), uses_p ? pattern.size() : dst.size(),
                                  uses_s ? source.size() : dst.size()});
  auto at = [](std::span<const std::uint32_t> row, std::size_t i) -> std::uint32_t {
    return i < row.size() ? row[i] : 0u;
  };
  auto loop = [&](auto op) {
    for (std::size_t i = 0; i < n; ++i)
      dst[i] = static_cast<std::uint32_t>(op(at(pattern, i), at(source, i), dst[i])) | kOpaque;
  };
  if (!Common(index, loop))
    loop([index](std::uint32_t p, std::uint32_t s, std::uint32_t d) {
      return ApplyRop3General(index, p, s, d);
    });
}

}  // namespace pw::gdi
