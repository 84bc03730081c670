#pragma once
// Plays small metafiles from EmfWriter into white surfaces and describes
// pixel areas as text, so that a failing check shows the picture.
#include <map>
#include <string>

#include <QRect>

#include "platform/gdi/emf/emf_writer.h"
#include "platform/gdi/player/player.h"
#include "platform/gdi/dc/surface.h"

namespace pw::gdi::test {

struct Played {
  Surface surface;
  PlayReport report;
};

// With the writer's default reference device and frame, a 100 × 100 surface
// shows one logical unit per pixel.
Played Play(const EmfWriter& writer, int width = 100, int height = 100);

// One character per pixel of `area`: the legend's character for known
// colours (COLORREF), '.' for white, '?' for anything else; rows end in '\n'.
std::string Picture(const Surface& surface, QRect area, const std::map<ColorRef, char>& legend = {});

// How many pixels of `area` have exactly this colour.
int CountColor(const Surface& surface, ColorRef color, QRect area);

// The bounding box of the pixels of this colour (empty when there are none).
QRect BoundsOf(const Surface& surface, ColorRef color);

// RGNDATA for a list of rectangles.
RecordBuilder RegionData(std::initializer_list<RectL> rects);

inline constexpr ColorRef kBlack = 0x000000;
inline constexpr ColorRef kWhite = 0xFFFFFF;
inline constexpr ColorRef kRed = 0x0000FF;
inline constexpr ColorRef kGreen = 0x00FF00;
inline constexpr ColorRef kBlue = 0xFF0000;

// Stock object indexes as records carry them.
inline constexpr std::uint32_t kStockNullPen = kStockObjectFlag | 8;
inline constexpr std::uint32_t kStockBlackPen = kStockObjectFlag | 7;
inline constexpr std::uint32_t kStockNullBrush = kStockObjectFlag | 5;

}  // namespace pw::gdi::test
