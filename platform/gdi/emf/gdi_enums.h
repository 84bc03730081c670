#pragma once
// The Windows GDI values that metafile records carry: map modes, drawing
// modes, pen and brush styles, text alignment bits and raster operation
// codes. No Qt, so the metafile writer and its users can name them too.
#include <cstdint>

namespace pw::gdi {

enum class MapMode : std::int32_t {
  Text = 1, LoMetric = 2, HiMetric = 3, LoEnglish = 4, HiEnglish = 5, Twips = 6, Isotropic = 7, Anisotropic = 8,
};
enum class BkMode : std::int32_t { Transparent = 1, Opaque = 2 };
enum class PolyFillMode : std::int32_t { Alternate = 1, Winding = 2 };
enum class Rop2 : std::int32_t {
  Black = 1, NotMergePen, MaskNotPen, NotCopyPen, MaskPenNot, Not, XorPen, NotMaskPen,
  MaskPen, NotXorPen, Nop, MergeNotPen, CopyPen, MergePenNot, MergePen, White,
};
enum class ArcDirection : std::int32_t { CounterClockwise = 1, Clockwise = 2 };
enum class StretchBltMode : std::int32_t { BlackOnWhite = 1, WhiteOnBlack = 2, ColorOnColor = 3, Halftone = 4 };
enum class RegionMode : std::int32_t { And = 1, Or = 2, Xor = 3, Diff = 4, Copy = 5 };
enum class WorldTransformMode : std::uint32_t { Identity = 1, LeftMultiply = 2, RightMultiply = 3, Set = 4 };
enum class PolyDrawType : std::uint8_t { CloseFigure = 1, LineTo = 2, BezierTo = 4, MoveTo = 6 };

// TA_* bits of SetTextAlign.
enum class TextAlign : std::uint32_t {
  UpdateCp = 1, Right = 2, Center = 6, Bottom = 8, Baseline = 24, RtlReading = 256,
};

enum class PenStyle : std::uint32_t {
  Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4, Null = 5, InsideFrame = 6, UserStyle = 7, Alternate = 8,
};
enum class PenEndCap : std::uint32_t { Round = 0x000, Square = 0x100, Flat = 0x200 };
enum class PenJoin : std::uint32_t { Round = 0x0000, Bevel = 0x1000, Miter = 0x2000 };

enum class BrushStyle : std::uint32_t {
  Solid = 0, Null = 1, Hatched = 2, Pattern = 3, Indexed = 4, DibPattern = 5, DibPatternPt = 6,
  Pattern8x8 = 7, DibPattern8x8 = 8, MonoPattern = 9,
};
enum class HatchStyle : std::uint32_t { Horizontal = 0, Vertical = 1, FDiagonal = 2, BDiagonal = 3, Cross = 4, DiagCross = 5 };

// The named ternary raster operation (ROP3) codes; any other 32-bit code
// works by its index (bits 16 to 23).
enum class Rop3 : std::uint32_t {
  SrcCopy = 0x00CC0020,
  SrcPaint = 0x00EE0086,
  SrcAnd = 0x008800C6,
  SrcInvert = 0x00660046,
  SrcErase = 0x00440328,
  NotSrcCopy = 0x00330008,
  NotSrcErase = 0x001100A6,
  MergeCopy = 0x00C000CA,
  MergePaint = 0x00BB0226,
  PatCopy = 0x00F00021,
  PatPaint = 0x00FB0A09,
  PatInvert = 0x005A0049,
  DstInvert = 0x00550009,
  Blackness = 0x00000042,
  Whiteness = 0x00FF0062,
  // Source selects: pattern where the source is 0, destination where it is 1.
  Pdspdxax = 0x00B8074A,
  // Source selects: destination where the source is 0, pattern where it is 1.
  Dspdxax = 0x00E20746,
  NoOp = 0x00AA0029,
};

}  // namespace pw::gdi
