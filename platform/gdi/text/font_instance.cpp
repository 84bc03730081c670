#include "platform/gdi/text/font_instance.h"

#include <QString>

#include "platform/gdi/text/glyph_raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <tuple>

namespace pw::gdi {
namespace {

// GDI refuses larger ems; beyond this glyphs are drawn as paths anyway.
constexpr int kMaxPpem = 65535;
constexpr int kDefaultCellHeight = 16;
constexpr std::uint8_t kNonAntialiasedQuality = 3;

// Font units to pixels through a 16.16 em scale, rounded as FreeType's
// fixed-point multiply rounds: what GDI's metrics come out as (1050 units
// of a 1000-unit em at 30 pixels is 31, not 32).
int Scaled(int font_units, int ppem, int units_per_em) {
  const long long em_scale = (static_cast<long long>(ppem) * 65536 + units_per_em / 2) / units_per_em;
  const long long magnitude = (std::llabs(font_units) * em_scale + 0x8000) >> 16;
  return static_cast<int>(font_units < 0 ? -magnitude : magnitude);
}

}  // namespace

int PixelsPerEm(const FontFileMetrics& metrics, int device_height) {
  if (device_height == 0) device_height = kDefaultCellHeight;
  long long ppem = 0;
  if (device_height < 0) {
    ppem = -static_cast<long long>(device_height);
  } else {
    // Within the VDMX table's range: the largest size whose recorded cell
    // fits the height.
    for (std::size_t i = 0; i < metrics.vdmx.size(); ++i) {
      const int cell = metrics.vdmx[i].y_max - metrics.vdmx[i].y_min;
      if (cell == device_height) {
        ppem = metrics.vdmx[i].ppem;
        break;
      }
      if (cell > device_height) {
        if (i > 0) ppem = metrics.vdmx[i - 1].ppem;
        break;
      }
    }
  }
  if (ppem == 0) {
    long long cell = metrics.win_ascent + metrics.win_descent;
    if (cell <= 0) cell = metrics.units_per_em;
    // MulDiv: rounded to the nearest.
    const auto mul_div = [](long long a, long long b, long long c) { return (a * b + c / 2) / c; };
    ppem = mul_div(metrics.units_per_em, device_height, cell);
    // Rounded up, the size's own cell can come out a pixel taller than the
    // height asked for; the size below it is taken then.
    if (ppem > 1 && mul_div(cell, ppem, metrics.units_per_em) > device_height) --ppem;
  }
  return static_cast<int>(std::clamp<long long>(ppem, 1, kMaxPpem));
}

TextMetricsPx MetricsAt(const FontFileMetrics& m, int ppem) {
  TextMetricsPx t;
  const int upm = m.units_per_em > 0 ? m.units_per_em : 2048;
  t.ascent = Scaled(m.win_ascent, ppem, upm);
  t.descent = Scaled(m.win_descent, ppem, upm);
  for (const auto& e : m.vdmx) {
    if (e.ppem == ppem) {
      t.ascent = e.y_max;
      t.descent = -e.y_min;
    }
  }
  t.internal_leading = std::max(0, t.ascent + t.descent - ppem);
  t.external_leading = std::max(0, Scaled(m.line_gap, ppem, upm));
  t.avg_char_width = Scaled(m.avg_char_width, ppem, upm);
  t.underline_position = std::max(1, Scaled(-m.underline_position, ppem, upm));
  t.underline_thickness = std::max(1, Scaled(m.underline_thickness, ppem, upm));
  t.strikeout_position = Scaled(m.strikeout_position, ppem, upm);
  t.strikeout_thickness = std::max(1, Scaled(m.strikeout_size, ppem, upm));
  return t;
}

std::shared_ptr<const FontInstance> FontInstance::Create(const LogFont& font, int device_height,
                                                         int device_width) {
  FontRequest request;
  request.face = QString::fromStdU16String(font.face_name);
  request.weight = font.weight;
  request.italic = font.italic != 0;
  request.charset = font.char_set;
  request.pitch_and_family = font.pitch_and_family;
  FontMatch match = MatchFont(request);
  if (match.file.empty()) return nullptr;
  auto file = LoadFontFile(match.file, match.index);
  if (!file) return nullptr;

  auto out = std::make_shared<FontInstance>();
  out->logfont_ = font;
  out->match_ = std::move(match);
  out->file_ = std::move(file);
  const auto& m = out->file_->metrics;
  out->ppem_ = PixelsPerEm(m, device_height);
  out->metrics_ = MetricsAt(m, out->ppem_);
  if (device_width != 0 && m.avg_char_width > 0) {
    const double natural = static_cast<double>(m.avg_char_width) * out->ppem_ / m.units_per_em;
    out->width_scale_ = std::clamp(std::abs(device_width) / natural, 1.0 / 64, 64.0);
    out->metrics_.avg_char_width = std::abs(device_width);
  }
  out->antialiased_ = out->SmoothAt(out->ppem_);
  return out;
}

bool FontInstance::SmoothAt(int ppem) const {
  if (logfont_.quality == kNonAntialiasedQuality) return false;
  return match_.synthetic_italic || file_->metrics.GrayAt(ppem);
}

std::vector<quint32> FontInstance::GlyphsForText(std::u16string_view text) const {
  std::vector<quint32> glyphs(text.size(), 0);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    // One glyph per code unit keeps glyphs and dx entries aligned; a lone
    // surrogate has no glyph.
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    quint32 glyph = GlyphForChar(*file_, c);
    if (glyph == 0 && match_.symbol) {
      // Symbol fonts keep their glyphs at 0xF020..0xF0FF; text may name them
      // either way.
      if (c < 0x100) glyph = GlyphForChar(*file_, 0xF000u + c);
      else if (c >= 0xF000 && c <= 0xF0FF) glyph = GlyphForChar(*file_, c - 0xF000u);
    }
    glyphs[i] = glyph;
  }
  return glyphs;
}

std::vector<int> FontInstance::Advances(const std::vector<quint32>& glyphs) const {
  std::vector<int> out(glyphs.size(), 0);
  GlyphRasterKey key{file_.get(), ppem_, QTransform(), antialiased_};
  for (std::size_t i = 0; i < glyphs.size(); ++i) {
    const int advance = RasterizeGlyph(key, glyphs[i]).advance;
    out[i] = width_scale_ == 1.0 ? advance : static_cast<int>(std::lround(advance * width_scale_));
  }
  return out;
}

}  // namespace pw::gdi
