// bench-window [--pages FOLDER] [--runs N]: measures the main window on
// Qt's offscreen platform (or the display given) with a private home and
// temporary folder:
//   start   from the start of the capture load to the first page painted in
//           the page view, for a 10-page capture at the default settings;
//   flip    one page flip (render, image taken, view painted) at 96 dpi with
//           3x antialiasing;
//   repaint how late a repaint due every 10 ms is painted while the load
//           makes the thumbnails.
// FOLDER holds the EMF pages used (the first 10 by name, repeated when
// there are fewer); by default the sample pages of the install folder.
#include "intake/capture_load.h"
#include "pages/page_set.h"
#include "platform/paths/paths.h"
#include "render/image_library.h"
#include "settings/settings_record.h"
#include "ui/frame_win.h"
#include "ui/page_view.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kCapturePages = 10;

std::vector<fs::path> PageFiles(const fs::path& folder) {
  std::vector<fs::path> files;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
    if (it->path().extension() == ".emf") files.push_back(it->path());
  std::sort(files.begin(), files.end());
  return files;
}

// Puts a 10-page capture where a printer capture leaves its pages.
bool PlaceCapture(const std::vector<fs::path>& sources, const fs::path& work) {
  std::error_code error;
  fs::create_directories(work, error);
  for (int i = 0; i < kCapturePages; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "1%04d.emf", i + 1);
    fs::copy_file(sources[static_cast<std::size_t>(i) % sources.size()], work / name,
                  fs::copy_options::overwrite_existing, error);
    if (error) return false;
  }
  return true;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double Millis(std::chrono::steady_clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

struct LoadFigures {
  double first_page_ms = 0;
  double load_ms = 0;
  std::vector<double> repaint_delays_ms;
};

// The page set as a new process has it: the frame of an earlier run has
// released the pages, but the state and the last image outlive it.
void ResetPageSet() {
  pw::pages::PageSet& pages = pw::pages::Pages();
  pages.Clear();
  pages.SetState(pw::pages::RenderingState::Idle);
  pages.SetBeingRendered(0);
  pages.SetCurrentImage(Magick::Image());
}

// One load of the capture into a fresh frame.
LoadFigures MeasureLoad() {
  ResetPageSet();
  LoadFigures figures;
  pw::ui::lvFrameWin frame;
  frame.createWindow(0, 0, 1100, 820);
  frame.setReleasePages([] { pw::intake::ReleasePages(); });
  frame.show();
  QApplication::processEvents();

  using Clock = std::chrono::steady_clock;
  const Clock::time_point start = Clock::now();
  pw::intake::StartCaptureLoad(&frame.loadView());

  // The repaint probe: a repaint is due every 10 ms; how late each one is
  // painted (the timer's own lateness, the user-interface thread being
  // busy, plus the painting) is recorded.
  QTimer probe;
  probe.setInterval(10);
  probe.setTimerType(Qt::PreciseTimer);
  Clock::time_point due = start + std::chrono::milliseconds(10);
  QObject::connect(&probe, &QTimer::timeout, &frame, [&] {
    frame.repaint();
    const Clock::time_point painted = Clock::now();
    figures.repaint_delays_ms.push_back(std::max(0.0, Millis(painted - due)));
    due = painted + std::chrono::milliseconds(10);
  });
  probe.start();

  bool first_seen = false;
  while (pw::intake::CaptureLoadRunning() || !first_seen) {
    QApplication::processEvents(QEventLoop::AllEvents, 5);
    if (!first_seen && !frame.pageView()->image().isNull()) {
      frame.pageView()->repaint();
      figures.first_page_ms = Millis(Clock::now() - start);
      first_seen = true;
    }
    if (Millis(Clock::now() - start) > 600000) break;
  }
  figures.load_ms = Millis(Clock::now() - start);
  probe.stop();
  pw::intake::WaitForCaptureLoad();
  frame.close();
  return figures;
}

std::vector<double> MeasureFlips(int flips) {
  pw::settings::Update([](pw::settings::Settings& s) {
    s.CheckN = 2;
    s.ResCur = 96;
    s.KodAntialias = 3;
  });
  ResetPageSet();
  pw::ui::lvFrameWin frame;
  frame.createWindow(0, 0, 1100, 820);
  frame.setReleasePages([] { pw::intake::ReleasePages(); });
  frame.show();
  pw::intake::StartCaptureLoad(&frame.loadView());
  pw::intake::WaitForCaptureLoad();
  QApplication::processEvents();
  std::vector<double> times;
  const int count = pw::pages::Pages().Count();
  for (int i = 0; i < flips && count > 1; ++i) {
    const auto start = std::chrono::steady_clock::now();
    frame.showPage((i + 1) % count);
    frame.pageView()->repaint();
    times.push_back(Millis(std::chrono::steady_clock::now() - start));
  }
  frame.close();
  return times;
}

}  // namespace

int main(int argc, char** argv) {
  fs::path pages_folder = fs::path(PAGEWICK_SHARE_DIR_DEFAULT) / "emf";
  int runs = 3;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0) {
      std::printf("Usage: bench-window [--pages FOLDER] [--runs N]\n");
      return 0;
    }
    if (std::strcmp(argv[i], "--pages") == 0 && i + 1 < argc) pages_folder = argv[++i];
    else if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) runs = std::max(1, std::atoi(argv[++i]));
  }
  const std::vector<fs::path> sources = PageFiles(pages_folder);
  if (sources.empty()) {
    std::fprintf(stderr, "bench-window: no EMF pages in %s\n", pages_folder.c_str());
    return 1;
  }

  // A private machine: home, temporary folder and Qt's platform.
  QTemporaryDir home;
  QTemporaryDir temp;
  ::setenv("PAGEWICK_HOME", home.path().toLocal8Bit().constData(), 1);
  ::setenv("TMPDIR", temp.path().toLocal8Bit().constData(), 1);
  if (!std::getenv("DISPLAY")) ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  pw::render::EnsureImageLibrary();
  pw::settings::LoadSettings();

  const std::optional<std::string> work = pw::platform::WorkFolder();
  if (!work) {
    std::fprintf(stderr, "bench-window: no work folder\n");
    return 1;
  }

  std::vector<double> first_pages;
  std::vector<double> loads;
  std::vector<double> delays;
  for (int run = 0; run < runs; ++run) {
    if (!PlaceCapture(sources, *work)) {
      std::fprintf(stderr, "bench-window: cannot place the capture in %s\n", work->c_str());
      return 1;
    }
    const LoadFigures figures = MeasureLoad();
    first_pages.push_back(figures.first_page_ms);
    loads.push_back(figures.load_ms);
    delays.insert(delays.end(), figures.repaint_delays_ms.begin(), figures.repaint_delays_ms.end());
  }
  std::sort(delays.begin(), delays.end());
  const double p95 = delays.empty() ? 0 : delays[delays.size() * 95 / 100];
  const double worst = delays.empty() ? 0 : delays.back();

  if (!PlaceCapture(sources, *work)) return 1;
  const std::vector<double> flips = MeasureFlips(10);

  std::printf("pages: %zu source files from %s, %d-page capture, %d runs\n", sources.size(), pages_folder.c_str(),
              kCapturePages, runs);
  std::printf("start to first page painted:  median %.0f ms (whole load %.0f ms)\n", Median(first_pages),
              Median(loads));
  std::printf("page flip at 96 dpi, 3x:      median %.0f ms over %zu flips\n", Median(flips), flips.size());
  std::printf("repaint due while loading:    late by median %.1f ms, 95th percentile %.1f ms, worst %.1f ms (%zu probes)\n",
              Median(delays), p95, worst, delays.size());
  return 0;
}
