#pragma once
// Enhanced-metafile record types and the header record.
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/io/byte_reader.h"

namespace pw::gdi {

enum class RecordType : std::uint32_t {
  Header = 1,
  PolyBezier = 2,
  Polygon = 3,
  Polyline = 4,
  PolyBezierTo = 5,
  PolylineTo = 6,
  PolyPolyline = 7,
  PolyPolygon = 8,
  SetWindowExtEx = 9,
  SetWindowOrgEx = 10,
  SetViewportExtEx = 11,
  SetViewportOrgEx = 12,
  SetBrushOrgEx = 13,
  Eof = 14,
  SetPixelV = 15,
  SetMapperFlags = 16,
  SetMapMode = 17,
  SetBkMode = 18,
  SetPolyFillMode = 19,
  SetRop2 = 20,
  SetStretchBltMode = 21,
  SetTextAlign = 22,
  SetColorAdjustment = 23,
  SetTextColor = 24,
  SetBkColor = 25,
  OffsetClipRgn = 26,
  MoveToEx = 27,
  SetMetaRgn = 28,
  ExcludeClipRect = 29,
  IntersectClipRect = 30,
  ScaleViewportExtEx = 31,
  ScaleWindowExtEx = 32,
  SaveDc = 33,
  RestoreDc = 34,
  SetWorldTransform = 35,
  ModifyWorldTransform = 36,
  SelectObject = 37,
  CreatePen = 38,
  CreateBrushIndirect = 39,
  DeleteObject = 40,
  AngleArc = 41,
  Ellipse = 42,
  Rectangle = 43,
  RoundRect = 44,
  Arc = 45,
  Chord = 46,
  Pie = 47,
  SelectPalette = 48,
  CreatePalette = 49,
  SetPaletteEntries = 50,
  ResizePalette = 51,
  RealizePalette = 52,
  ExtFloodFill = 53,
  LineTo = 54,
  ArcTo = 55,
  PolyDraw = 56,
  SetArcDirection = 57,
  SetMiterLimit = 58,
  BeginPath = 59,
  EndPath = 60,
  CloseFigure = 61,
  FillPath = 62,
  StrokeAndFillPath = 63,
  StrokePath = 64,
  FlattenPath = 65,
  WidenPath = 66,
  SelectClipPath = 67,
  AbortPath = 68,
  GdiComment = 70,
  FillRgn = 71,
  FrameRgn = 72,
  InvertRgn = 73,
  PaintRgn = 74,
  ExtSelectClipRgn = 75,
  BitBlt = 76,
  StretchBlt = 77,
  MaskBlt = 78,
  PlgBlt = 79,
  SetDiBitsToDevice = 80,
  StretchDiBits = 81,
  ExtCreateFontIndirectW = 82,
  ExtTextOutA = 83,
  ExtTextOutW = 84,
  PolyBezier16 = 85,
  Polygon16 = 86,
  Polyline16 = 87,
  PolyBezierTo16 = 88,
  PolylineTo16 = 89,
  PolyPolyline16 = 90,
  PolyPolygon16 = 91,
  PolyDraw16 = 92,
  CreateMonoBrush = 93,
  CreateDibPatternBrushPt = 94,
  ExtCreatePen = 95,
  PolyTextOutA = 96,
  PolyTextOutW = 97,
  SetIcmMode = 98,
  CreateColorSpace = 99,
  SetColorSpace = 100,
  DeleteColorSpace = 101,
  GlsRecord = 102,
  GlsBoundedRecord = 103,
  PixelFormat = 104,
  DrawEscape = 105,
  ExtEscape = 106,
  SmallTextOut = 108,
  ForceUfiMapping = 109,
  NamedEscape = 110,
  ColorCorrectPalette = 111,
  SetIcmProfileA = 112,
  SetIcmProfileW = 113,
  AlphaBlend = 114,
  SetLayout = 115,
  TransparentBlt = 116,
  GradientFill = 118,
  SetLinkedUfis = 119,
  SetTextJustification = 120,
  ColorMatchToTargetW = 121,
  CreateColorSpaceW = 122,
};

// "EMR_POLYGON16" and so on; empty for a type this table does not know.
std::string_view RecordName(std::uint32_t type);
inline std::string_view RecordName(RecordType type) { return RecordName(static_cast<std::uint32_t>(type)); }

struct PointL {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const PointL&, const PointL&) = default;
};

struct SizeL {
  std::int32_t cx = 0;
  std::int32_t cy = 0;
  friend bool operator==(const SizeL&, const SizeL&) = default;
};

struct RectL {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  std::int64_t Width() const { return std::int64_t{right} - left; }
  std::int64_t Height() const { return std::int64_t{bottom} - top; }
  friend bool operator==(const RectL&, const RectL&) = default;
};

PointL ReadPointL(io::ByteReader& reader);
SizeL ReadSizeL(io::ByteReader& reader);
RectL ReadRectL(io::ByteReader& reader);

constexpr std::uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr std::size_t kEmfHeaderMinSize = 88;

// The EMR_HEADER record. The optional tail (pixel format, OpenGL flag,
// micrometre size) is present only in headers long enough to hold it.
struct EmfHeader {
  std::uint32_t record_size = 0;
  RectL bounds;        // device units of the reference device, inclusive
  RectL frame;         // 0.01 mm, inclusive
  std::uint32_t signature = 0;
  std::uint32_t version = 0;
  std::uint32_t bytes = 0;
  std::uint32_t records = 0;
  std::uint16_t handles = 0;
  std::uint32_t description_chars = 0;
  std::uint32_t description_offset = 0;
  std::uint32_t palette_entries = 0;
  SizeL device;        // reference device, pixels
  SizeL millimeters;   // reference device, millimetres
  std::uint32_t pixel_format_size = 0;
  std::uint32_t pixel_format_offset = 0;
  std::uint32_t opengl = 0;
  std::optional<SizeL> micrometers;
};

// Reads the header from the start of a record (type and size included).
// Fails when the record is shorter than the fixed part.
std::optional<EmfHeader> ParseEmfHeader(io::ByteReader reader);

}  // namespace pw::gdi
