#pragma once
// The program's own text on a DeviceContext (placeholder texts, the date
// stamp): one line in a rectangle, as DrawText with DT_SINGLELINE draws it,
// in the DC's text colour and background mode. The DC's selected font and
// alignment are left as they were.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/gdi/dc/device_context.h"

namespace pw::gdi {

struct TextFont {
  std::u16string face = u"Arial";
  std::int32_t height = -11;  // logical units; negative: character (em) height
  std::int32_t weight = 400;
  bool italic = false;
  std::uint8_t quality = 0;   // LOGFONT lfQuality (4: ANTIALIASED_QUALITY)
};

enum class TextPlacement {
  TopLeft,   // DT_SINGLELINE | DT_LEFT | DT_TOP
  Centered,  // DT_SINGLELINE | DT_CENTER | DT_VCENTER
};

// Draws `text` (UTF-16) in `rect` (logical). Returns false when no font
// could be loaded; nothing is drawn then.
bool DrawTextLine(DeviceContext& dc, std::u16string_view text, const RectL& rect, const TextFont& font,
                  TextPlacement placement);

// The same for UTF-8 text.
bool DrawTextLine(DeviceContext& dc, std::string_view utf8, const RectL& rect, const TextFont& font,
                  TextPlacement placement);

}  // namespace pw::gdi
