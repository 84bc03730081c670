#include "platform/gdi/glyph_raster.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <array>
#include <cmath>
#include <map>
#include <tuple>

namespace pw::gdi {
namespace {

// Glyph images larger than this (pixels a side) are not made: such text is a
// page-sized letter, and a bigger bitmap is an attack on memory, not text.
constexpr int kMaxGlyphSide = 4096;
// Glyph images kept per thread before the cache starts afresh: a page of
// huge letters must not pile up memory.
constexpr std::size_t kMaxCachedBytes = std::size_t{64} << 20;

// Alpha per coverage level 0..16 of smoothed text: the levels Wine's DIB
// engine blends black text on white with (measured on its renders; the
// lowest level leaves the page untouched).
constexpr std::array<std::uint8_t, 17> kSmoothing{0,  0,  15,  22,  30,  38,  47,  56, 66,
                                                  77, 88, 101, 115, 131, 151, 178, 255};

FT_Fixed ToFixed(double v) { return static_cast<FT_Fixed>(std::lround(v * 65536.0)); }

using CacheKey = std::tuple<const FontFile*, int, FT_Fixed, FT_Fixed, FT_Fixed, FT_Fixed, bool, bool, std::uint32_t>;

class ThreadRasterizer {
 public:
  ThreadRasterizer() {
    if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
  }
  ~ThreadRasterizer() {
    for (auto& [file, face] : faces_) FT_Done_Face(face);
    if (library_) FT_Done_FreeType(library_);
  }
  ThreadRasterizer(const ThreadRasterizer&) = delete;
  ThreadRasterizer& operator=(const ThreadRasterizer&) = delete;

  std::uint32_t Index(const FontFile& file, char32_t c) {
    FT_Face face = Face(&file);
    return face ? static_cast<std::uint32_t>(FT_Get_Char_Index(face, c)) : 0;
  }

  const GlyphImage& Glyph(const GlyphRasterKey& key, std::uint32_t glyph) {
    // FreeType's y axis points up: conjugate the y-down transform by a flip.
    FT_Matrix m{ToFixed(key.outline.m11()), ToFixed(-key.outline.m21()), ToFixed(-key.outline.m12()),
                ToFixed(key.outline.m22())};
    CacheKey ck{key.file, key.ppem, m.xx, m.xy, m.yx, m.yy, key.smooth, key.hinted, glyph};
    if (auto it = glyphs_.find(ck); it != glyphs_.end()) return it->second;
    GlyphImage image = Render(key, m, glyph);
    // Room for the tinted copy is counted up front: four bytes a pixel.
    const std::size_t bytes = static_cast<std::size_t>(image.coverage.sizeInBytes()) * 5 + sizeof(GlyphImage) + 64;
    if (cached_bytes_ + bytes > kMaxCachedBytes) {
      glyphs_.clear();
      cached_bytes_ = 0;
    }
    cached_bytes_ += bytes;
    return glyphs_.emplace(ck, std::move(image)).first->second;
  }

 private:
  FT_Face Face(const FontFile* file) {
    if (auto it = faces_.find(file); it != faces_.end()) return it->second;
    FT_Face face = nullptr;
    if (!library_ ||
        FT_New_Memory_Face(library_, reinterpret_cast<const FT_Byte*>(file->data.constData()),
                           static_cast<FT_Long>(file->data.size()), file->index, &face) != 0) {
      face = nullptr;
    }
    // Prefer the Unicode cmap; symbol fonts may only have the symbol one.
    if (face && FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0) FT_Select_Charmap(face, FT_ENCODING_MS_SYMBOL);
    faces_.emplace(file, face);
    return face;
  }

  GlyphImage Render(const GlyphRasterKey& key, FT_Matrix matrix, std::uint32_t glyph) {
    GlyphImage out;
    FT_Face face = key.file ? Face(key.file) : nullptr;
    if (!face || key.ppem <= 0) return out;
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(key.ppem)) != 0) return out;
    const bool identity = matrix.xx == 0x10000 && matrix.yy == 0x10000 && matrix.xy == 0 && matrix.yx == 0;
    FT_Set_Transform(face, identity ? nullptr : &matrix, nullptr);
    // Bilevel, untransformed glyphs may come from the font's embedded bitmaps
    // (Wine's Tahoma has them), as GDI takes them.
    FT_Int32 flags = FT_LOAD_DEFAULT | FT_LOAD_IGNORE_GLOBAL_ADVANCE_WIDTH;
    if (key.smooth || !identity) flags |= FT_LOAD_NO_BITMAP;
    if (!key.smooth) flags |= FT_LOAD_TARGET_MONO;
    if (!key.hinted) flags |= FT_LOAD_NO_HINTING;
    if (FT_Load_Glyph(face, glyph, flags) != 0) return out;
    FT_GlyphSlot slot = face->glyph;
    out.valid = true;
    out.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    if (slot->format != FT_GLYPH_FORMAT_BITMAP) {
      FT_BBox box;
      FT_Outline_Get_CBox(&slot->outline, &box);
      if ((box.xMax - box.xMin) / 64 > kMaxGlyphSide || (box.yMax - box.yMin) / 64 > kMaxGlyphSide) return out;
      if (FT_Render_Glyph(slot, key.smooth ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0) return out;
    }
    const FT_Bitmap& bm = slot->bitmap;
    if (bm.width == 0 || bm.rows == 0) return out;
    if (bm.width > static_cast<unsigned>(kMaxGlyphSide) || bm.rows > static_cast<unsigned>(kMaxGlyphSide)) {
      return out;
    }
    QImage image(static_cast<int>(bm.width), static_cast<int>(bm.rows), QImage::Format_Alpha8);
    if (image.isNull()) return out;
    for (unsigned y = 0; y < bm.rows; ++y) {
      const unsigned char* src = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
      uchar* dst = image.scanLine(static_cast<int>(y));
      for (unsigned x = 0; x < bm.width; ++x) {
        if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
          dst[x] = (src[x / 8] & (0x80 >> (x % 8))) ? 255 : 0;
        } else if (!key.smooth) {
          dst[x] = src[x] >= 128 ? 255 : 0;
        } else {
          dst[x] = SmoothingAlpha((src[x] * 17) >> 8);  // 17 levels, as GGO_GRAY4_BITMAP
        }
      }
    }
    out.coverage = std::move(image);
    out.offset = QPoint(slot->bitmap_left, -slot->bitmap_top);
    return out;
  }

  FT_Library library_ = nullptr;
  std::map<const FontFile*, FT_Face> faces_;
  std::map<CacheKey, GlyphImage> glyphs_;
  std::size_t cached_bytes_ = 0;
};

ThreadRasterizer& Rasterizer() {
  thread_local ThreadRasterizer rasterizer;
  return rasterizer;
}

}  // namespace

const QImage& GlyphImage::Tinted(QRgb color) const {
  if (coverage.isNull() || (!tinted_.isNull() && tint_ == color)) return tinted_;
  QImage out(coverage.size(), QImage::Format_ARGB32_Premultiplied);
  if (out.isNull()) {
    tinted_ = QImage();
    return tinted_;
  }
  const int r = qRed(color), g = qGreen(color), b = qBlue(color);
  const int width = coverage.width();
  for (int y = 0; y < coverage.height(); ++y) {
    const uchar* src = coverage.constScanLine(y);
    auto* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < width; ++x) {
      const int a = src[x];
      dst[x] = qRgba(r * a / 255, g * a / 255, b * a / 255, a);
    }
  }
  tinted_ = std::move(out);
  tint_ = color;
  return tinted_;
}

std::uint8_t SmoothingAlpha(int level) {
  if (level <= 0) return 0;
  if (level >= 16) return 255;
  return kSmoothing[static_cast<std::size_t>(level)];
}

const GlyphImage& RasterizeGlyph(const GlyphRasterKey& key, std::uint32_t glyph) {
  return Rasterizer().Glyph(key, glyph);
}

std::uint32_t GlyphForChar(const FontFile& file, char32_t c) { return Rasterizer().Index(file, c); }

}  // namespace pw::gdi
