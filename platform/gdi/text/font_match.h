#pragma once
// Face matching: which installed font file draws a LOGFONT's face.
//
// The Microsoft faces Word documents name are not installed; metric-compatible
// stand-ins are (Liberation, Carlito, Caladea), and Wine's own Tahoma, Symbol,
// Wingdings, Webdings and Marlett come from its font folder. The rules follow
// the GDI font mapper as Wine runs it: a face is taken when it is installed
// and covers the requested character set; otherwise the character set picks a
// font (symbol, CJK, Arabic), and failing that the pitch and family decide
// between the sans, serif and mono defaults.
#include <QString>

#include <cstdint>
#include <string>

namespace pw::gdi {

// The parts of a LOGFONT that choose a face.
struct FontRequest {
  QString face;
  int weight = 400;
  bool italic = false;
  std::uint8_t charset = 1;  // DEFAULT_CHARSET
  std::uint8_t pitch_and_family = 0;
};

struct FontMatch {
  QString family;         // the installed family that draws the text
  std::string file;       // its font file
  int index = 0;          // face index inside the file
  bool face_found = false;  // the requested face (or a known alias of it) is installed
  bool synthetic_bold = false;    // bold asked for, the family has none
  bool synthetic_italic = false;  // italic asked for, the family has none
  bool symbol = false;    // a symbol-encoded font (its cmap uses 0xF0xx)
  std::uint8_t charset = 0;  // the character set the font is realised in
};

// Matches a request; thread-safe. The result always names a loadable file
// unless no usable font is installed at all (file then empty).
FontMatch MatchFont(const FontRequest& request);

// The family name a face is looked up under after the stand-in and
// substitute tables (e.g. "Times New Roman" -> "Liberation Serif"); the face
// itself when neither table has it.
QString StandInFamily(const QString& face);

}  // namespace pw::gdi
