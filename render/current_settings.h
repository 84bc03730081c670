#pragma once
// The render inputs and the view resolution from the program's settings.
#include <string>

#include "platform/gdi/emf/metafile.h"
#include "render/current_resolution.h"
#include "render/page_rasteriser.h"
#include "render/render_options.h"
#include "settings/settings_record.h"

namespace pw::render {

RenderOptions RenderOptionsFrom(const settings::Settings& s, std::string pdf_bitmap_format);

// From one snapshot of the settings and the stored "PDF_Bitmp_Format".
RenderOptions CurrentRenderOptions();

ResolutionChoice ResolutionChoiceFrom(const settings::Settings& s);

// `Current resolution` from a snapshot of the settings.
double CurrentResolution();

// Renders a page with the current settings, as the page view, the
// thumbnails and the writers do.
tl::expected<RenderedPage, RenderError> RenderWithSettings(const gdi::Metafile* metafile,
                                                           double resolution, bool thumbnail,
                                                           RenderView* view = nullptr);

}  // namespace pw::render
