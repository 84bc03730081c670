#pragma once
// Bitmap records for the player tests, laid out field by field, and a small
// harness that plays a picture 1:1 into a white 100 × 100 surface.
#include <QImage>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/gdi/dc/device_context.h"
#include "platform/gdi/emf/emf_writer.h"
#include "platform/gdi/emf/gdi_enums.h"
#include "platform/gdi/emf/metafile.h"
#include "platform/gdi/player/player.h"
#include "platform/gdi/dc/surface.h"
#include "tests/gdi_bitmaps/dib_bytes.h"

namespace pw::test {

// A ROP code as a blit record carries it.
constexpr std::uint32_t Rop(gdi::Rop3 rop) { return static_cast<std::uint32_t>(rop); }

struct TestDib {
  Bytes info;
  Bytes bits;
};

// A bottom-up 24-bit DIB from pixels given top row first as 0xRRGGBB.
inline TestDib Dib24(int width, int height, const std::vector<std::uint32_t>& rows_top_first) {
  TestDib dib{InfoHeader(width, height, 24), {}};
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t rgb = rows_top_first[static_cast<std::size_t>(y * width + x)];
      PutU8(dib.bits, rgb);
      PutU8(dib.bits, rgb >> 8);
      PutU8(dib.bits, rgb >> 16);
    }
    while (dib.bits.size() % 4) PutU8(dib.bits, 0);
  }
  return dib;
}

// A top-down 32-bit DIB from raw 0xAARRGGBB pixels.
inline TestDib Dib32(int width, int height, const std::vector<std::uint32_t>& pixels) {
  TestDib dib{InfoHeader(width, -height, 32), {}};
  for (std::uint32_t p : pixels) PutU32(dib.bits, p);
  return dib;
}

struct Rect4 {
  std::int32_t x, y, cx, cy;
};

inline void PutBitmap(gdi::RecordBuilder& b, std::size_t offset, const TestDib* dib, bool usage_first) {
  const std::uint32_t info = dib ? static_cast<std::uint32_t>(offset) : 0;
  const std::uint32_t info_size = dib ? static_cast<std::uint32_t>(dib->info.size()) : 0;
  const std::uint32_t bits = dib ? info + info_size : 0;
  const std::uint32_t bits_size = dib ? static_cast<std::uint32_t>(dib->bits.size()) : 0;
  if (usage_first) b.U32(0);
  b.U32(info).U32(info_size).U32(bits).U32(bits_size);
}

inline void PutIdentity(gdi::RecordBuilder& b) { b.F32(1).F32(0).F32(0).F32(1).F32(0).F32(0); }

inline void PutPayload(gdi::RecordBuilder& b, const TestDib* dib) {
  if (!dib) return;
  b.Bytes(dib->info);
  b.Bytes(dib->bits);
}

// EMR_BITBLT (no source extent) or EMR_STRETCHBLT / EMR_ALPHABLEND /
// EMR_TRANSPARENTBLT (with one); `op` is the rop, blend function or colour.
inline gdi::RecordBuilder BltRecord(Rect4 dest, std::uint32_t op, std::int32_t x_src, std::int32_t y_src,
                                    const TestDib* dib, std::optional<Rect4> src_extent = {}) {
  gdi::RecordBuilder b;
  b.Rect({0, 0, 0, 0}).I32(dest.x).I32(dest.y).I32(dest.cx).I32(dest.cy).U32(op).I32(x_src).I32(y_src);
  PutIdentity(b);
  b.U32(0xFFFFFF);  // crBkColorSrc
  PutBitmap(b, src_extent ? 108 : 100, dib, true);
  if (src_extent) b.I32(src_extent->cx).I32(src_extent->cy);
  PutPayload(b, dib);
  return b;
}

inline gdi::RecordBuilder StretchDIBitsRecord(Rect4 dest, Rect4 src, const TestDib& dib,
                                              std::uint32_t rop = Rop(gdi::Rop3::SrcCopy)) {
  gdi::RecordBuilder b;
  b.Rect({0, 0, 0, 0}).I32(dest.x).I32(dest.y).I32(src.x).I32(src.y).I32(src.cx).I32(src.cy);
  PutBitmap(b, 80, &dib, false);
  b.U32(0).U32(rop).I32(dest.cx).I32(dest.cy);
  PutPayload(b, &dib);
  return b;
}

inline gdi::RecordBuilder SetDIBitsRecord(std::int32_t x, std::int32_t y, Rect4 src, std::uint32_t start_scan,
                                          std::uint32_t scans, const TestDib& dib) {
  gdi::RecordBuilder b;
  b.Rect({0, 0, 0, 0}).I32(x).I32(y).I32(src.x).I32(src.y).I32(src.cx).I32(src.cy);
  PutBitmap(b, 76, &dib, false);
  b.U32(0).U32(start_scan).U32(scans);
  PutPayload(b, &dib);
  return b;
}

// EMR_MASKBLT with an optional source and mask.
inline gdi::RecordBuilder MaskBltRecord(Rect4 dest, std::uint32_t rop4, const TestDib* source,
                                        const TestDib* mask) {
  gdi::RecordBuilder b;
  b.Rect({0, 0, 0, 0}).I32(dest.x).I32(dest.y).I32(dest.cx).I32(dest.cy).U32(rop4).I32(0).I32(0);
  PutIdentity(b);
  b.U32(0xFFFFFF);
  const std::size_t source_at = 128;
  const std::size_t mask_at = source_at + (source ? source->info.size() + source->bits.size() : 0);
  PutBitmap(b, source_at, source, true);
  b.I32(0).I32(0);
  PutBitmap(b, mask_at, mask, true);
  PutPayload(b, source);
  PutPayload(b, mask);
  return b;
}

// EMR_PLGBLT onto the parallelogram of three points, without a mask.
inline gdi::RecordBuilder PlgBltRecord(const std::array<gdi::PointL, 3>& points, Rect4 src, const TestDib& dib) {
  gdi::RecordBuilder b;
  b.Rect({0, 0, 0, 0});
  for (const auto& p : points) b.Point(p);
  b.I32(src.x).I32(src.y).I32(src.cx).I32(src.cy);
  PutIdentity(b);
  b.U32(0xFFFFFF);
  PutBitmap(b, 140, &dib, true);
  b.I32(0).I32(0);
  PutBitmap(b, 0, nullptr, true);
  PutPayload(b, &dib);
  return b;
}

struct Played {
  QImage image;
  gdi::PlayReport report;
  bool ok = false;
};

// Plays the writer's picture 1:1 into a white 100 × 100 surface.
inline Played Play(const gdi::EmfWriter& writer) {
  Played out;
  auto metafile = gdi::Metafile::FromBytes(writer.Finish());
  if (!metafile) return out;
  auto surface = gdi::Surface::Create(100, 100);
  if (!surface) return out;
  {
    gdi::DeviceContext dc(*surface);
    out.ok = gdi::PlayMetafile(dc, *metafile, gdi::RectL{0, 0, 100, 100}, &out.report);
  }
  out.image = surface->image().copy();
  return out;
}

}  // namespace pw::test
