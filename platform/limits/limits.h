#pragma once
// The bounds Pagewick puts on what it reads from other machines, in one
// place. Each keeps hostile or damaged input from exhausting memory or time;
// each is far above anything a real document needs. The message of a limit
// is the text a user or a report sees when input goes past it.
#include <cstdint>
#include <string_view>

namespace pw::limits {

struct Limit {
  std::int64_t value;
  std::string_view message;
};

// One metafile, and so one record of it or one page of a spool file: 1 GiB.
inline constexpr Limit kMetafileBytes{std::int64_t{1} << 30,
                                      "The page is larger than 1 GB and cannot be opened."};

// A drawing surface: each side, and its bytes at 32 bits a pixel.
inline constexpr Limit kSurfaceSide{std::int64_t{1} << 17,
                                    "The drawing surface would be wider or taller than 131072 pixels."};
inline constexpr Limit kSurfaceBytes{std::int64_t{1} << 30,
                                     "The drawing surface would need more than 1 GB of memory."};

// A rendered page: 2^28 pixels, each side at most 65535.
inline constexpr Limit kPagePixels{std::int64_t{1} << 28,
                                   "The page image would have more than 268 million pixels."};
inline constexpr Limit kPageSide{65535, "The page image would be wider or taller than 65535 pixels."};

// A bitmap inside a page: each side, and its pixel count.
inline constexpr Limit kBitmapSide{std::int64_t{1} << 16,
                                   "A bitmap of the page is wider or taller than 65536 pixels and is left out."};
inline constexpr Limit kBitmapPixels{std::int64_t{1} << 26,
                                     "A bitmap of the page has more than 67 million pixels and is left out."};

// Points of one drawing record.
inline constexpr Limit kRecordPoints{std::int64_t{1} << 24,
                                     "A shape of the page has more than 16 million points and is left out."};

// Saved drawing states a page may nest with SaveDC; deeper saves are refused.
inline constexpr Limit kSaveDepth{4096, "The page saves its drawing state more than 4096 levels deep."};

// Slots of a metafile's object table, as its header's 16-bit handle count allows.
inline constexpr Limit kObjectHandles{0xFFFF, "The page uses more than 65535 drawing objects."};

// Pages one capture holds.
inline constexpr Limit kCapturePages{2000, "The capture has more than 2000 pages; the pages after 2000 are left out."};

}  // namespace pw::limits
