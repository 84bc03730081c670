#pragma once
// Renders a metafile page the way the reference renderer does: the frame
// sized at a resolution, a white page, the picture played into all of it,
// optionally supersampled with an integer box average.
#include <string>

#include <QImage>
#include <tl/expected.hpp>

#include "platform/gdi/emf/metafile.h"
#include "platform/gdi/player/player.h"

namespace pw::emfplay {

struct PageSize {
  int cols = 0;
  int rows = 0;
};

// ceil(W × dpi / 2540) × ceil(H × dpi / 2540) of the frame; otherwise why
// not: an empty frame, or the message of the renderer's page bound (side or
// pixels) that a page beyond it passes.
tl::expected<PageSize, std::string> PageSizeFor(const gdi::EmfHeader& header, double dpi);

// The rendered page (Format_RGB32), or a null image when no surface could
// be had (supersampled rows wider than the surface bound, or no memory). `report` receives the record counts of every band.
QImage RenderPage(const gdi::Metafile& metafile, PageSize size, int antialias, gdi::PlayReport* report,
                  const gdi::PlayOptions& options = {});

}  // namespace pw::emfplay
