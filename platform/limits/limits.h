#pragma once
// The bounds Pagewick puts on what it reads from other machines, in one
// place. Each keeps hostile or damaged input from exhausting memory or time;
// each is far above anything a real document needs. The message of a limit
// is the text a user or a report sees when input goes past it.
//
// Where each message shows:
// - Bounds met while a page plays (bitmaps, points, regions, objects, saved
//   states, blits, text) refuse the one record that goes past them;
//   playback goes on and the message is a note of the gdi::PlayReport
//   (counted once per refused record), which emfplay --records prints.
// - Bounds met while a file loads fail the load: the message is the error
//   text (gdi::MetafileError, the .reg import error, a pagewick-reg key
//   argument) or is shown by the capture load beside its own texts.
// - The surface bounds are checked by gdi::Surface::Create, and
//   SurfaceBoundPassed names the bound a refused surface went past.
// - The page image bounds are checked by the page rasteriser (render/)
//   before it allocates anything; a page past them is a render error.
//   emfplay checks the same bounds before it draws.
//
// Rules of the formats themselves (16 style entries of a pen, 259-character
// handshake lines, 255-character key names, five-digit job numbers) stay
// with the code that reads those formats.
#include <cstdint>
#include <string_view>

namespace pw::limits {

struct Limit {
  std::int64_t value;
  std::string_view message;
};

// One metafile, and so one record of it or one page of a spool file: 1 GiB.
// Protects the memory a page's bytes are read into. Checked before a byte
// is read: gdi::Metafile::FromFile and FromBytes fail with this message,
// and the capture load shows it for a clipboard metafile past it.
inline constexpr Limit kMetafileBytes{std::int64_t{1} << 30,
                                      "The page is larger than 1 GB and cannot be opened."};

// A drawing surface: each side, and its bytes at 32 bits a pixel. Protects
// the memory of the surfaces pages and bands are drawn on (gdi::Surface);
// the rasteriser supersamples a very wide page less to stay within them.
inline constexpr Limit kSurfaceSide{std::int64_t{1} << 17,
                                    "The drawing surface would be wider or taller than 131072 pixels."};
inline constexpr Limit kSurfaceBytes{std::int64_t{1} << 30,
                                     "The drawing surface would need more than 1 GB of memory."};

// The surface bound a surface of width × height pixels goes past (the side
// bound first), or nullptr within both: a refused surface can then be
// reported with the message of the bound that refused it.
constexpr const Limit* SurfaceBoundPassed(std::int64_t width, std::int64_t height) {
  if (width > kSurfaceSide.value || height > kSurfaceSide.value) return &kSurfaceSide;
  if (width * height * 4 > kSurfaceBytes.value) return &kSurfaceBytes;
  return nullptr;
}

// A rendered page: 40 million pixels, each side at most 16000 (an A4 or
// Letter page at 600 dpi fits, A3 up to 500 dpi). Protects the page image a
// render returns; a page past them is a render error, refused before
// anything is allocated, and emfplay refuses it the same way.
// The page image lives in ImageMagick's pixel cache, whose resource policy
// is a ceiling a program cannot raise: as Debian ships it, 16000 pixels a
// side, 256 MiB of memory and 1 GiB of disk for the whole process, at 8
// bytes a pixel. A larger page spills to disk, and there the PNG coder
// failed from about 42 million pixels on (measured at 40.7 million: whole;
// 43.7 million: "No IDATs written"). The image library test checks these
// bounds against the policy in force.
inline constexpr Limit kPagePixels{40'000'000, "The page image would have more than 40 million pixels."};
inline constexpr Limit kPageSide{16000, "The page image would be wider or taller than 16000 pixels."};

// A page reduced to a palette (GIF, indexed PNG or TIFF, or a PDF carrying
// such pages): 29.8 million pixels. The colour reduction copies the page
// into a cache with an index beside each pixel, 8 + 10 bytes a pixel at
// once, and only the library's mapped room (512 MiB as Debian's policy caps
// it) keeps that fast: past it the copy goes to a disk cache that the
// dithering reaches a pixel at a time (an A4 page at 600 dpi took over five
// minutes as GIF, and a 6296 x 6296 page ran out of the disk room; a gray
// page of 5457 x 5457 takes 13 s). Protects time and the disk; refused by
// the page rasteriser with the page bounds, before anything is allocated.
inline constexpr Limit kPalettePagePixels{(std::int64_t{512} << 20) / 18,
                                          "The page image would have more than 29 million pixels, too many for "
                                          "a GIF or an indexed PNG or TIFF."};

// A bitmap inside a page: each side, and its pixel count. Protects the
// memory a record's bitmap is decoded into; the record is left out.
inline constexpr Limit kBitmapSide{std::int64_t{1} << 16,
                                   "A bitmap of the page is wider or taller than 65536 pixels and is left out."};
inline constexpr Limit kBitmapPixels{std::int64_t{1} << 26,
                                     "A bitmap of the page has more than 67 million pixels and is left out."};

// Points of one drawing record (polygon points, counts of a poly-polygon,
// gradient vertices): 2^24. Protects the memory a shape is read into.
inline constexpr Limit kRecordPoints{std::int64_t{1} << 24,
                                     "A shape of the page has more than 16 million points and is left out."};

// Saved drawing states a page may nest with SaveDC; deeper saves are
// refused. Protects memory: each level copies the whole drawing state.
inline constexpr Limit kSaveDepth{4096, "The page saves its drawing state more than 4096 levels deep."};

// Slots of a metafile's object table, as its header's 16-bit handle count
// allows; an object created at a slot past them is left out.
inline constexpr Limit kObjectHandles{0xFFFF, "The page uses more than 65535 drawing objects."};

// Origins and extents a bit-block transfer takes, in pixels of its bitmap
// or of the device: 2^30. Protects the pixel arithmetic of a blit from
// overflow; the record is left out.
inline constexpr Limit kBlitExtent{std::int64_t{1} << 30,
                                   "A bitmap of the page is placed or stretched beyond 1073741824 pixels and is "
                                   "left out."};

// Rectangles of one region a record gives (a clip or a filled region),
// as given or as its rectangles unite: 2^20. Protects memory, and the time
// of uniting rectangles that overlap; the record is left out.
inline constexpr Limit kRegionRects{std::int64_t{1} << 20,
                                    "A region of the page has more than 1048576 rectangles and is left out."};

// Characters of one string of a text record: 2^20. Protects the memory and
// time of laying out one string; the string is left out.
inline constexpr Limit kTextChars{std::int64_t{1} << 20,
                                  "A text of the page has more than 1048576 characters and is left out."};

// Pages one capture holds; the files past them stay unloaded. The capture
// load shows this text followed by how many pages were not loaded.
inline constexpr Limit kCapturePages{2000, "Pagewick holds at most 2000 pages."};

// A .reg file imported with pagewick-reg: 64 MiB, so that its text fits in
// memory. The import fails with this message.
inline constexpr Limit kRegFileBytes{std::int64_t{64} << 20, "The .reg file is larger than 64 MB and is not read."};

// Levels of one registry key path, as Windows allows: 512. Protects the
// store from unbounded key chains; a .reg import or a pagewick-reg key
// argument past it fails with this message.
inline constexpr Limit kKeyDepth{512, "The key is more than 512 levels deep."};

}  // namespace pw::limits
