#pragma once
// An installed font file held in memory with the metrics GDI realises fonts
// from: the OS/2 "win" ascent and descent (cell height), the average
// character width (lfWidth scaling), the code pages it covers (character
// set matching) and whether its cmap is a symbol one.
#include <QByteArray>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pw::gdi {

struct FontFileMetrics {
  int units_per_em = 2048;
  int win_ascent = 0;      // OS/2 usWinAscent (hhea ascender when absent)
  int win_descent = 0;     // OS/2 usWinDescent, positive
  int line_gap = 0;        // hhea lineGap: the external leading GDI reports
  int avg_char_width = 0;  // OS/2 xAvgCharWidth
  int weight_class = 400;
  bool italic = false;
  bool symbol_cmap = false;   // has a (3,0) cmap: characters live at 0xF000 + code
  std::uint32_t code_pages = 0;  // OS/2 ulCodePageRange1
  int underline_position = 0;    // post table, font units, negative below the baseline
  int underline_thickness = 0;
  int strikeout_position = 0;    // OS/2 yStrikeoutPosition
  int strikeout_size = 0;
  // gasp behaviour per pixels-per-em (index = ppem, the last entry holds for
  // all larger sizes); empty when the font has no gasp table.
  std::vector<std::uint8_t> gasp;
  // VDMX entries for square pixels, by rising size: the ascent (yMax) and
  // descent (-yMin) GDI reports at a ppem, and the ppem it picks for a cell
  // height. Empty when the font has no such table.
  struct VdmxEntry {
    int ppem = 0;
    int y_max = 0;
    int y_min = 0;
  };
  std::vector<VdmxEntry> vdmx;

  // Whether glyphs at this size are smoothed: the gasp table can ask for
  // bilevel glyphs at small sizes, and GDI obeys it.
  bool GrayAt(int ppem) const;
};

struct FontFile {
  std::string path;
  int index = 0;
  QByteArray data;  // the whole file; implicitly shared, safe to copy across threads
  FontFileMetrics metrics;
};

// Loads (once per process) and returns the file; null when it cannot be read
// or FreeType cannot open it. Thread-safe.
std::shared_ptr<const FontFile> LoadFontFile(const std::string& path, int index);

}  // namespace pw::gdi
