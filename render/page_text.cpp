#include "render/page_text.h"

#include <QLocale>
#include <QRegularExpression>

#include "platform/gdi/text/text_draw.h"

namespace pw::render {

namespace {

constexpr std::uint8_t kAntialiasedQuality = 4;

gdi::RectL ToRectL(const PageRect& r) { return gdi::RectL{r.left, r.top, r.right, r.bottom}; }

}  // namespace

QString DateStampText(const QDateTime& when) {
  const QLocale locale = QLocale::system();
  // The long time format is the one with seconds; the time zone it may end
  // with is not part of the stamp.
  QString time_format = locale.timeFormat(QLocale::LongFormat);
  time_format.remove(QRegularExpression(QStringLiteral("\\s*\\bt+\\b")));
  return locale.toString(when.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
         locale.toString(when.time(), time_format.trimmed());
}

int DateStampHeight(int antialias_setting) {
  return antialias_setting != 0 ? 10 * antialias_setting + 2 : 11;
}

void DrawDateStamp(gdi::DeviceContext& dc, const PageRect& page, const QString& text,
                   int antialias_setting) {
  gdi::TextFont font;
  font.face = u"Arial";
  font.height = -DateStampHeight(antialias_setting);
  font.weight = 400;
  font.italic = true;
  font.quality = antialias_setting == 0 ? kAntialiasedQuality : 0;
  dc.SetBkMode(gdi::BkMode::Transparent);
  gdi::DrawTextLine(dc, text.toStdU16String(), ToRectL(page), font, gdi::TextPlacement::TopLeft);
}

void DrawUnsupportedNotice(gdi::DeviceContext& dc, const PageRect& page) {
  // The DC's own font: the system font, 16 pixels high and bold.
  gdi::TextFont font;
  font.face = u"System";
  font.height = 16;
  font.weight = 700;
  gdi::DrawTextLine(dc, std::string_view(kUnsupportedNotice), ToRectL(page), font,
                    gdi::TextPlacement::Centered);
}

}  // namespace pw::render
