#pragma once
// Small test pages of text: a font (EMR_EXTCREATEFONTINDIRECTW
// parameters), one string (EMR_EXTTEXTOUTA/W parameters), and the page
// played onto white pixels.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include <QImage>

#include "platform/gdi/dc/device_context.h"
#include "platform/gdi/dc/surface.h"
#include "platform/gdi/emf/emf_writer.h"
#include "platform/gdi/emf/metafile.h"
#include "platform/gdi/player/player.h"

namespace pw::gdi::test {

inline RecordBuilder FontRecord(std::uint32_t index, std::u16string_view face, std::int32_t height,
                                std::uint8_t charset = 0, std::int32_t escapement = 0,
                                std::optional<std::int32_t> orientation = std::nullopt) {
  RecordBuilder b;
  b.U32(index).I32(height).I32(0).I32(escapement).I32(orientation.value_or(escapement)).I32(400);
  b.U8(0).U8(0).U8(0).U8(charset).U8(0).U8(0).U8(0).U8(0);
  b.Utf16(face, 32);
  return b;
}

struct TextRecordFields {
  std::uint32_t options = 0;
  std::uint32_t graphics_mode = 1;  // GM_COMPATIBLE
  std::optional<std::uint32_t> chars = std::nullopt;      // overrides the character count
  std::optional<std::uint32_t> dx_offset = std::nullopt;  // overrides the dx array's offset
};

// Bounds, graphics mode, scales, EMRTEXT, then the string and the dx array.
// Offsets count from the record start (8 bytes of type and size before
// these parameters).
inline RecordBuilder TextRecord(PointL at, std::span<const std::uint8_t> string, std::uint32_t chars,
                                std::span<const std::int32_t> dx, const TextRecordFields& fields = {}) {
  constexpr std::uint32_t kStringOffset = 8 + 16 + 12 + 40;
  const std::uint32_t padded = static_cast<std::uint32_t>((string.size() + 3) / 4 * 4);
  RecordBuilder b;
  b.Rect({0, 0, -1, -1}).U32(fields.graphics_mode).F32(1).F32(1);
  b.Point(at).U32(fields.chars.value_or(chars)).U32(kStringOffset).U32(fields.options).Rect({0, 0, -1, -1});
  b.U32(fields.dx_offset.value_or(dx.empty() ? 0 : kStringOffset + padded));
  b.Bytes(std::as_bytes(string)).Align4();
  for (std::int32_t d : dx) b.I32(d);
  return b;
}

inline std::vector<std::uint8_t> Utf16Bytes(std::u16string_view text) {
  std::vector<std::uint8_t> out;
  for (char16_t c : text) {
    out.push_back(static_cast<std::uint8_t>(c & 0xFF));
    out.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return out;
}

// Plays the page onto 100 × 100 white pixels: with the writer's default
// frame and reference device one logical unit of MM_TEXT is one pixel.
inline QImage PlayedImage(const EmfWriter& writer) {
  auto metafile = Metafile::FromBytes(writer.Finish());
  auto surface = Surface::Create(100, 100);
  if (!metafile || !surface) return {};
  {
    DeviceContext dc(*surface);
    if (!PlayMetafile(dc, *metafile, RectL{0, 0, 100, 100})) return {};
  }
  return surface->image();
}

}  // namespace pw::gdi::test
