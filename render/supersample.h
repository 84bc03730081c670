#pragma once
// Turns a band of the drawing surface into image pixels: each pixel is the
// truncated integer mean of an f x f block of surface pixels.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "render/quantum_scale.h"

namespace pw::render {

// Rows of 32-bit surface pixels (blue, green, red, unused), top-down.
struct SurfaceRows {
  std::span<std::uint8_t> bytes;  // writable for a refill
  std::size_t stride = 0;  // bytes per row
  int width = 0;           // pixels per row
  int height = 0;          // rows
};

// Averages the surface into out_rows rows of `columns` pixels of the image
// library, written to `out` row after row: the 8-bit means scaled to the
// quantum, opacity 0, as the image's own pixel cache holds them, so the
// rows can go straight into it. Block (x, y) covers surface columns
// x*f .. x*f+f-1 and rows y*f .. y*f+f-1. f = 1 copies. Returns false,
// writing nothing, when the surface or `out` is too small for that many
// blocks.
//
// With `refill`, the surface pixels the blocks cover are then set to that
// 32-bit pixel, each f rows as soon as they are summed and still in the
// processor's cache: a surface drawn on again starts with its background
// already there, and is not filled once more from memory.
bool AverageBlocks(const SurfaceRows& surface, int factor, int columns, int out_rows,
                   std::span<MagickCore::PixelPacket> out, std::optional<std::uint32_t> refill = std::nullopt);

}  // namespace pw::render
