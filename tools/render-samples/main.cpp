// pagewick-render-samples OUTDIR [--dpi N] [--antialias N]
// Loads the sample pages of the install folder as Quick Start Reference mode
// does and writes each page, rendered as the page view shows it, into OUTDIR
// as Sample0001.png, Sample0002.png, ... No display is needed.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include <Magick++.h>
#include <QGuiApplication>

#include "intake/capture_load.h"
#include "intake/load_view.h"
#include "output/image_file.h"
#include "pages/page_set.h"
#include "render/current_settings.h"
#include "render/image_library.h"
#include "render/page_rasteriser.h"
#include "settings/settings_record.h"
#include "platform/paths/paths.h"

namespace {

// No windows: nothing to repaint, and no physical display size.
class HeadlessView final : public pw::intake::LoadView {
 public:
  std::optional<pw::intake::DisplayExtent> Display() override { return std::nullopt; }
  pw::intake::ViewRect StripClient() override { return {0, 0, 170, 600}; }
  pw::intake::ViewRect FrameClient() override { return {0, 0, 1000, 700}; }
  void InvalidateStrip(const pw::intake::ViewRect&, bool) override {}
  void InvalidateWholeStrip(bool) override {}
  void InvalidatePageView(bool) override {}
  void InvalidateFrame(const pw::intake::ViewRect&, bool) override {}
  void SetStripScrollRange(int, int) override {}
};

int Usage() {
  std::fprintf(stderr, "usage: pagewick-render-samples OUTDIR [--dpi N] [--antialias N]\n");
  return 2;
}

std::optional<double> Number(std::string_view text, double low, double high) {
  char* end = nullptr;
  const std::string copy(text);
  const double value = std::strtod(copy.c_str(), &end);
  if (end == copy.c_str() || *end != '\0' || value < low || value > high) return std::nullopt;
  return value;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
    std::printf(
        "Usage: pagewick-render-samples OUTDIR [--dpi N] [--antialias N]\n\n"
        "Loads the installed sample pages as Quick Start Reference mode does and\n"
        "writes each page, rendered as the page view shows it, into OUTDIR as\n"
        "Sample0001.png, Sample0002.png, ... No display is needed.\n"
        "  --dpi N        10 to 1200 (default: the mode's own resolution)\n"
        "  --antialias N  0 to 20 (default: the mode's own factor)\n"
        "Each page is written whole or not at all.\n"
        "Exit codes: 0 every page written, 1 no sample pages or a page that could not\n"
        "be rendered or written (the pages before it are whole), 2 wrong usage.\n");
    return 0;
  }
  if (argc < 2 || argv[1][0] == '-') return Usage();
  const std::filesystem::path out = argv[1];
  std::optional<double> dpi;
  std::optional<double> antialias;
  for (int i = 2; i < argc; i += 2) {
    const std::string_view option = argv[i];
    if (i + 1 >= argc) return Usage();
    if (option == "--dpi") {
      dpi = Number(argv[i + 1], 10, 1200);
      if (!dpi) return Usage();
    } else if (option == "--antialias") {
      antialias = Number(argv[i + 1], 0, 20);
      if (!antialias) return Usage();
    } else {
      return Usage();
    }
  }

  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  int qt_argc = 1;
  pw::platform::ProvideRuntimeFolder();
  QGuiApplication app(qt_argc, argv);
  pw::render::EnsureImageLibrary();
  pw::settings::LoadSettings();
  pw::settings::Update([](pw::settings::Settings& s) { s.QuickStartReference = true; });

  HeadlessView view;
  pw::intake::LoadCapture(pw::intake::CaptureLoadOptions{&view, nullptr, {}, {}});
  const pw::pages::PageSet& pages = pw::pages::Pages();
  if (pages.Count() == 0) {
    std::fprintf(stderr, "pagewick-render-samples: no sample pages in %s\n", pages.SampleFolder().c_str());
    return 1;
  }

  std::error_code error;
  std::filesystem::create_directories(out, error);
  pw::render::RenderOptions options = pw::render::CurrentRenderOptions();
  if (antialias) options.KodAntialias = static_cast<int>(*antialias);
  options.encoding.JPG_Default = options.encoding.GIF_Default = options.encoding.TIF_Default = false;
  options.encoding.BMP_Default = false;
  options.encoding.PNG_Default = true;
  options.encoding.PNG_TrueIndexGray = 0;
  options.encoding.KodMultipageFormat = 0;
  const double resolution = dpi.value_or(pw::render::CurrentResolution());

  for (int i = 0; i < pages.Count(); ++i) {
    const pw::pages::PageRecord& record = pages.Record(i);
    pw::render::RenderRequest request;
    request.metafile = record.metafile.IsNull() ? nullptr : &record.metafile;
    request.resolution = resolution;
    request.options = options;
    auto rendered = pw::render::RenderPage(request);
    if (!rendered) {
      std::fprintf(stderr, "pagewick-render-samples: %s: %s\n", record.file_name.c_str(), rendered.error().message.c_str());
      return 1;
    }
    // The page number is the four characters before the extension; a
    // shorter name is numbered by its place.
    char place[16];
    std::snprintf(place, sizeof place, "%04d", i + 1);
    const std::string& name = record.file_name;
    const std::string number = name.size() >= 8 ? name.substr(name.size() - 8, 4) : std::string(place);
    const std::filesystem::path target = out / ("Sample" + number + ".png");
    // Written whole or not at all, like every page the program saves.
    if (auto written = pw::output::WriteImageFile(rendered->image, target.string()); !written) {
      std::fprintf(stderr, "pagewick-render-samples: %s: %s\n", target.c_str(), written.error().c_str());
      return 1;
    }
    std::printf("%s (%zu x %zu, %.0f dpi, antialiasing %d)\n", target.c_str(), rendered->image.columns(),
                rendered->image.rows(), resolution, options.KodAntialias);
  }
  return 0;
}
