#include "settings/presets.h"

#include <array>
#include <type_traits>

namespace pw::settings {
namespace {

template <typename T, typename Group>
PresetStep Set(T Group::*field, std::type_identity_t<T> value) {
  return {[field, value](Settings& s) { s.*field = value; }, ValueNameOf(field)};
}

struct PresetRow {
  double resolution;  // dpi
  int background_style;
  OutputFormat format;
};

constexpr std::array<PresetRow, 4> kPresets{{
    {120.0, 100, OutputFormat::Gif},
    {300.0, 100, OutputFormat::Tif},
    {200.0, 100, OutputFormat::Jpg},
    {80.0, 4, OutputFormat::Gif},
}};

const PresetRow& Row(Preset preset) { return kPresets[static_cast<std::size_t>(preset) - 1]; }

}  // namespace

std::optional<Preset> PresetFromNumber(int number) {
  if (number < 1 || number > static_cast<int>(kPresets.size())) return std::nullopt;
  return static_cast<Preset>(number);
}

std::vector<PresetStep> PresetSteps(Preset preset) {
  const PresetRow& row = Row(preset);
  std::vector<PresetStep> steps{Set(&Settings::ResCur, row.resolution), Set(&Settings::ScaleCur, 100),
                                Set(&Settings::CheckN, 2), Set(&Settings::KodAntialias, 7),
                                Set(&Settings::lvBkGrHathStyle, row.background_style)};
  if (preset == Preset::DemoDefault) {
    steps.push_back(Set(&Settings::lvHatchColor, Colorref{15137535}));    // red 255, green 250, blue 230
    steps.push_back(Set(&Settings::lvCurBkGrColor, Colorref{13954047}));  // red 255, green 235, blue 212
    steps.push_back(Set(&Settings::lvHatchWidth, 1));
    steps.push_back(Set(&Settings::lvHatchDepress, 10));
    steps.push_back(Set(&Settings::lvHatchAngle, 0));
    steps.push_back(Set(&Settings::lvHatchLnHor, true));
    steps.push_back(Set(&Settings::lvHatchLnVert, true));
  }
  steps.push_back(Set(&Settings::lvSharpen, false));
  switch (row.format) {
    case OutputFormat::Gif:
      steps.push_back(Set(&Settings::GIF_Colors, 256));
      steps.push_back(Set(&Settings::GIF_IndexGray, 0));
      steps.push_back(Set(&Settings::GIF_Dither, false));
      steps.push_back(Set(&Settings::GIF_Interlace, true));
      steps.push_back(Set(&Settings::GIF_Delay, 0));
      break;
    case OutputFormat::Tif:
      steps.push_back(Set(&Settings::TIF_TrueIndexGray, 0));
      steps.push_back(Set(&Settings::TIF_Colors, 64));
      steps.push_back(Set(&Settings::TIF_Lzw, true));
      break;
    default:
      steps.push_back(Set(&Settings::JPG_Gray, false));
      steps.push_back(Set(&Settings::JPG_Progress, true));
      steps.push_back(Set(&Settings::JPG_Quality, 90));
      break;
  }
  return steps;
}

OutputFormat PresetFormat(Preset preset) { return Row(preset).format; }

}  // namespace pw::settings
