#include "platform/gdi/emf/emf_records.h"

#include <algorithm>
#include <array>
#include <utility>

namespace pw::gdi {

namespace {

struct NamedType {
  std::uint32_t type;
  std::string_view name;
};

constexpr NamedType kNames[] = {
    {1, "EMR_HEADER"},
    {2, "EMR_POLYBEZIER"},
    {3, "EMR_POLYGON"},
    {4, "EMR_POLYLINE"},
    {5, "EMR_POLYBEZIERTO"},
    {6, "EMR_POLYLINETO"},
    {7, "EMR_POLYPOLYLINE"},
    {8, "EMR_POLYPOLYGON"},
    {9, "EMR_SETWINDOWEXTEX"},
    {10, "EMR_SETWINDOWORGEX"},
    {11, "EMR_SETVIEWPORTEXTEX"},
    {12, "EMR_SETVIEWPORTORGEX"},
    {13, "EMR_SETBRUSHORGEX"},
    {14, "EMR_EOF"},
    {15, "EMR_SETPIXELV"},
    {16, "EMR_SETMAPPERFLAGS"},
    {17, "EMR_SETMAPMODE"},
    {18, "EMR_SETBKMODE"},
    {19, "EMR_SETPOLYFILLMODE"},
    {20, "EMR_SETROP2"},
    {21, "EMR_SETSTRETCHBLTMODE"},
    {22, "EMR_SETTEXTALIGN"},
    {23, "EMR_SETCOLORADJUSTMENT"},
    {24, "EMR_SETTEXTCOLOR"},
    {25, "EMR_SETBKCOLOR"},
    {26, "EMR_OFFSETCLIPRGN"},
    {27, "EMR_MOVETOEX"},
    {28, "EMR_SETMETARGN"},
    {29, "EMR_EXCLUDECLIPRECT"},
    {30, "EMR_INTERSECTCLIPRECT"},
    {31, "EMR_SCALEVIEWPORTEXTEX"},
    {32, "EMR_SCALEWINDOWEXTEX"},
    {33, "EMR_SAVEDC"},
    {34, "EMR_RESTOREDC"},
    {35, "EMR_SETWORLDTRANSFORM"},
    {36, "EMR_MODIFYWORLDTRANSFORM"},
    {37, "EMR_SELECTOBJECT"},
    {38, "EMR_CREATEPEN"},
    {39, "EMR_CREATEBRUSHINDIRECT"},
    {40, "EMR_DELETEOBJECT"},
    {41, "EMR_ANGLEARC"},
    {42, "EMR_ELLIPSE"},
    {43, "EMR_RECTANGLE"},
    {44, "EMR_ROUNDRECT"},
    {45, "EMR_ARC"},
    {46, "EMR_CHORD"},
    {47, "EMR_PIE"},
    {48, "EMR_SELECTPALETTE"},
    {49, "EMR_CREATEPALETTE"},
    {50, "EMR_SETPALETTEENTRIES"},
    {51, "EMR_RESIZEPALETTE"},
    {52, "EMR_REALIZEPALETTE"},
    {53, "EMR_EXTFLOODFILL"},
    {54, "EMR_LINETO"},
    {55, "EMR_ARCTO"},
    {56, "EMR_POLYDRAW"},
    {57, "EMR_SETARCDIRECTION"},
    {58, "EMR_SETMITERLIMIT"},
    {59, "EMR_BEGINPATH"},
    {60, "EMR_ENDPATH"},
    {61, "EMR_CLOSEFIGURE"},
    {62, "EMR_FILLPATH"},
    {63, "EMR_STROKEANDFILLPATH"},
    {64, "EMR_STROKEPATH"},
    {65, "EMR_FLATTENPATH"},
    {66, "EMR_WIDENPATH"},
    {67, "EMR_SELECTCLIPPATH"},
    {68, "EMR_ABORTPATH"},
    {70, "EMR_GDICOMMENT"},
    {71, "EMR_FILLRGN"},
    {72, "EMR_FRAMERGN"},
    {73, "EMR_INVERTRGN"},
    {74, "EMR_PAINTRGN"},
    {75, "EMR_EXTSELECTCLIPRGN"},
    {76, "EMR_BITBLT"},
    {77, "EMR_STRETCHBLT"},
    {78, "EMR_MASKBLT"},
    {79, "EMR_PLGBLT"},
    {80, "EMR_SETDIBITSTODEVICE"},
    {81, "EMR_STRETCHDIBITS"},
    {82, "EMR_EXTCREATEFONTINDIRECTW"},
    {83, "EMR_EXTTEXTOUTA"},
    {84, "EMR_EXTTEXTOUTW"},
    {85, "EMR_POLYBEZIER16"},
    {86, "EMR_POLYGON16"},
    {87, "EMR_POLYLINE16"},
    {88, "EMR_POLYBEZIERTO16"},
    {89, "EMR_POLYLINETO16"},
    {90, "EMR_POLYPOLYLINE16"},
    {91, "EMR_POLYPOLYGON16"},
    {92, "EMR_POLYDRAW16"},
    {93, "EMR_CREATEMONOBRUSH"},
    {94, "EMR_CREATEDIBPATTERNBRUSHPT"},
    {95, "EMR_EXTCREATEPEN"},
    {96, "EMR_POLYTEXTOUTA"},
    {97, "EMR_POLYTEXTOUTW"},
    {98, "EMR_SETICMMODE"},
    {99, "EMR_CREATECOLORSPACE"},
    {100, "EMR_SETCOLORSPACE"},
    {101, "EMR_DELETECOLORSPACE"},
    {102, "EMR_GLSRECORD"},
    {103, "EMR_GLSBOUNDEDRECORD"},
    {104, "EMR_PIXELFORMAT"},
    {105, "EMR_DRAWESCAPE"},
    {106, "EMR_EXTESCAPE"},
    {108, "EMR_SMALLTEXTOUT"},
    {109, "EMR_FORCEUFIMAPPING"},
    {110, "EMR_NAMEDESCAPE"},
    {111, "EMR_COLORCORRECTPALETTE"},
    {112, "EMR_SETICMPROFILEA"},
    {113, "EMR_SETICMPROFILEW"},
    {114, "EMR_ALPHABLEND"},
    {115, "EMR_SETLAYOUT"},
    {116, "EMR_TRANSPARENTBLT"},
    {118, "EMR_GRADIENTFILL"},
    {119, "EMR_SETLINKEDUFIS"},
    {120, "EMR_SETTEXTJUSTIFICATION"},
    {121, "EMR_COLORMATCHTOTARGETW"},
    {122, "EMR_CREATECOLORSPACEW"},
};

}  // namespace

std::string_view RecordName(std::uint32_t type) {
  auto it = std::lower_bound(std::begin(kNames), std::end(kNames), type,
                             [](const NamedType& entry, std::uint32_t t) { return entry.type < t; });
  if (it == std::end(kNames) || it->type != type) return {};
  return it->name;
}

PointL ReadPointL(io::ByteReader& reader) {
  PointL p;
  p.x = reader.I32();
  p.y = reader.I32();
  return p;
}

SizeL ReadSizeL(io::ByteReader& reader) {
  SizeL s;
  s.cx = reader.I32();
  s.cy = reader.I32();
  return s;
}

RectL ReadRectL(io::ByteReader& reader) {
  RectL r;
  r.left = reader.I32();
  r.top = reader.I32();
  r.right = reader.I32();
  r.bottom = reader.I32();
  return r;
}

std::optional<EmfHeader> ParseEmfHeader(io::ByteReader reader) {
  if (reader.size() < kEmfHeaderMinSize) return std::nullopt;
  EmfHeader h;
  if (reader.U32() != static_cast<std::uint32_t>(RecordType::Header)) return std::nullopt;
  h.record_size = reader.U32();
  h.bounds = ReadRectL(reader);
  h.frame = ReadRectL(reader);
  h.signature = reader.U32();
  h.version = reader.U32();
  h.bytes = reader.U32();
  h.records = reader.U32();
  h.handles = reader.U16();
  reader.U16();  // reserved
  h.description_chars = reader.U32();
  h.description_offset = reader.U32();
  h.palette_entries = reader.U32();
  h.device = ReadSizeL(reader);
  h.millimeters = ReadSizeL(reader);
  if (!reader.ok()) return std::nullopt;
  // The optional tail counts only when the record itself covers it.
  const std::size_t in_record = std::min<std::size_t>(h.record_size, reader.size());
  if (in_record >= 100) {
    h.pixel_format_size = reader.U32();
    h.pixel_format_offset = reader.U32();
    h.opengl = reader.U32();
  }
  if (in_record >= 108) h.micrometers = ReadSizeL(reader);
  if (!reader.ok()) return std::nullopt;
  return h;
}

}  // namespace pw::gdi
