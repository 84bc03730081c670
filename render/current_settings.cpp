#include "render/current_settings.h"

#include <utility>

#include "settings/settings_store.h"
#include "settings/value_names.h"

namespace pw::render {

RenderOptions RenderOptionsFrom(const settings::Settings& s, std::string pdf_bitmap_format) {
  return RenderOptions{
      {s},
      BackgroundOptions{{s}, s.QuickStartReference},
      EncodingOptions{{s}, std::move(pdf_bitmap_format)},
  };
}

RenderOptions CurrentRenderOptions() {
  return RenderOptionsFrom(settings::Snapshot(),
                           settings::ReadUserString(settings::kPdfBitmpFormat).value_or(std::string()));
}

ResolutionChoice ResolutionChoiceFrom(const settings::Settings& s) {
  return ResolutionChoice{s.CheckN, s.ResCur, s.DisplayResolution, s.PrinterResolution,
                          s.QuickStartReference};
}

double CurrentResolution() { return CurrentResolution(ResolutionChoiceFrom(settings::Snapshot())); }

}  // namespace pw::render
