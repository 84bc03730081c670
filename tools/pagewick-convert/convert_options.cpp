#include "convert_options.h"

#include <charconv>
#include <cstdlib>
#include <map>
#include <type_traits>

#include "settings/presets.h"

namespace pw::convert {
namespace {

using settings::Settings;

std::optional<long long> ParseNumber(std::string_view text) {
  long long value = 0;
  int base = 10;
  if (text.starts_with("0x") || text.starts_with("0X")) {
    text.remove_prefix(2);
    base = 16;
  }
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

std::optional<double> ParseReal(const std::string& text) {
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || !(value > 0) || value > 10000) return std::nullopt;
  return value;
}

std::optional<bool> ParseSwitch(std::string_view text) {
  if (text == "on" || text == "yes" || text == "1" || text == "true") return true;
  if (text == "off" || text == "no" || text == "0" || text == "false") return false;
  return std::nullopt;
}

struct IntOption {
  int Settings::*field;
  long long min;
  long long max;
};
struct BoolOption {
  bool Settings::*field;
};
struct ColourOption {
  settings::Colorref Settings::*field;
};

const std::map<std::string, IntOption, std::less<>>& IntOptions() {
  static const std::map<std::string, IntOption, std::less<>> options{
      {"--scale", {&Settings::ScaleCur, 1, 300}},
      {"--antialias", {&Settings::KodAntialias, 0, 20}},
      {"--background-style", {&Settings::lvBkGrHathStyle, 0, 100}},
      {"--hatch-width", {&Settings::lvHatchWidth, 0, 100}},
      {"--hatch-spacing", {&Settings::lvHatchDepress, 1, 1000}},
      {"--hatch-angle", {&Settings::lvHatchAngle, -360, 360}},
      {"--jpg-quality", {&Settings::JPG_Quality, 1, 100}},
      {"--gif-colors", {&Settings::GIF_Colors, 2, 256}},
      {"--gif-mode", {&Settings::GIF_IndexGray, 0, 1}},
      {"--png-mode", {&Settings::PNG_TrueIndexGray, 0, 2}},
      {"--png-colors", {&Settings::PNG_Colors, 2, 256}},
      {"--tif-mode", {&Settings::TIF_TrueIndexGray, 0, 2}},
      {"--tif-colors", {&Settings::TIF_Colors, 2, 256}},
  };
  return options;
}

const std::map<std::string, BoolOption, std::less<>>& BoolOptions() {
  static const std::map<std::string, BoolOption, std::less<>> options{
      {"--sharpen", {&Settings::lvSharpen}},
      {"--date-stamp", {&Settings::lvIncludeDateTime}},
      {"--hatch-horizontal", {&Settings::lvHatchLnHor}},
      {"--hatch-vertical", {&Settings::lvHatchLnVert}},
      {"--jpg-gray", {&Settings::JPG_Gray}},
      {"--jpg-progressive", {&Settings::JPG_Progress}},
      {"--gif-dither", {&Settings::GIF_Dither}},
      {"--gif-interlace", {&Settings::GIF_Interlace}},
      {"--png-dither", {&Settings::PNG_Dither}},
      {"--png-interlace", {&Settings::PNG_Interlace}},
      {"--tif-lzw", {&Settings::TIF_Lzw}},
  };
  return options;
}

const std::map<std::string, ColourOption, std::less<>>& ColourOptions() {
  static const std::map<std::string, ColourOption, std::less<>> options{
      {"--background-color", {&Settings::lvCurBkGrColor}},
      {"--hatch-color", {&Settings::lvHatchColor}},
  };
  return options;
}

template <typename T, typename Group>
SettingEdit Set(T Group::*field, std::type_identity_t<T> value) {
  return {[field, value](Settings& s) { s.*field = value; }, std::string(settings::ValueNameOf(field))};
}

// A preset by its number or name: its stored values, then the preset code.
std::optional<settings::Preset> PresetNamed(std::string_view which) {
  if (which == "text") return settings::Preset::TextGraphics;
  if (which == "professional") return settings::Preset::Professional;
  if (which == "photo") return settings::Preset::WordArtPhoto;
  if (which == "demo") return settings::Preset::DemoDefault;
  if (which.size() != 1) return std::nullopt;
  return settings::PresetFromNumber(which[0] - '0');
}

std::vector<SettingEdit> PresetEdits(settings::Preset preset) {
  std::vector<SettingEdit> edits;
  for (const settings::PresetStep& step : settings::PresetSteps(preset))
    edits.push_back({step.set, std::string(step.name)});
  edits.push_back(Set(&Settings::lvKodPreset, static_cast<int>(preset)));
  return edits;
}

std::string FormatName(settings::OutputFormat format) {
  return std::string(settings::ExtensionOf(format).substr(1));
}

bool IsSeriesFormat(std::string_view f) { return f == "jpg" || f == "gif" || f == "png" || f == "bmp" || f == "tif"; }

}  // namespace

std::optional<ConvertOptions> ParseConvertOptions(const std::vector<std::string>& args, std::string& error) {
  ConvertOptions o;
  std::optional<std::string> format;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= args.size()) {
        error = arg + " needs a value";
        return std::nullopt;
      }
      return args[++i];
    };
    auto bad = [&](const std::string& v) {
      error = "bad value for " + arg + ": " + v;
      return std::nullopt;
    };
    if (arg == "-h" || arg == "--help") {
      o.help = true;
    } else if (arg == "--save-settings") {
      o.save_settings = true;
    } else if (arg == "-q" || arg == "--quiet") {
      o.quiet = true;
    } else if (arg == "-o" || arg == "--format" || arg == "--pdf-inside" || arg == "--preset" || arg == "--dpi" ||
               arg == "--resolution" || arg == "--threads" || arg == "--answer" || IntOptions().contains(arg) ||
               BoolOptions().contains(arg) || ColourOptions().contains(arg)) {
      const auto v = value();
      if (!v) return std::nullopt;
      if (arg == "-o") {
        o.target = *v;
      } else if (arg == "--format") {
        if (!IsSeriesFormat(*v) && *v != "pdf" && *v != "html") return bad(*v);
        format = *v;
      } else if (arg == "--pdf-inside") {
        std::string upper;
        for (char c : *v) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (upper != "JPG" && upper != "GIF" && upper != "PNG" && upper != "BMP" && upper != "TIF") return bad(*v);
        o.pdf_inside = upper;
      } else if (arg == "--preset") {
        const auto preset = PresetNamed(*v);
        if (!preset) return bad(*v);
        const std::vector<SettingEdit> edits = PresetEdits(*preset);
        o.edits.insert(o.edits.end(), edits.begin(), edits.end());
        o.series_format = FormatName(settings::PresetFormat(*preset));
      } else if (arg == "--dpi") {
        const auto dpi = ParseReal(*v);
        if (!dpi) return bad(*v);
        o.edits.push_back(Set(&Settings::ResCur, *dpi));
        o.edits.push_back(Set(&Settings::CheckN, 2));
      } else if (arg == "--resolution") {
        if (*v != "display" && *v != "printer") return bad(*v);
        o.edits.push_back(Set(&Settings::CheckN, *v == "display" ? 0 : 1));
      } else if (arg == "--threads") {
        const auto n = ParseNumber(*v);
        if (!n || *n < 0 || *n > 256) return bad(*v);
        o.threads = static_cast<int>(*n);
      } else if (arg == "--answer") {
        const auto policy = platform::ParseConsoleAnswerPolicy(*v);
        if (!policy) return bad(*v);
        o.answers = *policy;
      } else if (auto it = IntOptions().find(arg); it != IntOptions().end()) {
        const auto n = ParseNumber(*v);
        if (!n || *n < it->second.min || *n > it->second.max) return bad(*v);
        o.edits.push_back(Set(it->second.field, static_cast<int>(*n)));
      } else if (auto b = BoolOptions().find(arg); b != BoolOptions().end()) {
        const auto on = ParseSwitch(*v);
        if (!on) return bad(*v);
        o.edits.push_back(Set(b->second.field, *on));
      } else {
        const auto c = ColourOptions().find(arg);
        const auto n = ParseNumber(*v);
        if (!n || *n < 0 || *n > 0xFFFFFF) return bad(*v);
        o.edits.push_back(Set(c->second.field, static_cast<settings::Colorref>(*n)));
      }
    } else if (arg.starts_with("-") && arg != "-") {
      error = "unknown option " + arg;
      return std::nullopt;
    } else {
      o.inputs.push_back(arg);
    }
  }
  if (o.help) return o;
  if (format == "pdf") {
    o.kind = TargetKind::Pdf;
  } else if (format == "html") {
    o.kind = TargetKind::Gallery;
    if (o.series_format == "tif") o.series_format = "jpg";
  } else if (format) {
    o.series_format = format;
  }
  if (o.inputs.empty()) {
    error = "no input files";
    return std::nullopt;
  }
  if (o.target.empty()) {
    error = "no target (-o)";
    return std::nullopt;
  }
  return o;
}

std::string ConvertUsage() {
  return R"(Usage: pagewick-convert [options] -o TARGET INPUT...

Converts EMF spool files and EMF pages, in the order given, to a numbered
image series, one PDF or an HTML gallery, rendered and encoded as the
program renders and saves them.

Output:
  --format jpg|gif|png|bmp|tif|pdf|html
                        what to write (default: the stored output format)
  -o TARGET             pdf: the PDF file; a series or gallery: DIR/BASE,
                        giving DIR/BASE0001.png ... or DIR/BASE.html and
                        DIR/BASE_files/
  --pdf-inside JPG|PNG|BMP|TIF|GIF   image format inside the PDF

Rendering (stored settings are used for everything not given):
  --preset 1|2|3|4      text, professional, photo, demo
  --dpi D               custom resolution;  --resolution display|printer
  --scale PERCENT       1 to 300;  --antialias N  0 to 20
  --sharpen on|off      --date-stamp on|off
  --background-style N  --background-color 0xBBGGRR  --hatch-color 0xBBGGRR
  --hatch-width N  --hatch-spacing N  --hatch-angle N
  --hatch-horizontal on|off  --hatch-vertical on|off
Formats:
  --jpg-quality N  --jpg-gray on|off  --jpg-progressive on|off
  --gif-colors N  --gif-mode 0|1  --gif-dither on|off  --gif-interlace on|off
  --png-mode 0|1|2  --png-colors N  --png-dither on|off  --png-interlace on|off
  --tif-mode 0|1|2  --tif-colors N  --tif-lzw on|off
Other:
  --threads N           band workers per page (0: one per processor)
  --save-settings       store the settings given here (nothing is stored otherwise)
  --answer accept|decline   how questions are answered (default accept)
  -q, --quiet           no progress bar (there is none unless stderr is a
                        terminal) and no notes about pages
  -h, --help

Exit codes:
  0  every page was written whole (and the settings stored, if asked)
  1  the output is incomplete or missing: a page could not be read from its
     input, rendered or put into the output, a file could not be written, or
     the settings could not be stored; what was written is whole
  2  usage or input error: a wrong option, an input that is missing, a
     folder, unreadable or no EMF at all, a target folder that cannot be
     made; nothing was written
)";
}

}  // namespace pw::convert
