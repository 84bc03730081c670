#pragma once
// Turns a band of the drawing surface into output pixels: each output pixel
// is the truncated integer mean of an f x f block of surface pixels.
#include <cstddef>
#include <cstdint>
#include <span>

namespace pw::render {

// Rows of 32-bit surface pixels (blue, green, red, unused), top-down.
struct SurfaceRows {
  std::span<const std::uint8_t> bytes;
  std::size_t stride = 0;  // bytes per row
  int width = 0;           // pixels per row
  int height = 0;          // rows
};

// Averages the surface into out_rows rows of `columns` output pixels, three
// bytes each (blue, green, red), written to `out` row after row. Block
// (x, y) covers surface columns x*f .. x*f+f-1 and rows y*f .. y*f+f-1.
// f = 1 copies. Returns false, writing nothing, when the surface or `out` is
// too small for that many blocks.
bool AverageBlocks(const SurfaceRows& surface, int factor, int columns, int out_rows,
                   std::span<std::uint8_t> out);

}  // namespace pw::render
