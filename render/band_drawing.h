#pragma once
// Drawing one horizontal slice of a page on a private surface and turning
// it into output pixels. Slices of a page are independent of each other, so
// they may be drawn on several threads at once.
#include <Magick++.h>
#include <QString>

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>

#include <tl/expected.hpp>

#include "platform/gdi/emf/metafile.h"
#include "platform/gdi/player/player.h"
#include "platform/gdi/dc/surface.h"
#include "render/render_options.h"

namespace pw::render {

// What the player noted about a page, counted by text.
using PlayNotes = std::map<std::string, std::uint32_t>;

// Everything that is the same for every band of one render.
struct PageDrawing {
  const gdi::Metafile* metafile = nullptr;  // null: the "not supported" placeholder
  int columns = 0;                          // output pixels per row
  int factor = 1;                           // supersampling factor, 1 when off
  int drawing_width = 0;                    // columns x factor
  int total_height = 0;                     // rows x factor
  BackgroundOptions background;
  int background_factor = 1;                // the pattern's scale
  bool stamp = false;                       // draw the date stamp
  QString stamp_text;
  int antialias_setting = 0;                // KodAntialias as set, for the stamp height
};

// A worker's drawing surface, kept from one slice to the next.
struct SliceSurface {
  std::optional<gdi::Surface> surface;
  // The COLORREF the whole surface holds: the background it was left
  // refilled with after averaging, or white when it is new.
  std::optional<std::uint32_t> filled_with;
};

// Draws drawing rows offset ... offset + height - 1 (height a multiple of
// the factor) with the page rectangle shifted up by `offset`, and writes
// height / factor rows of `columns` image pixels to `out`, which has room
// for them. `kept` is the caller's surface from the previous slice: one of
// the right size is drawn on again, which spares the system from handing
// out and zeroing tens of megabytes per band, and it is left holding the
// page's background fill for the next slice. Returns what the player noted
// about the page (limits hit, fonts replaced); fails when the drawing
// surface cannot be made.
tl::expected<PlayNotes, std::string> DrawSlice(const PageDrawing& page, int offset, int height, SliceSurface& kept,
                                               std::span<MagickCore::PixelPacket> out);

}  // namespace pw::render
