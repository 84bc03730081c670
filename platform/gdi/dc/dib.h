#pragma once
// Device-independent bitmaps: a BITMAPINFO (header and colour table) and its
// pixel bits, as EMF records carry them, decoded into a top-down QImage.
//
// Every size, offset and stride is computed with overflow checks against the
// bytes given, and dimensions are capped before anything is allocated, so a
// hostile header cannot make the decoder read past its input or allocate
// without bound.
#include <QImage>
#include <QRgb>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include <tl/expected.hpp>

#include "platform/limits/limits.h"

namespace pw::gdi {

// How the colour table of a DIB is to be read (the iUsage fields of records).
enum class DibColorUsage : std::uint32_t {
  RgbColors = 0,  // RGBQUAD entries
  PalColors = 1,  // 16-bit indices into the logical palette
  PalMono = 2,    // undocumented: 1 bpp, no table, rows 32-bit aligned
};

enum class DibCompression : std::uint32_t {
  Rgb = 0,
  Rle8 = 1,
  Rle4 = 2,
  Bitfields = 3,
  Jpeg = 4,
  Png = 5,
  AlphaBitfields = 6,
};

// What the fourth byte of a decoded pixel means.
enum class DibAlpha {
  None,     // opaque; image is Format_RGB32
  Channel,  // the source's own alpha byte, unmodified; image is Format_ARGB32
  Holes,    // RLE pixels the data skipped are 0 alpha, written ones 0xFF;
            // a blit leaves the destination untouched under the holes
};

// The parsed header; enough to size a blit before decoding.
struct DibHeader {
  std::uint32_t header_size = 0;  // 12 (core), 40, 52, 56, 108 (V4), 124 (V5)
  std::int32_t width = 0;
  std::int32_t height = 0;  // always positive here; see top_down
  bool top_down = false;
  std::uint16_t bit_count = 0;
  DibCompression compression = DibCompression::Rgb;
  std::uint32_t size_image = 0;
  std::uint32_t colors_used = 0;  // table entries after the clrUsed rules
  std::uint32_t red_mask = 0, green_mask = 0, blue_mask = 0, alpha_mask = 0;
  std::size_t table_offset = 0;  // where the colour table starts in the info bytes
  std::size_t info_size = 0;     // header + masks + colour table, in bytes
};

struct DecodedDib {
  QImage image;  // top-down, width × height (or × scan lines given)
  DibAlpha alpha = DibAlpha::None;
  std::uint16_t bit_count = 0;
  // Whether the DIB's own coordinates start at the top row (top-down DIBs
  // and embedded JPEG/PNG); a bottom-up DIB counts rows from the bottom.
  bool top_down = false;
  // A 1-bit DIB whose table is black then white (or DIB_PAL_MONO): GDI turns
  // it into a monochrome bitmap, which takes the DC's colours when drawn.
  bool monochrome = false;

  // The picture without its alpha byte: what every operation but AlphaBlend sees.
  QImage Opaque() const;
};

struct DibError {
  std::string what;
  // The bound on bitmaps the DIB went past, when that is why it was refused.
  const limits::Limit* limit = nullptr;
};

// Largest width or height accepted, and largest pixel count.
inline constexpr std::int64_t kMaxDibDimension = limits::kBitmapSide.value;
inline constexpr std::int64_t kMaxDibPixels = limits::kBitmapPixels.value;

struct DibOptions {
  DibColorUsage usage = DibColorUsage::RgbColors;
  // The logical palette that DIB_PAL_COLORS indices select from; the default
  // palette when empty.
  std::span<const QRgb> palette = {};
  // Bits hold only this many scan lines (SetDIBitsToDevice's cScans); the
  // result then has that many rows, the first scan line of the bits at the
  // bottom for a bottom-up DIB.
  std::optional<std::uint32_t> scan_lines = {};
};

// Reads the header and the layout of the info block without decoding pixels.
tl::expected<DibHeader, DibError> ReadDibHeader(std::span<const std::byte> info,
                                                DibColorUsage usage = DibColorUsage::RgbColors);

// Decodes a split DIB: `info` is the BITMAPINFO (header, masks, colour
// table), `bits` the pixel data.
tl::expected<DecodedDib, DibError> DecodeDib(std::span<const std::byte> info,
                                             std::span<const std::byte> bits,
                                             const DibOptions& options = {});

// Decodes a DIB inside a record: the info block and the bits are given by
// offsets and sizes from the start of `record`; refused when either range
// does not lie inside it.
tl::expected<DecodedDib, DibError> DecodeDibAt(std::span<const std::byte> record,
                                               std::uint32_t info_offset, std::uint32_t info_size,
                                               std::uint32_t bits_offset, std::uint32_t bits_size,
                                               const DibOptions& options = {});

// Decodes a packed DIB: the info block immediately followed by the bits.
tl::expected<DecodedDib, DibError> DecodePackedDib(std::span<const std::byte> packed,
                                                   const DibOptions& options = {});

// GDI's default logical palette (DEFAULT_PALETTE, 20 entries).
std::span<const QRgb> DefaultPalette();

// A monochrome bitmap drawn on a colour surface: 0 bits (black) take the
// text colour, 1 bits (white) the background colour. `mono` is a decoded
// monochrome DIB; the colours are COLORREF values (0x00BBGGRR).
QImage ColorizeMonochrome(const QImage& mono, std::uint32_t text_colorref,
                          std::uint32_t bk_colorref);

}  // namespace pw::gdi
