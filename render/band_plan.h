#pragma once
// The page is drawn in horizontal bands so that the drawing surface stays
// small even at high resolution and supersampling factor.
#include <vector>

namespace pw::render {

struct Band {
  int index = 0;
  int offset = 0;  // first drawing row of the band
  int height = 0;  // drawing rows
};

struct BandPlan {
  int factor = 1;          // supersampling factor, 1 when off
  int base = 200;          // output rows per full band
  int drawing_width = 0;   // columns x factor
  int total_height = 0;    // rows x factor
  int band_height = 200;   // drawing rows per full band
  int nominal_count = 0;   // floor(total / band height) + 1, the progress range
  std::vector<Band> bands; // the bands drawn; an empty trailing band is left out
};

// Output rows per band for a supersampling factor (200 when off).
int BandBase(int factor);

// The band table for an image of columns x rows at factor f (1 = off).
// Callers keep columns x f and rows x f within int.
BandPlan PlanBands(int columns, int rows, int factor);

// A run of drawing rows drawn on one surface at a time.
struct Slice {
  int offset = 0;  // first drawing row
  int height = 0;  // drawing rows, a multiple of the factor
};

// The slices that draw the bands in order: a band whole when it has at most
// max_rows, else cut into slices of max_rows rounded down to whole groups of
// factor rows (at least one), the last one shorter. Slices begin where
// bands begin: drawing is not exactly the same at every offset (a dashed
// line's phase, for one), so other cuts would change the pages.
std::vector<Slice> PlanSlices(const BandPlan& plan, int max_rows);

}  // namespace pw::render
