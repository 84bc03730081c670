#include "platform/gdi/dc/dib.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <vector>

#include "platform/io/byte_reader.h"

namespace pw::gdi {
namespace {

constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;

tl::unexpected<DibError> Fail(std::string what) { return tl::unexpected(DibError{std::move(what)}); }

// The bound on bitmaps that a width and height go past, if any.
const limits::Limit* BoundPassed(std::int64_t width, std::int64_t height) {
  if (width > kMaxDibDimension || height > kMaxDibDimension) return &limits::kBitmapSide;
  if (width * height > kMaxDibPixels) return &limits::kBitmapPixels;
  return nullptr;
}

tl::unexpected<DibError> TooLarge(const limits::Limit* bound) {
  return tl::unexpected(DibError{"bitmap too large", bound});
}

std::uint8_t Byte(std::span<const std::byte> bytes, std::size_t offset) {
  return std::to_integer<std::uint8_t>(bytes[offset]);
}

QRgb Opaque(std::uint8_t r, std::uint8_t g, std::uint8_t b) { return qRgb(r, g, b); }

// Scales the field selected by `mask` to 8 bits the way GDI's DIB engine
// does: the top bits of the field, its high bits repeated once below.
struct Field {
  int shift = 0;
  int length = 0;

  static Field FromMask(std::uint32_t mask) {
    if (mask == 0) return {};
    return {std::countr_zero(mask), std::popcount(mask >> std::countr_zero(mask))};
  }

  std::uint8_t Extract(std::uint32_t pixel) const {
    if (length == 0) return 0;
    std::uint32_t field = (pixel >> shift) & ((length >= 32) ? 0xFFFFFFFFu : ((1u << length) - 1));
    if (length >= 8) return static_cast<std::uint8_t>(field >> (length - 8));
    field <<= (8 - length);
    field |= field >> length;
    return static_cast<std::uint8_t>(field);
  }
};

std::uint32_t TableEntrySize(const DibHeader& header, DibColorUsage usage) {
  if (usage == DibColorUsage::PalColors) return 2;
  return header.header_size == kCoreHeaderSize ? 3 : 4;
}

bool IsRle(DibCompression c) { return c == DibCompression::Rle4 || c == DibCompression::Rle8; }
bool IsEmbedded(DibCompression c) { return c == DibCompression::Jpeg || c == DibCompression::Png; }

tl::expected<DibHeader, DibError> ReadCoreHeader(std::span<const std::byte> info) {
  DibHeader header;
  header.header_size = kCoreHeaderSize;
  io::ByteReader reader(info);
  reader.Skip(4);  // the header size
  header.width = reader.U16();
  header.height = reader.U16();
  reader.Skip(2);  // planes
  header.bit_count = reader.U16();
  if (!reader.ok()) return Fail("bitmap core header truncated");
  if (header.bit_count <= 8) header.colors_used = 1u << header.bit_count;
  return header;
}

tl::expected<DibHeader, DibError> ReadInfoHeader(std::span<const std::byte> info,
                                                 std::uint32_t header_size) {
  DibHeader header;
  header.header_size = header_size;
  io::ByteReader reader(info);
  reader.Skip(4);  // the header size
  const std::int32_t signed_width = reader.I32();
  const std::int64_t signed_height = reader.I32();
  reader.Skip(2);  // planes
  const std::uint16_t bits = reader.U16();
  const std::uint32_t compression = reader.U32();
  const std::uint32_t size_image = reader.U32();
  reader.Skip(8);  // pixels per metre
  const std::uint32_t clr_used = reader.U32();
  if (!reader.ok()) return Fail("bitmap info header truncated");

  if (signed_width <= 0) return Fail("bitmap width is not positive");
  if (signed_height == 0) return Fail("bitmap height is zero");
  header.width = signed_width;
  header.top_down = signed_height < 0;
  const std::int64_t abs_height = signed_height < 0 ? -signed_height : signed_height;
  if (abs_height > kMaxDibDimension) return tl::unexpected(DibError{"bitmap height too large", &limits::kBitmapSide});
  header.height = static_cast<std::int32_t>(abs_height);
  header.bit_count = bits;
  if (compression > static_cast<std::uint32_t>(DibCompression::AlphaBitfields))
    return Fail("unknown bitmap compression");
  header.compression = static_cast<DibCompression>(compression);
  header.size_image = size_image;

  if (header.bit_count <= 8 && header.bit_count > 0) {
    const std::uint32_t full = 1u << header.bit_count;
    header.colors_used = (clr_used == 0) ? full : std::min(clr_used, full);
  } else {
    header.colors_used = clr_used;
  }

  // Masks: after a 40-byte header for BI_BITFIELDS, inside a larger one.
  const bool bitfields = header.compression == DibCompression::Bitfields ||
                         header.compression == DibCompression::AlphaBitfields;
  if (bitfields) {
    const bool with_alpha = header.compression == DibCompression::AlphaBitfields ||
                            header_size >= 56;
    reader.Seek(kInfoHeaderSize);
    header.red_mask = reader.U32();
    header.green_mask = reader.U32();
    header.blue_mask = reader.U32();
    if (!reader.ok()) return Fail("bitmap colour masks truncated");
    if (with_alpha) {
      header.alpha_mask = reader.U32();
      if (!reader.ok()) return Fail("bitmap alpha mask truncated");
    }
  }
  return header;
}

bool FormatIsValid(const DibHeader& h) {
  switch (h.compression) {
    case DibCompression::Rgb:
      return h.bit_count == 1 || h.bit_count == 4 || h.bit_count == 8 || h.bit_count == 16 ||
             h.bit_count == 24 || h.bit_count == 32;
    case DibCompression::Rle8: return h.bit_count == 8 && !h.top_down;
    case DibCompression::Rle4: return h.bit_count == 4 && !h.top_down;
    case DibCompression::Bitfields:
    case DibCompression::AlphaBitfields: return h.bit_count == 16 || h.bit_count == 32;
    case DibCompression::Jpeg:
    case DibCompression::Png: return true;
  }
  return false;
}

// The colour table resolved to colours; entries the info block lacks stay black.
std::array<QRgb, 256> ResolveTable(std::span<const std::byte> info, const DibHeader& header,
                                   const DibOptions& options) {
  std::array<QRgb, 256> table;
  table.fill(qRgb(0, 0, 0));
  if (options.usage == DibColorUsage::PalMono) {
    table[1] = qRgb(0xFF, 0xFF, 0xFF);
    return table;
  }
  const std::uint32_t entry = TableEntrySize(header, options.usage);
  const auto palette = options.palette.empty() ? DefaultPalette() : options.palette;
  const std::uint32_t count = std::min<std::uint32_t>(header.colors_used, 256);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t at = header.table_offset + std::size_t{i} * entry;
    if (at > info.size() || info.size() - at < entry) break;
    io::ByteReader reader(info.subspan(at, entry));
    if (options.usage == DibColorUsage::PalColors) {
      table[i] = palette[reader.U16() % palette.size()] | 0xFF000000u;
    } else {
      const std::uint8_t blue = reader.U8(), green = reader.U8(), red = reader.U8();
      table[i] = Opaque(red, green, blue);
    }
  }
  return table;
}

bool IsBlackThenWhite(const std::array<QRgb, 256>& table, std::span<const std::byte> info,
                      const DibHeader& header, const DibOptions& options) {
  if (header.bit_count != 1) return false;
  if (options.usage == DibColorUsage::PalMono) return true;
  if (header.colors_used < 2 || table[0] != qRgb(0, 0, 0) || table[1] != qRgb(0xFF, 0xFF, 0xFF))
    return false;
  if (options.usage != DibColorUsage::RgbColors || TableEntrySize(header, options.usage) != 4)
    return true;
  // An RGBQUAD's reserved byte must be zero too.
  return Byte(info, header.table_offset + 3) == 0 && Byte(info, header.table_offset + 7) == 0;
}

// The bits that carry alpha, for the formats whose fourth byte AlphaBlend
// reads: 32-bit BI_RGB, an explicit alpha mask, and 32-bit bitfields with the
// standard colour masks, which GDI treats exactly like BI_RGB.
std::uint32_t AlphaMask(const DibHeader& h) {
  if (h.alpha_mask != 0) return h.alpha_mask;
  if (h.bit_count != 32) return 0;
  if (h.compression == DibCompression::Rgb) return 0xFF000000u;
  const bool standard = h.red_mask == 0xFF0000 && h.green_mask == 0x00FF00 && h.blue_mask == 0x0000FF;
  return standard ? 0xFF000000u : 0;
}

tl::expected<QImage, DibError> AllocateImage(std::int64_t width, std::int64_t height,
                                             QImage::Format format) {
  if (width <= 0 || height <= 0) return Fail("bitmap is empty");
  if (const limits::Limit* bound = BoundPassed(width, height)) return TooLarge(bound);
  QImage image(static_cast<int>(width), static_cast<int>(height), format);
  if (image.isNull()) return Fail("bitmap could not be allocated");
  return image;
}

// Uncompressed rows of 1 to 32 bits per pixel.
tl::expected<QImage, DibError> DecodeRows(std::span<const std::byte> bits, const DibHeader& header,
                                          const std::array<QRgb, 256>& table, std::uint32_t rows,
                                          bool keep_alpha) {
  const std::uint64_t stride =
      ((static_cast<std::uint64_t>(header.width) * header.bit_count + 31) / 32) * 4;
  if (stride * rows > bits.size()) return Fail("bitmap bits shorter than the image");
  auto allocated = AllocateImage(header.width, rows,
                                 keep_alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  if (!allocated) return allocated;
  QImage image = std::move(*allocated);

  std::uint32_t red_mask = header.red_mask, green_mask = header.green_mask,
                blue_mask = header.blue_mask;
  if (header.compression == DibCompression::Rgb) {
    red_mask = header.bit_count == 16 ? 0x7C00 : 0xFF0000;
    green_mask = header.bit_count == 16 ? 0x03E0 : 0x00FF00;
    blue_mask = header.bit_count == 16 ? 0x001F : 0x0000FF;
  }
  const Field red = Field::FromMask(red_mask), green = Field::FromMask(green_mask),
              blue = Field::FromMask(blue_mask);
  const Field alpha = Field::FromMask(AlphaMask(header));
  const int width = header.width;
  const unsigned bpp = header.bit_count;

  for (std::uint32_t row = 0; row < rows; ++row) {
    const auto src = bits.subspan(static_cast<std::size_t>(stride * row), static_cast<std::size_t>(stride));
    const int y = header.top_down ? static_cast<int>(row) : static_cast<int>(rows - 1 - row);
    auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
    io::ByteReader words(src);  // 16- and 32-bit pixels, one after another
    for (int x = 0; x < width; ++x) {
      switch (bpp) {
        case 1: out[x] = table[(Byte(src, x / 8) >> (7 - x % 8)) & 1]; break;
        case 4: out[x] = table[(Byte(src, x / 2) >> (x % 2 ? 0 : 4)) & 0xF]; break;
        case 8: out[x] = table[Byte(src, x)]; break;
        case 24: out[x] = Opaque(Byte(src, 3 * x + 2), Byte(src, 3 * x + 1), Byte(src, 3 * x)); break;
        case 16:
        case 32: {
          const std::uint32_t pixel = bpp == 16 ? words.U16() : words.U32();
          const std::uint8_t a = keep_alpha ? alpha.Extract(pixel) : 0xFF;
          out[x] = qRgba(red.Extract(pixel), green.Extract(pixel), blue.Extract(pixel), a);
          break;
        }
      }
    }
  }
  return image;
}

// BI_RLE8 / BI_RLE4, always bottom-up. Pixels the data skips (deltas, early
// ends of line or bitmap) stay transparent; runs past the right edge are
// clipped, not wrapped; data that ends without an end-of-bitmap mark ends
// the picture where it stops.
tl::expected<QImage, DibError> DecodeRle(std::span<const std::byte> bits, const DibHeader& header,
                                         const std::array<QRgb, 256>& table) {
  auto allocated = AllocateImage(header.width, header.height, QImage::Format_ARGB32);
  if (!allocated) return allocated;
  QImage image = std::move(*allocated);
  image.fill(Qt::transparent);

  const bool four = header.compression == DibCompression::Rle4;
  const std::int64_t width = header.width, height = header.height;
  std::int64_t x = 0, line = 0;  // line 0 is the bottom row
  auto put = [&](std::uint8_t index) {
    if (x < width && line < height)
      reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(height - 1 - line)))[x] = table[index];
    ++x;
  };

  std::size_t at = 0;
  while (line < height && bits.size() - at >= 2) {
    const std::uint8_t count = Byte(bits, at), value = Byte(bits, at + 1);
    at += 2;
    if (count > 0) {  // encoded run
      for (unsigned i = 0; i < count; ++i)
        put(four ? ((i % 2 == 0) ? value >> 4 : value & 0xF) : value);
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++line;
    } else if (value == 1) {  // end of bitmap
      break;
    } else if (value == 2) {  // delta
      if (bits.size() - at < 2) break;
      x += Byte(bits, at);
      line += Byte(bits, at + 1);
      at += 2;
    } else {  // absolute run of `value` pixels, padded to 16 bits
      const std::size_t bytes = four ? (value + 1u) / 2 : value;
      const std::size_t padded = (bytes + 1) & ~std::size_t{1};
      if (bits.size() - at < bytes) break;
      for (unsigned i = 0; i < value; ++i) {
        const std::uint8_t b = Byte(bits, at + (four ? i / 2 : i));
        put(four ? ((i % 2 == 0) ? b >> 4 : b & 0xF) : b);
      }
      at += std::min(padded, bits.size() - at);
    }
  }
  return image;
}

bool AllOpaque(const QImage& image) {
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(row[x]) != 0xFF) return false;
  }
  return true;
}

tl::expected<DecodedDib, DibError> DecodeEmbedded(std::span<const std::byte> bits,
                                                  const DibHeader& header) {
  std::size_t length = bits.size();
  if (header.size_image != 0) {
    if (header.size_image > bits.size()) return Fail("embedded image runs past its bits");
    length = header.size_image;
  }
  QByteArray data(reinterpret_cast<const char*>(bits.data()), static_cast<qsizetype>(length));
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, header.compression == DibCompression::Png ? "png" : "jpeg");
  const QSize size = reader.size();
  if (!size.isValid()) return Fail("embedded image unreadable");
  if (const limits::Limit* bound = BoundPassed(size.width(), size.height())) return TooLarge(bound);
  QImage decoded = reader.read();
  if (decoded.isNull()) return Fail("embedded image unreadable");

  DecodedDib result;
  result.bit_count = header.bit_count;
  result.top_down = true;
  if (decoded.hasAlphaChannel()) {
    // GDI reads a 32-bit source's alpha as premultiplied.
    result.image = decoded.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    result.image.reinterpretAsFormat(QImage::Format_ARGB32);
    result.alpha = DibAlpha::Channel;
  } else {
    result.image = decoded.convertToFormat(QImage::Format_RGB32);
  }
  if (result.image.isNull()) return Fail("embedded image unreadable");
  return result;
}

}  // namespace

QImage DecodedDib::Opaque() const {
  if (alpha == DibAlpha::None) return image;
  QImage opaque = image.convertToFormat(QImage::Format_RGB32);
  return opaque;
}

std::span<const QRgb> DefaultPalette() {
  static constexpr std::array<QRgb, 20> kPalette = {
      0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080, 0xFF008080,
      0xFFC0C0C0, 0xFFC0DCC0, 0xFFA6CAF0, 0xFFFFFBF0, 0xFFA0A0A4, 0xFF808080, 0xFFFF0000,
      0xFF00FF00, 0xFFFFFF00, 0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF};
  return kPalette;
}

tl::expected<DibHeader, DibError> ReadDibHeader(std::span<const std::byte> info,
                                                DibColorUsage usage) {
  io::ByteReader reader(info);
  const std::uint32_t header_size = reader.U32();
  if (!reader.ok()) return Fail("bitmap info too short");
  tl::expected<DibHeader, DibError> parsed = Fail("unknown bitmap header size");
  if (header_size == kCoreHeaderSize) {
    parsed = ReadCoreHeader(info);
  } else if (header_size >= kInfoHeaderSize) {
    if (header_size > info.size()) return Fail("bitmap info header truncated");
    parsed = ReadInfoHeader(info, header_size);
  }
  if (!parsed) return parsed;
  DibHeader& header = *parsed;

  if (!FormatIsValid(header)) return Fail("unsupported bitmap format");
  if (const limits::Limit* bound = BoundPassed(header.width, header.height)) return TooLarge(bound);
  if (usage == DibColorUsage::PalMono && header.bit_count != 1)
    return Fail("monochrome usage with a colour bitmap");

  std::size_t masks = 0;
  if (header.header_size == kInfoHeaderSize) {
    if (header.compression == DibCompression::Bitfields) masks = 12;
    if (header.compression == DibCompression::AlphaBitfields) masks = 16;
  }
  header.table_offset = header.header_size + masks;
  const std::uint64_t table_entries = usage == DibColorUsage::PalMono ? 0 : header.colors_used;
  const std::uint64_t table_bytes = table_entries * TableEntrySize(header, usage);
  header.info_size = static_cast<std::size_t>(
      std::min<std::uint64_t>(header.table_offset + table_bytes, std::numeric_limits<std::size_t>::max()));
  return header;
}

tl::expected<DecodedDib, DibError> DecodeDib(std::span<const std::byte> info,
                                             std::span<const std::byte> bits,
                                             const DibOptions& options) {
  auto parsed = ReadDibHeader(info, options.usage);
  if (!parsed) return tl::unexpected(parsed.error());
  const DibHeader& header = *parsed;
  if (IsEmbedded(header.compression)) return DecodeEmbedded(bits, header);

  const auto table = ResolveTable(info, header, options);
  DecodedDib result;
  result.bit_count = header.bit_count;
  result.top_down = header.top_down;
  result.monochrome = IsBlackThenWhite(table, info, header, options);

  if (IsRle(header.compression)) {
    std::span<const std::byte> data = bits;
    if (header.size_image != 0 && header.size_image < bits.size()) data = bits.first(header.size_image);
    auto image = DecodeRle(data, header, table);
    if (!image) return tl::unexpected(image.error());
    result.image = std::move(*image);
    result.alpha = DibAlpha::Holes;
    if (AllOpaque(result.image)) {
      result.image = result.image.convertToFormat(QImage::Format_RGB32);
      result.alpha = DibAlpha::None;
    }
    return result;
  }

  const std::uint32_t rows = options.scan_lines
                                 ? std::min<std::uint32_t>(*options.scan_lines, header.height)
                                 : static_cast<std::uint32_t>(header.height);
  const bool keep_alpha = AlphaMask(header) != 0;
  auto image = DecodeRows(bits, header, table, rows, keep_alpha);
  if (!image) return tl::unexpected(image.error());
  result.image = std::move(*image);
  result.alpha = keep_alpha ? DibAlpha::Channel : DibAlpha::None;
  return result;
}

tl::expected<DecodedDib, DibError> DecodeDibAt(std::span<const std::byte> record,
                                               std::uint32_t info_offset, std::uint32_t info_size,
                                               std::uint32_t bits_offset, std::uint32_t bits_size,
                                               const DibOptions& options) {
  auto inside = [&](std::uint32_t offset, std::uint32_t size) {
    return offset <= record.size() && size <= record.size() - offset;
  };
  if (info_size == 0 || !inside(info_offset, info_size)) return Fail("bitmap info outside the record");
  if (!inside(bits_offset, bits_size)) return Fail("bitmap bits outside the record");
  return DecodeDib(record.subspan(info_offset, info_size), record.subspan(bits_offset, bits_size),
                   options);
}

tl::expected<DecodedDib, DibError> DecodePackedDib(std::span<const std::byte> packed,
                                                   const DibOptions& options) {
  auto header = ReadDibHeader(packed, options.usage);
  if (!header) return tl::unexpected(header.error());
  if (header->info_size > packed.size()) return Fail("bitmap colour table runs past the data");
  return DecodeDib(packed.first(header->info_size), packed.subspan(header->info_size), options);
}

QImage ColorizeMonochrome(const QImage& mono, std::uint32_t text_colorref,
                          std::uint32_t bk_colorref) {
  auto to_rgb = [](std::uint32_t c) { return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); };
  const QRgb fore = to_rgb(text_colorref), back = to_rgb(bk_colorref);
  QImage source = mono.convertToFormat(QImage::Format_RGB32);
  QImage out(source.size(), QImage::Format_RGB32);
  for (int y = 0; y < source.height(); ++y) {
    const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
    auto* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < source.width(); ++x) dst[x] = (in[x] & 0xFFFFFF) == 0 ? fore : back;
  }
  return out;
}

}  // namespace pw::gdi
