#pragma once
// The render inputs and the view resolution from the program's settings.
#include <string>

#include "render/current_resolution.h"
#include "render/render_options.h"
#include "settings/settings_record.h"

namespace pw::render {

RenderOptions RenderOptionsFrom(const settings::Settings& s, std::string pdf_bitmap_format);

// From one snapshot of the settings and the stored "PDF_Bitmp_Format".
RenderOptions CurrentRenderOptions();

ResolutionChoice ResolutionChoiceFrom(const settings::Settings& s);

// `Current resolution` from a snapshot of the settings.
double CurrentResolution();

}  // namespace pw::render
