#pragma once
// A LOGFONT realised at a device size: the matched face, the pixels-per-em
// GDI picks for the height, the text metrics in device pixels, and the
// glyphs for a string.
#include <QtGlobal>

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/gdi/text/font_file.h"
#include "platform/gdi/text/font_match.h"
#include "platform/gdi/emf/logfont.h"

namespace pw::gdi {

// TEXTMETRIC values in device pixels.
struct TextMetricsPx {
  int ascent = 0;
  int descent = 0;
  int internal_leading = 0;
  int external_leading = 0;
  int avg_char_width = 0;
  int underline_position = 0;  // below the baseline, positive downwards
  int underline_thickness = 1;
  int strikeout_position = 0;  // above the baseline
  int strikeout_thickness = 1;

  int height() const { return ascent + descent; }
};

// The pixels-per-em GDI realises a height with: a negative height is the em
// itself, a positive one the cell (win ascent + descent), zero the default
// cell of 16 pixels. Never below 1.
int PixelsPerEm(const FontFileMetrics& metrics, int device_height);

// Text metrics of a font file at a pixels-per-em.
TextMetricsPx MetricsAt(const FontFileMetrics& metrics, int ppem);

class FontInstance {
 public:
  // `device_height` is lfHeight taken to device pixels (sign kept), and
  // `device_width` lfWidth likewise (0: the font's own width).
  static std::shared_ptr<const FontInstance> Create(const LogFont& font, int device_height, int device_width);

  const LogFont& logfont() const { return logfont_; }
  const FontMatch& match() const { return match_; }
  const FontFile& file() const { return *file_; }
  int ppem() const { return ppem_; }
  // Horizontal stretch of the glyphs from lfWidth (1 for the natural width).
  double width_scale() const { return width_scale_; }
  const TextMetricsPx& metrics() const { return metrics_; }
  // Smoothed glyphs, unless NONANTIALIASED_QUALITY or the gasp table at
  // this size asks for bilevel ones.
  bool antialiased() const { return antialiased_; }
  // The same decision for glyphs drawn at another size (a stretched glyph
  // is judged by its larger scale). Synthesised italics are always smoothed.
  bool SmoothAt(int ppem) const;

  // Glyph indexes for UTF-16 text; symbol fonts take 0x20..0xFF through their
  // 0xF000 page as GDI does.
  std::vector<quint32> GlyphsForText(std::u16string_view text) const;
  // Advance widths in whole device pixels, as GDI lays text out without a
  // dx array.
  std::vector<int> Advances(const std::vector<quint32>& glyphs) const;

 private:
  LogFont logfont_;
  FontMatch match_;
  std::shared_ptr<const FontFile> file_;
  int ppem_ = 1;
  double width_scale_ = 1.0;
  TextMetricsPx metrics_;
  bool antialiased_ = true;
};

}  // namespace pw::gdi
