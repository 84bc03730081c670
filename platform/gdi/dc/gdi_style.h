#pragma once
// GDI pens, brushes and mix modes as QPainter pens, brushes and composition
// modes. Used by the device context only.
#include <optional>

#include <QBrush>
#include <QPainter>
#include <QPen>

#include "platform/gdi/dc/device_context.h"

namespace pw::gdi {

// The brush as Qt paints it, with the DC's background (hatch gaps, opaque
// mode) and text colours (monochrome patterns) resolved.
QBrush ToQBrush(const Brush& brush, const DcState& state);

// The pen at a device width; widths of 1 or less draw cosmetic one-pixel lines.
QPen ToQPen(const Pen& pen, int device_width, const DcState& state);

// The composition mode for a ROP2 mix mode; nothing for R2_NOP.
std::optional<QPainter::CompositionMode> ToCompositionMode(Rop2 rop);

// The 8 × 8 hatch pattern of a style: one byte per row, bit 7 the leftmost pixel.
const unsigned char* HatchRows(HatchStyle style);

}  // namespace pw::gdi
