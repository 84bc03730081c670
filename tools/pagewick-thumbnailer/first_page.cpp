#include "tools/pagewick-thumbnailer/first_page.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <span>
#include <vector>

#include "platform/limits/limits.h"
#include "platform/spooler/spool_pages.h"
#include "render/page_rasteriser.h"

namespace pw::thumbnailer {

namespace {

// A thumbnail has few pixels, so a fine supersampling costs little.
constexpr int kThumbnailAntialias = 4;

tl::expected<std::vector<std::byte>, std::string> ReadBounded(const std::filesystem::path& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return tl::unexpected(std::string("is a folder"));
  std::ifstream in(path, std::ios::binary);
  if (!in) return tl::unexpected(std::string("cannot be read"));
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0) return tl::unexpected(std::string("cannot be read"));
  if (size > limits::kMetafileBytes.value) return tl::unexpected(std::string(limits::kMetafileBytes.message));
  std::vector<std::byte> bytes(static_cast<std::size_t>(size));
  in.seekg(0);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), size)) return tl::unexpected(std::string("cannot be read"));
  return bytes;
}

}  // namespace

tl::expected<gdi::Metafile, std::string> FirstPage(const std::filesystem::path& path) {
  auto bytes = ReadBounded(path);
  if (!bytes) return tl::unexpected(bytes.error());
  if (spooler::LooksLikeSpoolFile(*bytes)) {
    spooler::SpoolPages split = spooler::SplitSpoolBytes(*bytes);
    if (split.pages.empty()) return tl::unexpected(std::string("the spool file holds no valid page"));
    return std::move(split.pages.front().metafile);
  }
  auto metafile = gdi::Metafile::FromBytes(std::move(*bytes));
  if (!metafile) return tl::unexpected("not a valid metafile: " + metafile.error().message);
  return std::move(*metafile);
}

tl::expected<Magick::Image, std::string> DrawThumbnail(const gdi::Metafile& page, int size) {
  const gdi::RectL frame = page.Header().frame;
  const double longer_mm = std::max(frame.Width(), frame.Height()) / 100.0;
  if (!(longer_mm > 0)) return tl::unexpected(std::string("the page has no size"));
  render::RenderRequest request;
  request.metafile = &page;
  // The resolution at which the longer side of the frame is `size` pixels.
  request.resolution = size * 25.4 / longer_mm;
  request.options.KodAntialias = kThumbnailAntialias;
  request.threads = 1;
  request.preview = false;
  auto rendered = render::RenderPage(request);
  if (!rendered) return tl::unexpected(rendered.error().message);
  Magick::Image image = std::move(rendered->image);
  // The page is sized by rounding up; bring the longer side to exactly `size`.
  const int cols = static_cast<int>(image.columns()), rows = static_cast<int>(image.rows());
  if (std::max(cols, rows) != size) {
    const double k = static_cast<double>(size) / std::max(cols, rows);
    Magick::Geometry fit(std::max(1, static_cast<int>(std::lround(cols * k))),
                         std::max(1, static_cast<int>(std::lround(rows * k))));
    fit.aspect(true);
    image.resize(fit);
  }
  return image;
}

}  // namespace pw::thumbnailer
