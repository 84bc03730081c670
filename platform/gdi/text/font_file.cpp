#include "platform/gdi/text/font_file.h"

#include <QFile>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include FT_GASP_H
#include FT_TRUETYPE_TAGS_H

#include "platform/io/byte_reader.h"

#include <algorithm>
#include <map>
#include <optional>
#include <span>
#include <mutex>
#include <utility>

namespace pw::gdi {
namespace {

// Font files are a few hundred kilobytes to a few megabytes; anything far
// larger is not a font we installed.
constexpr qint64 kMaxFontFileBytes = 64LL * 1024 * 1024;
// gasp ranges are kept per ppem up to this size; the last range covers the rest.
constexpr int kGaspSizes = 256;
constexpr std::uint8_t kGaspDoGray = 0x02;

class FreeTypeLibrary {
 public:
  FreeTypeLibrary() {
    if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
  }
  ~FreeTypeLibrary() {
    if (library_) FT_Done_FreeType(library_);
  }
  FreeTypeLibrary(const FreeTypeLibrary&) = delete;
  FreeTypeLibrary& operator=(const FreeTypeLibrary&) = delete;
  FT_Library get() const { return library_; }

 private:
  FT_Library library_ = nullptr;
};

struct FaceCloser {
  void operator()(FT_FaceRec_* face) const { FT_Done_Face(face); }
};

// The group of the VDMX table that serves a 1:1 device aspect.
std::vector<FontFileMetrics::VdmxEntry> ReadVdmx(FT_Face face) {
  std::vector<FontFileMetrics::VdmxEntry> out;
  FT_ULong length = 0;
  if (FT_Load_Sfnt_Table(face, TTAG_VDMX, 0, nullptr, &length) != 0 || length < 6 || length > (1u << 20)) {
    return out;
  }
  std::vector<std::byte> table(length);
  if (FT_Load_Sfnt_Table(face, TTAG_VDMX, 0, reinterpret_cast<FT_Byte*>(table.data()), &length) != 0) return out;
  // Big-endian fields through the little-endian reader: swap as read.
  io::ByteReader r{std::span<const std::byte>(table)};
  auto be16 = [&r]() {
    const std::uint16_t v = r.U16();
    return static_cast<std::uint16_t>((v >> 8) | (v << 8));
  };
  be16();  // version
  be16();  // numRecs
  const std::uint16_t ratios = be16();
  std::optional<std::size_t> group;
  const std::size_t offsets_at = 6 + std::size_t{ratios} * 4;
  for (std::uint16_t i = 0; i < ratios && !group; ++i) {
    // GDI reads only the ratios kept for the Windows ANSI subset (character
    // set 1); a ratio for all glyphs (0), as Wine's Tahoma has, is passed over.
    const int charset = r.U8();
    const int x = r.U8(), y_start = r.U8(), y_end = r.U8();
    if (charset == 0) continue;
    if ((x == 0 && y_start == 0 && y_end == 0) || (x == 1 && y_start <= 1 && 1 <= y_end)) {
      io::ByteReader at{std::span<const std::byte>(table)};
      at.Seek(offsets_at + std::size_t{i} * 2);
      const std::uint16_t v = at.U16();
      if (at.ok()) group = static_cast<std::uint16_t>((v >> 8) | (v << 8));
    }
  }
  if (!r.ok() || !group || !r.Seek(*group)) return out;
  const std::uint16_t recs = be16();
  r.U8();  // startsz
  r.U8();  // endsz
  for (std::uint16_t i = 0; i < recs && r.ok(); ++i) {
    FontFileMetrics::VdmxEntry e;
    e.ppem = be16();
    e.y_max = static_cast<std::int16_t>(be16());
    e.y_min = static_cast<std::int16_t>(be16());
    if (r.ok()) out.push_back(e);
  }
  return out;
}

bool HasSymbolCmap(FT_Face face) {
  for (FT_Int i = 0; i < face->num_charmaps; ++i) {
    if (face->charmaps[i]->platform_id == 3 && face->charmaps[i]->encoding_id == 0) return true;
  }
  return false;
}

FontFileMetrics ReadMetrics(FT_Face face) {
  FontFileMetrics m;
  m.units_per_em = face->units_per_EM > 0 ? face->units_per_EM : 2048;
  m.win_ascent = face->ascender;
  m.win_descent = -face->descender;
  m.underline_position = face->underline_position;
  m.underline_thickness = face->underline_thickness;
  m.italic = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
  if (auto* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA))) {
    m.line_gap = hhea->Line_Gap;
  }
  if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
      os2 && os2->version != 0xFFFF) {
    if (os2->usWinAscent + os2->usWinDescent > 0) {
      m.win_ascent = os2->usWinAscent;
      m.win_descent = os2->usWinDescent;
    }
    m.avg_char_width = os2->xAvgCharWidth;
    m.weight_class = os2->usWeightClass;
    m.italic = m.italic || (os2->fsSelection & 1) != 0;
    m.code_pages = static_cast<std::uint32_t>(os2->ulCodePageRange1);
    m.strikeout_position = os2->yStrikeoutPosition;
    m.strikeout_size = os2->yStrikeoutSize;
  }
  m.symbol_cmap = HasSymbolCmap(face);
  m.vdmx = ReadVdmx(face);
  if (FT_Get_Gasp(face, 1) != FT_GASP_NO_TABLE) {
    m.gasp.resize(kGaspSizes);
    for (int ppem = 0; ppem < kGaspSizes; ++ppem) {
      m.gasp[ppem] = static_cast<std::uint8_t>(FT_Get_Gasp(face, static_cast<FT_UInt>(ppem)));
    }
  }
  if (m.strikeout_size <= 0) m.strikeout_size = m.underline_thickness;
  if (m.strikeout_position <= 0) m.strikeout_position = m.win_ascent / 3;
  return m;
}

std::shared_ptr<const FontFile> ReadFontFile(FT_Library library, const std::string& path, int index) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly) || file.size() <= 0 || file.size() > kMaxFontFileBytes) return nullptr;
  auto out = std::make_shared<FontFile>();
  out->path = path;
  out->index = index;
  out->data = file.readAll();
  if (out->data.size() != file.size()) return nullptr;

  FT_Face raw = nullptr;
  if (FT_New_Memory_Face(library, reinterpret_cast<const FT_Byte*>(out->data.constData()),
                         static_cast<FT_Long>(out->data.size()), index, &raw) != 0) {
    return nullptr;
  }
  std::unique_ptr<FT_FaceRec_, FaceCloser> face(raw);
  if (!FT_IS_SCALABLE(face.get())) return nullptr;
  out->metrics = ReadMetrics(face.get());
  return out;
}

}  // namespace

bool FontFileMetrics::GrayAt(int ppem) const {
  if (gasp.empty()) return true;
  const std::size_t i = ppem < 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(ppem), gasp.size() - 1);
  return (gasp[i] & kGaspDoGray) != 0;
}

std::shared_ptr<const FontFile> LoadFontFile(const std::string& path, int index) {
  static std::mutex mutex;
  static FreeTypeLibrary library;
  static std::map<std::pair<std::string, int>, std::shared_ptr<const FontFile>> cache;

  std::lock_guard lock(mutex);
  auto key = std::make_pair(path, index);
  if (auto it = cache.find(key); it != cache.end()) return it->second;
  std::shared_ptr<const FontFile> loaded;
  if (library.get()) loaded = ReadFontFile(library.get(), path, index);
  // Failures are remembered too, so a broken file is not re-read per record.
  cache.emplace(key, loaded);
  return loaded;
}

}  // namespace pw::gdi
