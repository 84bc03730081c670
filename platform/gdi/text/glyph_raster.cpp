#include "platform/gdi/text/glyph_raster.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H
#include FT_OUTLINE_H

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <span>
#include <tuple>

namespace pw::gdi {
namespace {

// Glyph images larger than this (pixels a side) are not made: such text is a
// page-sized letter, and a bigger bitmap is an attack on memory, not text.
// Smoothed glyphs escape it by being drawn a part at a time.
constexpr int kMaxGlyphSide = 4096;
// Smoothed glyphs with more pixels than this are kept as outlines: at a high
// supersampling factor a letter spans many bands, and each band rasterises
// only its own rows of it.
constexpr std::int64_t kLargeGlyphPixels = std::int64_t{512} * 512;
// Glyph images kept per thread before the cache starts afresh: a page of
// huge letters must not pile up memory.
constexpr std::size_t kMaxCachedBytes = std::size_t{64} << 20;
constexpr std::size_t kMaxKeptOutlines = 2048;

// Alpha per coverage level 0..16 of smoothed text: the levels Wine's DIB
// engine blends black text on white with (measured on its renders; the
// lowest level leaves the page untouched).
constexpr std::array<std::uint8_t, 17> kSmoothing{0,  0,  15,  22,  30,  38,  47,  56, 66,
                                                  77, 88, 101, 115, 131, 151, 178, 255};

constexpr std::uint8_t LevelAlpha(int level) {
  if (level <= 0) return 0;
  if (level >= 16) return 255;
  return kSmoothing[static_cast<std::size_t>(level)];
}

// The alpha of each of FreeType's 256 grey values: 17 levels, as GGO_GRAY4_BITMAP.
constexpr std::array<std::uint8_t, 256> kGrayAlpha = [] {
  std::array<std::uint8_t, 256> out{};
  for (int v = 0; v < 256; ++v) out[static_cast<std::size_t>(v)] = LevelAlpha((v * 17) >> 8);
  return out;
}();

FT_Fixed ToFixed(double v) { return static_cast<FT_Fixed>(std::lround(v * 65536.0)); }

using CacheKey = std::tuple<const FontFile*, int, FT_Fixed, FT_Fixed, FT_Fixed, FT_Fixed, bool, bool, std::uint32_t>;

struct GlyphDeleter {
  void operator()(FT_Glyph glyph) const { FT_Done_Glyph(glyph); }
};

// Coverage spans of a rasterised window written into its image: FreeType's
// rows count up from the bottom of the whole glyph image.
struct SpanTarget {
  QImage* image;
  int left;  // the window's left column in the whole image
  int top;   // FreeType's row of the window's top row

  static void Write(int y, int count, const FT_Span* spans, void* user) {
    const auto& t = *static_cast<const SpanTarget*>(user);
    const int row = t.top - y;
    if (row < 0 || row >= t.image->height()) return;
    uchar* line = t.image->scanLine(row);
    for (const FT_Span& span : std::span(spans, static_cast<std::size_t>(count))) {
      const int from = std::max(0, span.x - t.left);
      const int to = std::min(t.image->width(), span.x + span.len - t.left);
      if (from < to) std::memset(line + from, kGrayAlpha[span.coverage], static_cast<std::size_t>(to - from));
    }
  }
};

// A large glyph's hinted outline and where its whole image would lie.
struct KeptOutline {
  std::unique_ptr<FT_GlyphRec, GlyphDeleter> glyph;
  QPoint offset;
  QSize size;
};

class ThreadRasterizer {
 public:
  ThreadRasterizer() {
    if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
  }
  ~ThreadRasterizer() {
    glyphs_.clear();
    outlines_.clear();
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
    FT_Matrix m;
    const CacheKey ck = Key(key, glyph, m);
    if (auto it = glyphs_.find(ck); it != glyphs_.end()) return it->second;
    GlyphImage image;
    if (FT_GlyphSlot slot = Load(key, m, glyph)) {
      image.valid = true;
      image.advance = static_cast<int>((slot->advance.x + 32) >> 6);
      if (KeepsOutline(key, *slot)) {
        if (const KeptOutline* kept = Keep(ck, *slot)) {
          image.offset = kept->offset;
          image.size = kept->size;
        }
      } else {
        RenderWhole(key, *slot, image);
      }
    }
    // Room for the black and the tinted copy is counted up front: four
    // bytes a pixel each.
    const std::size_t bytes = static_cast<std::size_t>(image.coverage.sizeInBytes()) * 9 + sizeof(GlyphImage) + 64;
    if (cached_bytes_ + bytes > kMaxCachedBytes) {
      glyphs_.clear();
      cached_bytes_ = 0;
    }
    cached_bytes_ += bytes;
    return glyphs_.emplace(ck, std::move(image)).first->second;
  }

  GlyphImage Part(const GlyphRasterKey& key, std::uint32_t glyph, const QRect& part) {
    GlyphImage out;
    if (!key.smooth) return out;
    FT_Matrix m;
    const CacheKey ck = Key(key, glyph, m);
    const KeptOutline* kept = nullptr;
    if (auto it = outlines_.find(ck); it != outlines_.end()) {
      kept = &it->second;
    } else if (FT_GlyphSlot slot = Load(key, m, glyph); slot && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
      kept = Keep(ck, *slot);
    }
    if (!kept) return out;
    const QRect window = part.intersected(QRect(QPoint(0, 0), kept->size));
    if (window.isEmpty()) return out;
    QImage image(window.size(), QImage::Format_Alpha8);
    if (image.isNull()) return out;
    image.fill(0);
    // The outline sits where a whole render puts it, bottom row at y = 0,
    // and the rasteriser computes only the window's cells, so the coverage
    // is the whole render's. (Moving the outline to put the window at zero
    // changes some curved glyphs' pixels.)
    const int rows = kept->size.height();
    SpanTarget target{&image, window.x(), rows - 1 - window.y()};
    FT_Raster_Params params{};
    params.flags = FT_RASTER_FLAG_AA | FT_RASTER_FLAG_DIRECT | FT_RASTER_FLAG_CLIP;
    params.gray_spans = &SpanTarget::Write;
    params.user = &target;
    params.clip_box = FT_BBox{window.x(), rows - (window.y() + window.height()), window.x() + window.width(),
                              rows - window.y()};
    FT_Outline& outline = reinterpret_cast<FT_OutlineGlyph>(kept->glyph.get())->outline;
    const FT_Pos dx = -64 * static_cast<FT_Pos>(kept->offset.x());
    const FT_Pos dy = 64 * static_cast<FT_Pos>(rows + kept->offset.y());
    FT_Outline_Translate(&outline, dx, dy);
    const FT_Error error = FT_Outline_Render(library_, &outline, &params);
    FT_Outline_Translate(&outline, -dx, -dy);
    if (error != 0) return out;
    out.valid = true;
    out.offset = kept->offset + window.topLeft();
    out.size = window.size();
    out.coverage = std::move(image);
    return out;
  }

  QPainterPath Outline(const GlyphRasterKey& key, std::uint32_t glyph) {
    FT_Matrix m;
    Key(key, glyph, m);
    GlyphRasterKey outline_key = key;
    outline_key.smooth = true;  // outlines, never the embedded bitmaps
    QPainterPath path;
    FT_GlyphSlot slot = Load(outline_key, m, glyph);
    if (!slot || slot->format != FT_GLYPH_FORMAT_OUTLINE) return path;
    FT_Outline_Funcs funcs{};
    funcs.move_to = [](const FT_Vector* to, void* user) {
      static_cast<QPainterPath*>(user)->moveTo(FromFt(*to));
      return 0;
    };
    funcs.line_to = [](const FT_Vector* to, void* user) {
      static_cast<QPainterPath*>(user)->lineTo(FromFt(*to));
      return 0;
    };
    funcs.conic_to = [](const FT_Vector* control, const FT_Vector* to, void* user) {
      static_cast<QPainterPath*>(user)->quadTo(FromFt(*control), FromFt(*to));
      return 0;
    };
    funcs.cubic_to = [](const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
      static_cast<QPainterPath*>(user)->cubicTo(FromFt(*c1), FromFt(*c2), FromFt(*to));
      return 0;
    };
    if (FT_Outline_Decompose(&slot->outline, &funcs, &path) != 0) return {};
    path.closeSubpath();
    return path;
  }

 private:
  // A 26.6 outline point, y up, as device pixels, y down.
  static QPointF FromFt(const FT_Vector& v) { return QPointF(v.x / 64.0, -v.y / 64.0); }

  static CacheKey Key(const GlyphRasterKey& key, std::uint32_t glyph, FT_Matrix& m) {
    // FreeType's y axis points up: conjugate the y-down transform by a flip.
    m = FT_Matrix{ToFixed(key.outline.m11()), ToFixed(-key.outline.m21()), ToFixed(-key.outline.m12()),
                  ToFixed(key.outline.m22())};
    return CacheKey{key.file, key.ppem, m.xx, m.xy, m.yx, m.yy, key.smooth, key.hinted, glyph};
  }

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

  // The glyph loaded into its face's slot, with the slot's bitmap box set
  // as rendering it would set it; null when it cannot be loaded.
  FT_GlyphSlot Load(const GlyphRasterKey& key, FT_Matrix matrix, std::uint32_t glyph) {
    FT_Face face = key.file ? Face(key.file) : nullptr;
    if (!face || key.ppem <= 0) return nullptr;
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(key.ppem)) != 0) return nullptr;
    const bool identity = matrix.xx == 0x10000 && matrix.yy == 0x10000 && matrix.xy == 0 && matrix.yx == 0;
    FT_Set_Transform(face, identity ? nullptr : &matrix, nullptr);
    // Bilevel, untransformed glyphs may come from the font's embedded bitmaps
    // (Wine's Tahoma has them), as GDI takes them.
    FT_Int32 flags = FT_LOAD_DEFAULT | FT_LOAD_IGNORE_GLOBAL_ADVANCE_WIDTH;
    if (key.smooth || !identity) flags |= FT_LOAD_NO_BITMAP;
    if (!key.smooth) flags |= FT_LOAD_TARGET_MONO;
    if (!key.hinted) flags |= FT_LOAD_NO_HINTING;
    if (FT_Load_Glyph(face, glyph, flags) != 0) return nullptr;
    return face->glyph;
  }

  // Overlapping contours are rendered by FreeType with extra work that a
  // part-wise render would not repeat; such glyphs stay whole images.
  static bool KeepsOutline(const GlyphRasterKey& key, const FT_GlyphSlotRec& slot) {
    return key.smooth && slot.format == FT_GLYPH_FORMAT_OUTLINE && !(slot.outline.flags & FT_OUTLINE_OVERLAP) &&
           std::int64_t{slot.bitmap.width} * slot.bitmap.rows > kLargeGlyphPixels;
  }

  const KeptOutline* Keep(const CacheKey& ck, const FT_GlyphSlotRec& slot) {
    if (slot.bitmap.width == 0 || slot.bitmap.rows == 0 || slot.bitmap.width > 0x7FFF || slot.bitmap.rows > 0x7FFF)
      return nullptr;
    FT_Glyph copy = nullptr;
    if (FT_Get_Glyph(const_cast<FT_GlyphSlot>(&slot), &copy) != 0) return nullptr;
    KeptOutline kept{std::unique_ptr<FT_GlyphRec, GlyphDeleter>(copy), QPoint(slot.bitmap_left, -slot.bitmap_top),
                     QSize(static_cast<int>(slot.bitmap.width), static_cast<int>(slot.bitmap.rows))};
    if (outlines_.size() >= kMaxKeptOutlines) outlines_.clear();
    return &outlines_.insert_or_assign(ck, std::move(kept)).first->second;
  }

  static void RenderWhole(const GlyphRasterKey& key, FT_GlyphSlotRec& slot, GlyphImage& out) {
    if (slot.format != FT_GLYPH_FORMAT_BITMAP) {
      FT_BBox box;
      FT_Outline_Get_CBox(&slot.outline, &box);
      if ((box.xMax - box.xMin) / 64 > kMaxGlyphSide || (box.yMax - box.yMin) / 64 > kMaxGlyphSide) return;
      if (FT_Render_Glyph(&slot, key.smooth ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0) return;
    }
    const FT_Bitmap& bm = slot.bitmap;
    if (bm.width == 0 || bm.rows == 0) return;
    if (bm.width > static_cast<unsigned>(kMaxGlyphSide) || bm.rows > static_cast<unsigned>(kMaxGlyphSide)) return;
    QImage image(static_cast<int>(bm.width), static_cast<int>(bm.rows), QImage::Format_Alpha8);
    if (image.isNull()) return;
    for (unsigned y = 0; y < bm.rows; ++y) {
      const unsigned char* src = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
      uchar* dst = image.scanLine(static_cast<int>(y));
      for (unsigned x = 0; x < bm.width; ++x) {
        if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
          dst[x] = (src[x / 8] & (0x80 >> (x % 8))) ? 255 : 0;
        } else if (!key.smooth) {
          dst[x] = src[x] >= 128 ? 255 : 0;
        } else {
          dst[x] = kGrayAlpha[src[x]];
        }
      }
    }
    out.coverage = std::move(image);
    out.offset = QPoint(slot.bitmap_left, -slot.bitmap_top);
    out.size = out.coverage.size();
  }

  FT_Library library_ = nullptr;
  std::map<const FontFile*, FT_Face> faces_;
  std::map<CacheKey, GlyphImage> glyphs_;
  std::size_t cached_bytes_ = 0;
  std::map<CacheKey, KeptOutline> outlines_;
};

ThreadRasterizer& Rasterizer() {
  thread_local ThreadRasterizer rasterizer;
  return rasterizer;
}

}  // namespace

const QImage& GlyphImage::Tinted(QRgb color) const {
  // Black too: a painter converts an alpha-only image at every draw, on
  // its own pool's threads when the image is large, where a premultiplied
  // one is blended as it is. Black, most text, has a copy of its own, so
  // that coloured words among black ones do not tint each glyph anew.
  const bool black = qRed(color) == 0 && qGreen(color) == 0 && qBlue(color) == 0;
  QImage& kept = black ? black_ : tinted_;
  if (coverage.isNull() || (!kept.isNull() && (black || tint_ == color))) return kept;
  QImage out(coverage.size(), QImage::Format_ARGB32_Premultiplied);
  if (out.isNull()) {
    kept = QImage();
    return kept;
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
  kept = std::move(out);
  if (!black) tint_ = color;
  return kept;
}

std::uint8_t SmoothingAlpha(int level) { return LevelAlpha(level); }

const GlyphImage& RasterizeGlyph(const GlyphRasterKey& key, std::uint32_t glyph) {
  return Rasterizer().Glyph(key, glyph);
}

GlyphImage RasterizeGlyphPart(const GlyphRasterKey& key, std::uint32_t glyph, const QRect& part) {
  return Rasterizer().Part(key, glyph, part);
}

QPainterPath GlyphOutline(const GlyphRasterKey& key, std::uint32_t glyph) {
  return Rasterizer().Outline(key, glyph);
}

std::uint32_t GlyphForChar(const FontFile& file, char32_t c) { return Rasterizer().Index(file, c); }

}  // namespace pw::gdi
