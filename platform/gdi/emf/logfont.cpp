#include "platform/gdi/emf/logfont.h"

namespace pw::gdi {

namespace {

// A fixed-size UTF-16 field, cut at its first NUL.
std::u16string ReadFixedUtf16(io::ByteReader& reader, std::size_t chars) {
  std::u16string out;
  bool ended = false;
  for (std::size_t i = 0; i < chars; ++i) {
    const char16_t c = static_cast<char16_t>(reader.U16());
    if (c == 0) ended = true;
    if (!ended) out.push_back(c);
  }
  return out;
}

}  // namespace

std::optional<LogFont> ReadLogFont(io::ByteReader& reader, bool extended) {
  if (reader.remaining() < LogFont::kSize) return std::nullopt;
  LogFont f;
  f.height = reader.I32();
  f.width = reader.I32();
  f.escapement = reader.I32();
  f.orientation = reader.I32();
  f.weight = reader.I32();
  f.italic = reader.U8();
  f.underline = reader.U8();
  f.strike_out = reader.U8();
  f.char_set = reader.U8();
  f.out_precision = reader.U8();
  f.clip_precision = reader.U8();
  f.quality = reader.U8();
  f.pitch_and_family = reader.U8();
  f.face_name = ReadFixedUtf16(reader, LogFont::kFaceChars);
  if (!reader.ok()) return std::nullopt;
  if (extended && reader.remaining() >= 2 * (LogFont::kFullNameChars + 2 * LogFont::kFaceChars)) {
    f.full_name = ReadFixedUtf16(reader, LogFont::kFullNameChars);
    f.style = ReadFixedUtf16(reader, LogFont::kFaceChars);
    f.script = ReadFixedUtf16(reader, LogFont::kFaceChars);
  }
  return f;
}

}  // namespace pw::gdi
