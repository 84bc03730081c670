#include "render/band_plan.h"

#include <algorithm>
#include <cmath>

namespace pw::render {

int BandBase(int factor) {
  if (factor < 2) return 200;
  if (factor <= 3) return 200;
  if (factor <= 5) return 100;
  if (factor <= 7) return 80;
  if (factor <= 9) return 60;
  if (factor <= 11) return 40;
  return 20;
}

BandPlan PlanBands(int columns, int rows, int factor) {
  BandPlan plan;
  plan.factor = factor < 2 ? 1 : factor;
  plan.base = BandBase(plan.factor);
  plan.drawing_width = columns * plan.factor;
  plan.total_height = rows * plan.factor;
  plan.band_height = plan.factor == 1 ? 200 : plan.factor * plan.base;
  plan.nominal_count = static_cast<int>(
      std::floor(static_cast<double>(static_cast<unsigned>(plan.total_height)) / plan.band_height)) + 1;
  for (int k = 0; k < plan.nominal_count; ++k) {
    const int offset = k * plan.band_height;
    const int height = k + 1 < plan.nominal_count ? plan.band_height
                                                  : plan.total_height - offset;
    if (height < 1) break;
    plan.bands.push_back(Band{k, offset, height});
  }
  return plan;
}

std::vector<Slice> PlanSlices(const BandPlan& plan, int max_rows) {
  const int most = std::max(1, max_rows / plan.factor) * plan.factor;
  std::vector<Slice> slices;
  for (const Band& band : plan.bands)
    for (int top = band.offset; top < band.offset + band.height; top += most)
      slices.push_back(Slice{top, std::min(most, band.offset + band.height - top)});
  return slices;
}

}  // namespace pw::render
