#include "platform/gdi/text/text_draw.h"

#include <QString>

#include <cmath>

#include "platform/gdi/text/text_out.h"

namespace pw::gdi {

bool DrawTextLine(DeviceContext& dc, std::u16string_view text, const RectL& rect, const TextFont& font,
                  TextPlacement placement) {
  LogFont lf;
  lf.face_name = font.face;
  lf.height = font.height;
  lf.weight = font.weight;
  lf.italic = font.italic ? 1 : 0;
  lf.quality = font.quality;
  lf.char_set = 1;  // DEFAULT_CHARSET

  auto instance = RealizeFont(dc, lf, GraphicsMode::Compatible);
  if (!instance) return false;

  const int level = dc.SaveDc();
  Font object;
  object.logfont = lf;
  dc.SelectFont(object);
  dc.SetTextAlign(0);  // TA_LEFT | TA_TOP | TA_NOUPDATECP

  TextRun run;
  run.text.assign(text.begin(), text.end());
  run.reference = QPoint(rect.left, rect.top);
  if (placement == TextPlacement::Centered) {
    // DrawText centres the text's extent and its cell height in the rectangle.
    const auto layout = LayoutText(dc, *instance, run);
    const QTransform& t = dc.DeviceTransform();
    const double sx = std::hypot(t.m11(), t.m12());
    const double sy = std::hypot(t.m21(), t.m22());
    if (layout && sx > 0 && sy > 0) {
      const int width = static_cast<int>(std::lround(std::hypot(layout->advance.x(), layout->advance.y()) / sx));
      const int height = static_cast<int>(std::lround(instance->metrics().height() / sy));
      const int rect_width = rect.right - rect.left;
      const int rect_height = rect.bottom - rect.top;
      run.reference = QPoint(rect.left + (rect_width - width) / 2, rect.top + (rect_height - height) / 2);
    }
  }
  const bool drawn = ExtTextOut(dc, run);
  dc.RestoreDc(level);
  return drawn;
}

bool DrawTextLine(DeviceContext& dc, std::string_view utf8, const RectL& rect, const TextFont& font,
                  TextPlacement placement) {
  const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  return DrawTextLine(dc, text.toStdU16String(), rect, font, placement);
}

}  // namespace pw::gdi
