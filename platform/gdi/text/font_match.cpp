#include "platform/gdi/text/font_match.h"

#include "platform/fonts/face_match.h"
#include "platform/gdi/text/font_file.h"

#include <fontconfig/fontconfig.h>

#include <QDir>

#include <array>
#include <cstdlib>
#include <span>
#include <map>
#include <mutex>
#include <optional>
#include <tuple>
#include <utility>
#include <vector>

namespace pw::gdi {
namespace {

// Metric-compatible stand-ins, registered under the Microsoft names.
constexpr std::array<std::pair<const char*, const char*>, 9> kStandIns{{
    {"Times New Roman", "Liberation Serif"},
    {"Arial", "Liberation Sans"},
    {"Arial Narrow", "Liberation Sans Narrow"},
    {"Courier New", "Liberation Mono"},
    {"Calibri", "Carlito"},
    {"Cambria", "Caladea"},
    {"Helvetica", "Liberation Sans"},
    {"Times", "Liberation Serif"},
    {"Courier", "Liberation Mono"},
}};

// Old and dialog face names that Windows installs as substitutes.
constexpr std::array<std::pair<const char*, const char*>, 5> kSubstitutes{{
    {"System", "Tahoma"},
    {"MS Shell Dlg", "Tahoma"},
    {"MS Shell Dlg 2", "Tahoma"},
    {"Tms Rmn", "Times New Roman"},
    {"Helv", "MS Sans Serif"},
}};

// Character-set variants of the core faces ("Arial CE", "Times New Roman Cyr").
constexpr std::array<const char*, 6> kCharsetSuffixes{" CE", " CYR", " Greek", " TUR", " Baltic", " Cyr"};

// The vector fonts of Wine's own font folder that GDI offers by name.
constexpr std::array<const char*, 6> kWineFontFiles{"tahoma.ttf", "tahomabd.ttf", "symbol.ttf",
                                                    "wingding.ttf", "webdings.ttf", "marlett.ttf"};

constexpr std::uint8_t kDefaultCharset = 1;
constexpr std::uint8_t kSymbolCharset = 2;
constexpr std::uint8_t kOemCharset = 255;
constexpr std::uint8_t kMacCharset = 77;

// The OS/2 code-page bit of a character set; nothing for the sets that
// match any font (default, OEM, Mac).
std::optional<int> CodePageBit(std::uint8_t charset) {
  switch (charset) {
    case 0: return 0;     // ANSI
    case 238: return 1;   // East Europe
    case 204: return 2;   // Russian
    case 161: return 3;   // Greek
    case 162: return 4;   // Turkish
    case 177: return 5;   // Hebrew
    case 178: return 6;   // Arabic
    case 186: return 7;   // Baltic
    case 163: return 8;   // Vietnamese
    case 222: return 16;  // Thai
    case 128: return 17;  // Shift-JIS
    case 134: return 18;  // GB2312
    case 129: return 19;  // Hangul
    case 136: return 20;  // Big5
    case 130: return 21;  // Johab
    case kSymbolCharset: return 31;
    default: return std::nullopt;
  }
}

// The character set a font is realised in when any would do.
std::uint8_t FirstCharset(std::uint32_t code_pages) {
  static constexpr std::array<std::uint8_t, 16> kOrder{0,   238, 204, 161, 162, 177, 178, 186,
                                                       163, 222, 128, 134, 129, 136, 130, 2};
  for (auto cs : kOrder) {
    if (code_pages & (1u << *CodePageBit(cs))) return cs;
  }
  return 0;
}

bool Covers(const FontFileMetrics& m, std::uint8_t charset) {
  auto bit = CodePageBit(charset);
  if (!bit) return true;
  // A font with a Unicode cmap draws ANSI text whatever its code-page bits
  // say (Wine's Symbol does); fonts with only a symbol cmap do not.
  if (charset == 0 && !m.symbol_cmap) return true;
  std::uint32_t pages = m.code_pages ? m.code_pages : (m.symbol_cmap ? 1u << 31 : 1u);
  return (pages & (1u << *bit)) != 0;
}

struct Candidate {
  std::string file;
  int index = 0;
  int weight = 400;  // OpenType weight class
  bool italic = false;
  int version = 0;
};

class FontCatalog {
 public:
  FontCatalog() {
    config_ = FcInitLoadConfigAndFonts();
    if (!config_) return;
    for (const char* dir : platform::kWineFontDirs) {
      for (const char* name : kWineFontFiles) {
        QString path = QDir(QString::fromUtf8(dir)).filePath(QString::fromUtf8(name));
        if (QFile::exists(path)) {
          FcConfigAppFontAddFile(config_, reinterpret_cast<const FcChar8*>(path.toUtf8().constData()));
        }
      }
    }
  }
  ~FontCatalog() {
    if (config_) FcConfigDestroy(config_);
  }
  FontCatalog(const FontCatalog&) = delete;
  FontCatalog& operator=(const FontCatalog&) = delete;

  // Every scalable font of one family (names compared as fontconfig does:
  // ignoring case and spaces).
  const std::vector<Candidate>& Family(const QString& family) {
    auto key = family.toCaseFolded();
    if (auto it = families_.find(key); it != families_.end()) return it->second;
    return families_.emplace(key, List(family)).first->second;
  }

 private:
  std::vector<Candidate> List(const QString& family) const {
    std::vector<Candidate> out;
    if (!config_ || family.isEmpty()) return out;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.toUtf8().constData()));
    FcPatternAddBool(pattern, FC_OUTLINE, FcTrue);
    FcObjectSet* objects = FcObjectSetBuild(FC_FILE, FC_INDEX, FC_WEIGHT, FC_SLANT, FC_FONTVERSION,
                                            FC_FONTFORMAT, nullptr);
    FcFontSet* set = FcFontList(config_, pattern, objects);
    if (set) {
      for (int i = 0; i < set->nfont; ++i) {
        FcPattern* font = set->fonts[i];
        FcChar8* file = nullptr;
        FcChar8* format = nullptr;
        if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch) continue;
        if (FcPatternGetString(font, FC_FONTFORMAT, 0, &format) == FcResultMatch) {
          QByteArray f(reinterpret_cast<const char*>(format));
          if (f != "TrueType" && f != "CFF") continue;
        }
        Candidate c;
        c.file = reinterpret_cast<const char*>(file);
        FcPatternGetInteger(font, FC_INDEX, 0, &c.index);
        double weight = FC_WEIGHT_REGULAR;
        if (FcPatternGetDouble(font, FC_WEIGHT, 0, &weight) != FcResultMatch) {
          int w = FC_WEIGHT_REGULAR;
          FcPatternGetInteger(font, FC_WEIGHT, 0, &w);
          weight = w;
        }
        c.weight = static_cast<int>(FcWeightToOpenTypeDouble(weight));
        int slant = FC_SLANT_ROMAN;
        FcPatternGetInteger(font, FC_SLANT, 0, &slant);
        c.italic = slant != FC_SLANT_ROMAN;
        FcPatternGetInteger(font, FC_FONTVERSION, 0, &c.version);
        out.push_back(std::move(c));
      }
      FcFontSetDestroy(set);
    }
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return out;
  }

  FcConfig* config_ = nullptr;
  std::map<QString, std::vector<Candidate>> families_;
};

// Exact italic first, then the right side of the bold line, then the nearest
// weight, then the newest version (Liberation 2 before 1).
const Candidate* BestStyle(const std::vector<Candidate>& fonts, int weight, bool italic) {
  const Candidate* best = nullptr;
  auto key = [&](const Candidate& c) {
    bool want_bold = weight > 550;
    bool is_bold = c.weight >= 600;
    return std::make_tuple(c.italic != italic, want_bold != is_bold, std::abs(c.weight - weight), -c.version);
  };
  for (const auto& c : fonts) {
    if (!best || key(c) < key(*best)) best = &c;
  }
  return best;
}

QString Lookup(const QString& face, std::span<const std::pair<const char*, const char*>> table) {
  for (const auto& [from, to] : table) {
    if (face.compare(QLatin1String(from), Qt::CaseInsensitive) == 0) return QString::fromUtf8(to);
  }
  return {};
}

// The family GDI falls back to when the face is missing or lacks the set.
QString FallbackFamily(std::uint8_t charset, std::uint8_t pitch_and_family) {
  switch (charset) {
    case kSymbolCharset: return QStringLiteral("Marlett");
    case 128: case 129: case 130: case 134: case 136: case 222: return QStringLiteral("Droid Sans Fallback");
    case 178: return QStringLiteral("DejaVu Sans");
    default: break;
  }
  const int family = pitch_and_family & 0xF0;
  const int pitch = pitch_and_family & 0x03;
  if (family == 0x10) return QStringLiteral("Liberation Serif");                 // FF_ROMAN
  if (family == 0x30 || pitch == 1) return QStringLiteral("Liberation Mono");    // FF_MODERN, FIXED_PITCH
  return QStringLiteral("Liberation Sans");
}

struct Chosen {
  const Candidate* font = nullptr;
  std::shared_ptr<const FontFile> file;
};

Chosen Choose(FontCatalog& catalog, const QString& family, const FontRequest& r, bool check_charset) {
  const auto& fonts = catalog.Family(family);
  const Candidate* c = BestStyle(fonts, r.weight, r.italic);
  if (!c) return {};
  auto file = LoadFontFile(c->file, c->index);
  if (!file) return {};
  if (check_charset && !Covers(file->metrics, r.charset)) return {};
  return {c, std::move(file)};
}

FontMatch Resolve(FontCatalog& catalog, const FontRequest& r) {
  FontMatch out;
  QString family = StandInFamily(r.face.trimmed());
  Chosen chosen = Choose(catalog, family, r, true);
  out.face_found = chosen.font != nullptr;
  if (!chosen.font) {
    family = FallbackFamily(r.charset, r.pitch_and_family);
    chosen = Choose(catalog, family, r, false);
  }
  for (const char* last : {"Liberation Sans", "DejaVu Sans"}) {
    if (chosen.font) break;
    family = QString::fromUtf8(last);
    chosen = Choose(catalog, family, r, false);
  }
  if (!chosen.font) return out;
  out.family = family;
  out.file = chosen.font->file;
  out.index = chosen.font->index;
  out.synthetic_bold = r.weight > 550 && chosen.font->weight < 600;
  out.synthetic_italic = r.italic && !chosen.font->italic;
  out.symbol = chosen.file->metrics.symbol_cmap;
  const bool any = !CodePageBit(r.charset) || r.charset == kDefaultCharset ||
                   r.charset == kOemCharset || r.charset == kMacCharset;
  out.charset = any || !Covers(chosen.file->metrics, r.charset) ? FirstCharset(chosen.file->metrics.code_pages)
                                                                 : r.charset;
  return out;
}

}  // namespace

QString StandInFamily(const QString& face) {
  QString name = face;
  if (QString sub = Lookup(name, kSubstitutes); !sub.isEmpty()) name = sub;
  for (const char* suffix : kCharsetSuffixes) {
    QLatin1String s(suffix);
    if (name.endsWith(s, Qt::CaseInsensitive)) {
      QString base = name.left(name.size() - s.size());
      if (!Lookup(base, kStandIns).isEmpty()) name = base;
    }
  }
  if (QString standin = Lookup(name, kStandIns); !standin.isEmpty()) return standin;
  return name;
}

FontMatch MatchFont(const FontRequest& request) {
  static std::mutex mutex;
  static std::map<std::tuple<QString, int, bool, int, int>, FontMatch> cache;
  FontRequest r = request;
  if (r.weight <= 0) r.weight = 400;  // FW_DONTCARE
  std::lock_guard lock(mutex);
  static FontCatalog catalog;  // built on first use, under the lock
  auto key = std::make_tuple(r.face.trimmed().toCaseFolded(), r.weight, r.italic, int{r.charset},
                             int{r.pitch_and_family});
  if (auto it = cache.find(key); it != cache.end()) return it->second;
  FontMatch match = Resolve(catalog, r);
  cache.emplace(key, match);
  return match;
}

}  // namespace pw::gdi
