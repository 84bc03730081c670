#pragma once
// Bit-block transfers onto a DeviceContext: PatBlt, BitBlt and StretchBlt
// (one call; BitBlt is the unstretched case), StretchDIBits, SetDIBitsToDevice,
// MaskBlt, PlgBlt, AlphaBlend and TransparentBlt.
//
// Destinations are logical coordinates of the DC; sources are decoded
// bitmaps addressed in their own top-down pixels. Every transfer goes
// through the DC's transform and clip region; pattern operations use the
// DC's brush; reductions follow the DC's stretch-blt mode. Each returns
// false when it drew nothing because its arguments were unusable.
#include <array>
#include <cstdint>

#include <QImage>
#include <QPoint>
#include <QTransform>

#include "platform/gdi/dc/blit_plan.h"
#include "platform/gdi/dc/dib.h"
#include "platform/gdi/dc/gdi_objects.h"

namespace pw::gdi {

class DeviceContext;

struct BlitSource {
  QImage image;  // top-down; Format_RGB32 or Format_ARGB32
  DibAlpha alpha = DibAlpha::None;

  static BlitSource From(const DecodedDib& dib) { return {dib.image, dib.alpha}; }
};

// BLENDFUNCTION as AlphaBlend records carry it: one byte each, in order.
struct BlendFunction {
  std::uint8_t op = 0;  // AC_SRC_OVER is the only operation
  std::uint8_t flags = 0;
  std::uint8_t constant_alpha = 0xFF;
  std::uint8_t format = 0;  // AC_SRC_ALPHA (1): the source has premultiplied alpha

  static BlendFunction FromDword(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
  }
  bool SourceAlpha() const { return (format & 1) != 0; }
};

// A fill of the destination with the brush, under an operation that does
// not read a source (PATCOPY, PATINVERT, DSTINVERT, BLACKNESS, …).
bool PatBlt(DeviceContext& dc, BlitRect dest, std::uint32_t rop);

// BitBlt / StretchBlt from a bitmap. `source_transform` is the source DC's
// world transform (identity for DIB calls). An operation without a source
// is a PatBlt.
bool StretchBlt(DeviceContext& dc, BlitRect dest, const BlitSource& source, BlitRect src,
                std::uint32_t rop, const QTransform& source_transform = {});

// StretchDIBits: `src` in DIB coordinates, whose origin is the lower-left
// corner of a bottom-up DIB.
bool StretchDIBits(DeviceContext& dc, BlitRect dest, const BlitSource& source, BlitRect src,
                   bool bottom_up, std::uint32_t rop);

// SetDIBitsToDevice: unscaled, at the device position of `dest`. The
// source holds `scan_lines` rows starting at scan line `start_scan`; `src`
// is in DIB coordinates as for StretchDIBits.
bool SetDIBitsToDevice(DeviceContext& dc, QPoint dest, const BlitSource& source, BlitRect src,
                       std::uint32_t start_scan, std::uint32_t scan_lines, bool bottom_up);

// MaskBlt: where the monochrome mask has a 1 the foreground operation (bits
// 16-23 of rop4) applies, where 0 the background one (bits 24-31). Without
// a mask it is a BitBlt with the foreground operation.
bool MaskBlt(DeviceContext& dc, BlitRect dest, const BlitSource* source, QPoint src,
             const QImage* mask, QPoint mask_origin, std::uint32_t rop4,
             const QTransform& source_transform = {});

// PlgBlt: the source rectangle onto the parallelogram whose corners are
// dest[0] (source top-left), dest[1] (top-right) and dest[2] (bottom-left);
// with a mask, only where the mask has a 1.
bool PlgBlt(DeviceContext& dc, const std::array<QPoint, 3>& dest, const BlitSource& source,
            BlitRect src, const QImage* mask, QPoint mask_origin,
            const QTransform& source_transform = {});

// AlphaBlend: source over destination, with per-pixel premultiplied alpha
// (AC_SRC_ALPHA) scaled by the constant alpha.
bool AlphaBlend(DeviceContext& dc, BlitRect dest, const BlitSource& source, BlitRect src,
                BlendFunction blend, const QTransform& source_transform = {});

// TransparentBlt: a copy that leaves out source pixels of one colour.
bool TransparentBlt(DeviceContext& dc, BlitRect dest, const BlitSource& source, BlitRect src,
                    ColorRef transparent, const QTransform& source_transform = {});

}  // namespace pw::gdi
