#pragma once
// The two texts the rasteriser draws itself: the date-and-time stamp and
// the notice on a page that has no metafile.
#include <QDateTime>
#include <QString>

#include "platform/gdi/dc/device_context.h"
#include "render/pattern_canvas.h"

namespace pw::render {

inline constexpr const char* kUnsupportedNotice = "This format not supported!";

// The local short date, a space and the local time with seconds, in the
// user's formats.
QString DateStampText(const QDateTime& when);

// The stamp's character height in drawing pixels: 10 x factor + 2 when the
// KodAntialias setting is not 0, else 11 (drawn antialiased).
int DateStampHeight(int antialias_setting);

// Draws the stamp, italic Arial in black on a transparent background, at
// the page rectangle's top-left corner.
void DrawDateStamp(gdi::DeviceContext& dc, const PageRect& page, const QString& text,
                   int antialias_setting);

// Draws the notice as one line centred in the page rectangle.
void DrawUnsupportedNotice(gdi::DeviceContext& dc, const PageRect& page);

}  // namespace pw::render
