// Text records of the player: fonts made from LOGFONTs, and the strings of
// EMR_EXTTEXTOUTA/W, EMR_POLYTEXTOUTA/W and EMR_SMALLTEXTOUT.
#include <string>

#include <QString>

#include "platform/gdi/player/player_internal.h"
#include "platform/gdi/text/text_codepage.h"
#include "platform/gdi/text/text_out.h"

namespace pw::gdi {
namespace {

// Bytes of an EMRTEXT before its optional rectangle, and of the rectangle.
constexpr std::size_t kEmrTextHead = 20;
constexpr std::size_t kRectBytes = 16;

GraphicsMode ModeOf(std::uint32_t value) {
  return value == static_cast<std::uint32_t>(GraphicsMode::Advanced) ? GraphicsMode::Advanced
                                                                      : GraphicsMode::Compatible;
}

// The character set an 8-bit string is decoded in: the one the selected
// font is realised in.
std::uint8_t AnsiCharset(const Playback& pb, GraphicsMode mode) {
  const LogFont& lf = pb.dc.Text().font.logfont;
  if (auto font = RealizeFont(pb.dc, lf, mode)) return font->match().charset;
  return lf.char_set;
}

// Reads the characters of a string at `offset` of the record.
bool ReadString(Playback& pb, const RecordView& rec, std::uint32_t offset, std::uint32_t chars, bool wide,
                GraphicsMode mode, TextRun& run, std::vector<std::uint8_t>& bytes_per_unit) {
  const io::ByteReader whole = rec.Whole();
  // A string cannot hold more characters than its record has bytes; the
  // bound caps what a hostile count costs before that check.
  if (chars > limits::kTextChars.value) {
    Refuse(pb, limits::kTextChars);
    return false;
  }
  const std::size_t length = static_cast<std::size_t>(chars) * (wide ? 2 : 1);
  if (chars == 0) return true;
  if (!whole.Contains(offset, length)) return false;
  const auto bytes = rec.bytes.subspan(offset, length);
  if (wide) {
    run.text.resize(chars);
    for (std::uint32_t i = 0; i < chars; ++i) {
      run.text[i] = static_cast<char16_t>(std::to_integer<unsigned>(bytes[2 * i]) |
                                          (std::to_integer<unsigned>(bytes[2 * i + 1]) << 8));
    }
    return true;
  }
  std::vector<std::uint8_t> narrow(length);
  for (std::size_t i = 0; i < length; ++i) narrow[i] = std::to_integer<std::uint8_t>(bytes[i]);
  if (HasOption(run.options, TextOption::GlyphIndex)) {
    run.text.assign(narrow.begin(), narrow.end());
    return true;
  }
  DecodedText decoded = DecodeAnsi(narrow, AnsiCharset(pb, mode));
  run.text = std::move(decoded.text);
  bytes_per_unit = std::move(decoded.bytes_per_unit);
  return true;
}

// Reads `count` advances (pairs with ETO_PDY) at `offset`; for an 8-bit
// string in a double-byte code page, the entries of a character's bytes are
// summed into one.
bool ReadDx(const RecordView& rec, std::uint32_t offset, std::uint32_t chars, TextRun& run,
            const std::vector<std::uint8_t>& bytes_per_unit) {
  if (offset == 0 || chars == 0) return true;
  const std::size_t per = HasOption(run.options, TextOption::Pdy) ? 2 : 1;
  const std::size_t count = static_cast<std::size_t>(chars) * per;
  auto sub = rec.Whole().Sub(offset, count * 4);
  if (!sub) return false;
  std::vector<std::int32_t> raw(count);
  for (auto& v : raw) v = sub->I32();
  if (bytes_per_unit.empty() || bytes_per_unit.size() == chars) {
    run.dx = std::move(raw);
    return true;
  }
  run.dx.clear();
  std::size_t byte = 0;
  for (std::uint8_t n : bytes_per_unit) {
    std::int32_t x = 0, y = 0;
    for (std::uint8_t k = 0; k < n && byte < chars; ++k, ++byte) {
      x += raw[byte * per];
      if (per == 2) y += raw[byte * per + 1];
    }
    run.dx.push_back(x);
    if (per == 2) run.dx.push_back(y);
  }
  return true;
}

// An EMRTEXT at `offset` of the record: reference point, string, options,
// optional rectangle and dx array; string and dx offsets count from the
// record's start.
std::optional<TextRun> ReadEmrText(Playback& pb, const RecordView& rec, std::size_t offset, bool wide,
                                   GraphicsMode mode) {
  io::ByteReader r = rec.Whole();
  if (!r.Seek(offset)) return std::nullopt;
  TextRun run;
  run.graphics_mode = mode;
  const PointL reference = ReadPointL(r);
  const std::uint32_t chars = r.U32();
  const std::uint32_t off_string = r.U32();
  run.options = r.U32();
  // The rectangle is kept even when empty: clipping to it then hides the text.
  if (!HasOption(run.options, TextOption::NoRect)) run.rect = ReadRectL(r);
  const std::uint32_t off_dx = r.U32();
  if (!r.ok()) return std::nullopt;
  run.reference = ToQPoint(reference);
  std::vector<std::uint8_t> bytes_per_unit;
  if (!ReadString(pb, rec, off_string, chars, wide, mode, run, bytes_per_unit)) return std::nullopt;
  if (!ReadDx(rec, off_dx, chars, run, bytes_per_unit)) return std::nullopt;
  return run;
}

Outcome Draw(Playback& pb, const TextRun& run) {
  bool replaced = false;
  if (!ExtTextOut(pb.dc, run, &replaced)) return Outcome::Malformed;
  if (replaced) {
    pb.report.Note("font replaced: " +
                   QString::fromStdU16String(pb.dc.Text().font.logfont.face_name).toStdString());
  }
  return Outcome::Played;
}

Outcome PlayExtCreateFontIndirectW(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  const std::uint32_t index = r.U32();
  if (!r.ok()) return Outcome::Malformed;
  // The short form holds a LOGFONTW; the long one an ENUMLOGFONTEXW or
  // ENUMLOGFONTEXDV after it.
  const bool extended = r.remaining() > LogFont::kSize;
  auto font = ReadLogFont(r, extended);
  if (!font) return Outcome::Malformed;
  Font object;
  object.logfont = std::move(*font);
  return PutObject(pb, index, std::move(object)) ? Outcome::Played : Outcome::Malformed;
}

// EMR_EXTTEXTOUTA/W: bounds, graphics mode, two scales, one EMRTEXT.
Outcome PlayExtTextOut(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  ReadRectL(r);  // bounds: recomputed by drawing
  const GraphicsMode mode = ModeOf(r.U32());
  r.F32();
  r.F32();
  if (!r.ok()) return Outcome::Malformed;
  const bool wide = rec.type == static_cast<std::uint32_t>(RecordType::ExtTextOutW);
  auto run = ReadEmrText(pb, rec, 8 + r.offset(), wide, mode);
  if (!run) return Outcome::Malformed;
  return Draw(pb, *run);
}

// EMR_POLYTEXTOUTA/W: bounds, graphics mode, two scales, a count, then that
// many EMRTEXTs, each drawn at its own reference point.
Outcome PlayPolyTextOut(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  ReadRectL(r);
  const GraphicsMode mode = ModeOf(r.U32());
  r.F32();
  r.F32();
  const std::uint32_t strings = r.U32();
  if (!r.ok() || strings > r.remaining() / (kEmrTextHead + 4)) return Outcome::Malformed;
  const bool wide = rec.type == static_cast<std::uint32_t>(RecordType::PolyTextOutW);
  std::size_t offset = 8 + r.offset();
  std::vector<TextRun> runs;
  for (std::uint32_t i = 0; i < strings; ++i) {
    auto run = ReadEmrText(pb, rec, offset, wide, mode);
    if (!run) return Outcome::Malformed;
    offset += kEmrTextHead + 4 + (HasOption(run->options, TextOption::NoRect) ? 0 : kRectBytes);
    runs.push_back(std::move(*run));
  }
  Outcome outcome = Outcome::Played;
  for (const auto& run : runs) {
    if (Draw(pb, run) == Outcome::Malformed) outcome = Outcome::Malformed;
  }
  return outcome;
}

// EMR_SMALLTEXTOUT: reference point, count, options, graphics mode, two
// scales, an optional clip rectangle, then 8- or 16-bit characters; no dx.
Outcome PlaySmallTextOut(Playback& pb, const RecordView& rec) {
  io::ByteReader r = rec.Params();
  TextRun run;
  const std::int32_t x = r.I32();
  const std::int32_t y = r.I32();
  const std::uint32_t chars = r.U32();
  run.options = r.U32();
  run.graphics_mode = ModeOf(r.U32());
  r.F32();
  r.F32();
  if (!HasOption(run.options, TextOption::NoRect)) run.rect = ReadRectL(r);
  if (!r.ok()) return Outcome::Malformed;
  run.reference = QPoint(x, y);
  const bool wide = !HasOption(run.options, TextOption::SmallChars);
  std::vector<std::uint8_t> bytes_per_unit;
  if (!ReadString(pb, rec, static_cast<std::uint32_t>(8 + r.offset()), chars, wide, run.graphics_mode, run,
                  bytes_per_unit)) {
    return Outcome::Malformed;
  }
  return Draw(pb, run);
}

}  // namespace

void RegisterTextHandlers(HandlerTable& table) {
  table.Register(RecordType::ExtCreateFontIndirectW, PlayExtCreateFontIndirectW);
  table.Register(RecordType::ExtTextOutA, PlayExtTextOut);
  table.Register(RecordType::ExtTextOutW, PlayExtTextOut);
  table.Register(RecordType::PolyTextOutA, PlayPolyTextOut);
  table.Register(RecordType::PolyTextOutW, PlayPolyTextOut);
  table.Register(RecordType::SmallTextOut, PlaySmallTextOut);
}

}  // namespace pw::gdi
