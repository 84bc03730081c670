#include "tools/emfplay/page_render.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/gdi/dc/device_context.h"
#include "platform/gdi/dc/surface.h"
#include "platform/limits/limits.h"

namespace pw::emfplay {

namespace {

// Bands keep one drawing surface to about this many bytes.
constexpr std::int64_t kBandBytes = std::int64_t{256} << 20;

}  // namespace

tl::expected<PageSize, std::string> PageSizeFor(const gdi::EmfHeader& header, double dpi) {
  const double w = static_cast<double>(header.frame.Width());
  const double h = static_cast<double>(header.frame.Height());
  if (w <= 0 || h <= 0 || !(dpi > 0)) return tl::unexpected(std::string("empty frame"));
  const double cols = std::ceil(w * dpi / 2540.0);
  const double rows = std::ceil(h * dpi / 2540.0);
  if (cols < 1 || rows < 1) return tl::unexpected(std::string("empty frame"));
  // The renderer's page bounds, checked before anything is allocated.
  if (cols > static_cast<double>(limits::kPageSide.value) || rows > static_cast<double>(limits::kPageSide.value))
    return tl::unexpected(std::string(limits::kPageSide.message));
  if (cols * rows > static_cast<double>(limits::kPagePixels.value))
    return tl::unexpected(std::string(limits::kPagePixels.message));
  return PageSize{static_cast<int>(cols), static_cast<int>(rows)};
}

QImage RenderPage(const gdi::Metafile& metafile, PageSize size, int antialias, gdi::PlayReport* report,
                  const gdi::PlayOptions& options) {
  const int f = std::max(1, antialias);
  const std::int64_t width = std::int64_t{size.cols} * f;
  const std::int64_t total = std::int64_t{size.rows} * f;
  if (width > gdi::Surface::kMaxSide) return {};
  std::int64_t band = std::max<std::int64_t>(f, kBandBytes / (width * 4) / f * f);
  band = std::min(band, total);

  QImage page(size.cols, size.rows, QImage::Format_RGB32);
  if (page.isNull()) return {};
  for (std::int64_t top = 0; top < total; top += band) {
    const int height = static_cast<int>(std::min(band, total - top));
    auto surface = gdi::Surface::Create(static_cast<int>(width), height);
    if (!surface) return {};
    {
      gdi::DeviceContext dc(*surface);
      const gdi::RectL rect{0, static_cast<std::int32_t>(-top), static_cast<std::int32_t>(width),
                            static_cast<std::int32_t>(total - top)};
      gdi::PlayMetafile(dc, metafile, rect, report, options);
    }
    const QImage& img = surface->image();
    const int out_top = static_cast<int>(top / f);
    const int out_rows = height / f;
    if (f == 1) {
      for (int y = 0; y < out_rows; ++y)
        std::copy_n(reinterpret_cast<const QRgb*>(img.constScanLine(y)), size.cols,
                    reinterpret_cast<QRgb*>(page.scanLine(out_top + y)));
      continue;
    }
    std::vector<std::uint32_t> sums(static_cast<std::size_t>(size.cols) * 3);
    const std::uint32_t samples = static_cast<std::uint32_t>(f * f);
    for (int y = 0; y < out_rows; ++y) {
      std::fill(sums.begin(), sums.end(), 0);
      for (int sy = 0; sy < f; ++sy) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y * f + sy));
        for (int x = 0; x < size.cols; ++x)
          for (int sx = 0; sx < f; ++sx) {
            const QRgb p = line[x * f + sx];
            sums[x * 3] += qRed(p);
            sums[x * 3 + 1] += qGreen(p);
            sums[x * 3 + 2] += qBlue(p);
          }
      }
      auto* out = reinterpret_cast<QRgb*>(page.scanLine(out_top + y));
      for (int x = 0; x < size.cols; ++x)
        out[x] = qRgb(static_cast<int>(sums[x * 3] / samples), static_cast<int>(sums[x * 3 + 1] / samples),
                      static_cast<int>(sums[x * 3 + 2] / samples));
    }
  }
  return page;
}

}  // namespace pw::emfplay
