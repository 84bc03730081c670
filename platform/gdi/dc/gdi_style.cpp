#include "platform/gdi/dc/gdi_style.h"

#include <array>
#include <vector>

#include "platform/gdi/dc/dib.h"

namespace pw::gdi {

namespace {

constexpr unsigned char kHatches[6][8] = {
    {0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00},  // horizontal
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08},  // vertical
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // forward diagonal
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // backward diagonal
    {0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08, 0x08},  // cross
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // diagonal cross
};

// Dash and gap lengths in pixels of one-pixel pens, and in pen widths of
// wide geometric pens.
const std::vector<qreal>* DashPattern(PenStyle style, bool wide) {
  static const std::vector<qreal> thin[] = {{18, 6}, {3, 3}, {9, 6, 3, 6}, {9, 3, 3, 3, 3, 3}};
  static const std::vector<qreal> thick[] = {{3, 1}, {1, 1}, {3, 1, 1, 1}, {3, 1, 1, 1, 1, 1}};
  static const std::vector<qreal> alternate = {1, 1};
  switch (style) {
    case PenStyle::Dash: return wide ? &thick[0] : &thin[0];
    case PenStyle::Dot: return wide ? &thick[1] : &thin[1];
    case PenStyle::DashDot: return wide ? &thick[2] : &thin[2];
    case PenStyle::DashDotDot: return wide ? &thick[3] : &thin[3];
    case PenStyle::Alternate: return &alternate;
    default: return nullptr;
  }
}

}  // namespace

const unsigned char* HatchRows(HatchStyle style) {
  const auto index = static_cast<std::size_t>(style);
  return kHatches[index < 6 ? index : 0];
}

QBrush ToQBrush(const Brush& brush, const DcState& state) {
  switch (brush.style) {
    case BrushStyle::Null:
      return Qt::NoBrush;
    case BrushStyle::Hatched: {
      QImage tile(8, 8, QImage::Format_ARGB32_Premultiplied);
      const QRgb fg = ToQRgb(brush.color);
      const QRgb bg = state.bk_mode == BkMode::Opaque ? ToQRgb(state.bk_color) : 0u;
      const unsigned char* rows = HatchRows(brush.hatch);
      for (int y = 0; y < 8; ++y) {
        auto* line = reinterpret_cast<QRgb*>(tile.scanLine(y));
        for (int x = 0; x < 8; ++x) line[x] = (rows[y] & (0x80 >> x)) ? fg : bg;
      }
      return QBrush(tile);
    }
    case BrushStyle::Pattern:
    case BrushStyle::DibPattern:
    case BrushStyle::DibPatternPt:
    case BrushStyle::Pattern8x8:
    case BrushStyle::DibPattern8x8:
    case BrushStyle::MonoPattern:
      if (brush.pattern.isNull()) return QBrush(QColor(ToQRgb(brush.color)));
      if (brush.monochrome) return QBrush(ColorizeMonochrome(brush.pattern, state.text_color, state.bk_color));
      return QBrush(brush.pattern);
    case BrushStyle::Solid:
    case BrushStyle::Indexed:
    default:
      return QBrush(QColor(ToQRgb(brush.color)));
  }
}

QPen ToQPen(const Pen& pen, int device_width, const DcState& state) {
  if (pen.IsNull()) return Qt::NoPen;
  const bool wide = device_width > 1;
  QPen out;
  if (pen.brush && pen.brush->style != BrushStyle::Solid)
    out.setBrush(ToQBrush(*pen.brush, state));
  else
    out.setColor(QColor(ToQRgb(pen.color)));
  if (!wide) {
    out.setWidth(0);
    out.setCosmetic(true);
    out.setCapStyle(Qt::FlatCap);
    out.setJoinStyle(Qt::MiterJoin);
  } else {
    out.setWidth(device_width);
    out.setCapStyle(pen.end_cap == PenEndCap::Flat     ? Qt::FlatCap
                    : pen.end_cap == PenEndCap::Square ? Qt::SquareCap
                                                       : Qt::RoundCap);
    out.setJoinStyle(pen.join == PenJoin::Bevel   ? Qt::BevelJoin
                     : pen.join == PenJoin::Miter ? Qt::MiterJoin
                                                  : Qt::RoundJoin);
    // GDI measures the miter from the inner to the outer corner, Qt from the join point.
    out.setMiterLimit(std::max(0.5f, state.miter_limit / 2));
  }
  if (pen.style == PenStyle::UserStyle && !pen.user_style.empty()) {
    QList<qreal> dashes;
    const qreal unit = wide ? device_width : 1;
    for (std::uint32_t len : pen.user_style) dashes.push_back(std::max<qreal>(len, 1) / unit);
    if (dashes.size() % 2) dashes.push_back(dashes.back());
    out.setDashPattern(dashes);
  } else if (const auto* dashes = DashPattern(pen.style, wide)) {
    // Pens from EMR_CREATEPEN wider than a pixel draw solid.
    if (!wide || pen.extended) out.setDashPattern(QList<qreal>(dashes->begin(), dashes->end()));
  }
  return out;
}

std::optional<QPainter::CompositionMode> ToCompositionMode(Rop2 rop) {
  using M = QPainter::CompositionMode;
  switch (rop) {
    case Rop2::Black: return M::RasterOp_ClearDestination;
    case Rop2::NotMergePen: return M::RasterOp_NotSourceAndNotDestination;
    case Rop2::MaskNotPen: return M::RasterOp_NotSourceAndDestination;
    case Rop2::NotCopyPen: return M::RasterOp_NotSource;
    case Rop2::MaskPenNot: return M::RasterOp_SourceAndNotDestination;
    case Rop2::Not: return M::RasterOp_NotDestination;
    case Rop2::XorPen: return M::RasterOp_SourceXorDestination;
    case Rop2::NotMaskPen: return M::RasterOp_NotSourceOrNotDestination;
    case Rop2::MaskPen: return M::RasterOp_SourceAndDestination;
    case Rop2::NotXorPen: return M::RasterOp_NotSourceXorDestination;
    case Rop2::Nop: return std::nullopt;
    case Rop2::MergeNotPen: return M::RasterOp_NotSourceOrDestination;
    case Rop2::CopyPen: return M::CompositionMode_SourceOver;
    case Rop2::MergePenNot: return M::RasterOp_SourceOrNotDestination;
    case Rop2::MergePen: return M::RasterOp_SourceOrDestination;
    case Rop2::White: return M::RasterOp_SetDestination;
  }
  return M::CompositionMode_SourceOver;
}

}  // namespace pw::gdi
