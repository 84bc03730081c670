#pragma once
// LOGFONTW as a plain value, read from EMR_EXTCREATEFONTINDIRECTW and from
// spool-file font records. Matching and drawing live with the text code.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/io/byte_reader.h"

namespace pw::gdi {

struct LogFont {
  static constexpr std::size_t kFaceChars = 32;       // LF_FACESIZE
  static constexpr std::size_t kFullNameChars = 64;   // LF_FULLFACESIZE
  static constexpr std::size_t kSize = 92;            // bytes of LOGFONTW

  std::int32_t height = 0;
  std::int32_t width = 0;
  std::int32_t escapement = 0;   // tenths of a degree
  std::int32_t orientation = 0;  // tenths of a degree
  std::int32_t weight = 0;
  std::uint8_t italic = 0;
  std::uint8_t underline = 0;
  std::uint8_t strike_out = 0;
  std::uint8_t char_set = 0;
  std::uint8_t out_precision = 0;
  std::uint8_t clip_precision = 0;
  std::uint8_t quality = 0;
  std::uint8_t pitch_and_family = 0;
  std::u16string face_name;  // up to the first NUL

  // The ENUMLOGFONTEXW / ELW part that follows in extended records.
  std::optional<std::u16string> full_name;
  std::optional<std::u16string> style;
  std::optional<std::u16string> script;

  friend bool operator==(const LogFont&, const LogFont&) = default;
};

// Reads a LOGFONTW at the reader's position; with `extended`, also the full
// name, style and script that follow when `reader` holds them. Nothing when
// the reader holds less than a LOGFONTW.
std::optional<LogFont> ReadLogFont(io::ByteReader& reader, bool extended);

}  // namespace pw::gdi
