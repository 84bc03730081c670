// Renders pages at several resolutions and supersampling factors, with the
// bands drawn in order and in parallel, and reports time per page and the
// peak resident memory of each run; the compare/ benchmarks draw each page
// both ways in turn and report the speed-up.
//
//   bench-render [--pages=N] [--preview] [--corpus=DIR] [benchmark flags]
//
// Page sets: the shared corpus' loadable pages (ref/refs.tsv; the first N,
// default 8, unless N is 0 for all of them), the installed sample pages
// (share/pagewick/emf) when there are any, and one A4 page from the corpus
// for the 600 dpi memory case, and a blank A4 page. Missing sets are skipped.
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/gdi/emf/emf_writer.h"
#include "platform/gdi/emf/metafile.h"
#include "render/page_rasteriser.h"

namespace {

namespace fs = std::filesystem;

struct PageSet {
  std::string name;
  std::vector<pw::gdi::Metafile> pages;
};

bool g_preview = false;

// Peak resident memory since the last reset, in MB.
double PeakResidentMb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  return 0;
}

void ResetPeakResident() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
}

std::vector<fs::path> CorpusPagePaths(const fs::path& corpus) {
  std::vector<fs::path> out;
  std::ifstream refs(corpus / "ref" / "refs.tsv");
  std::string line;
  std::getline(refs, line);  // header
  while (std::getline(refs, line)) {
    std::istringstream fields(line);
    std::vector<std::string> cols;
    for (std::string f; std::getline(fields, f, '\t');) cols.push_back(f);
    if (cols.size() >= 9 && cols.back() == "ok" && cols[0].ends_with(".emf")) out.push_back(corpus / cols[0]);
  }
  std::sort(out.begin(), out.end());
  return out;
}

std::vector<pw::gdi::Metafile> Load(const std::vector<fs::path>& paths, std::size_t limit) {
  std::vector<pw::gdi::Metafile> out;
  for (const auto& p : paths) {
    if (limit && out.size() >= limit) break;
    if (auto m = pw::gdi::Metafile::FromFile(p)) out.push_back(std::move(*m));
  }
  return out;
}

pw::render::RenderOptions OptionsFor(int factor) {
  pw::render::RenderOptions options;
  options.KodAntialias = factor;
  if (!g_preview) options.encoding.KodMultipageFormat = 4;  // no format calls, no preview
  return options;
}

struct Tally {
  std::size_t rendered = 0, failed = 0;
};

// Renders one page; the seconds it took.
double RenderOne(const pw::gdi::Metafile& page, double dpi, const pw::render::RenderOptions& options, int threads,
                 Tally& tally) {
  pw::render::RenderRequest request;
  request.metafile = &page;
  request.resolution = dpi;
  request.options = options;
  request.threads = threads;
  const auto start = std::chrono::steady_clock::now();
  {
    auto result = pw::render::RenderPage(request);
    if (result) {
      ++tally.rendered;
      benchmark::DoNotOptimize(result->image.columns());
    } else {
      ++tally.failed;
    }
  }  // letting go of the page is part of its cost
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Renders every page of the set once; the seconds it took.
double RenderPages(const PageSet& set, double dpi, const pw::render::RenderOptions& options, int threads,
                   Tally& tally) {
  double seconds = 0;
  for (const auto& page : set.pages) seconds += RenderOne(page, dpi, options, threads, tally);
  return seconds;
}

void RenderSet(benchmark::State& state, const PageSet* set, double dpi, int factor, int threads) {
  const pw::render::RenderOptions options = OptionsFor(factor);
  ResetPeakResident();
  Tally tally;
  for (auto _ : state) RenderPages(*set, dpi, options, threads, tally);
  state.counters["pages"] = double(set->pages.size());
  state.counters["failed"] = double(tally.failed);
  state.counters["s_per_page"] = benchmark::Counter(double(tally.rendered + tally.failed),
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["peak_MB"] = PeakResidentMb();
}

// Each page drawn in order and in parallel in turn, the order alternating
// from page to page: the two runs share whatever else the machine is doing
// at the time, so their ratio is steadier than that of two separate
// benchmarks. The iteration time is the parallel runs'.
void CompareSet(benchmark::State& state, const PageSet* set, double dpi, int factor) {
  const pw::render::RenderOptions options = OptionsFor(factor);
  Tally tally;
  double sequential = 0, parallel = 0;
  bool parallel_first = false;
  for (auto _ : state) {
    double p = 0;
    for (const auto& page : set->pages) {
      if (parallel_first) p += RenderOne(page, dpi, options, 0, tally);
      sequential += RenderOne(page, dpi, options, 1, tally);
      if (!parallel_first) p += RenderOne(page, dpi, options, 0, tally);
      parallel_first = !parallel_first;
    }
    parallel += p;
    state.SetIterationTime(p);
  }
  const double pages = double(state.iterations()) * double(set->pages.size());
  state.counters["failed"] = double(tally.failed);
  state.counters["seq_ms_per_page"] = 1000 * sequential / pages;
  state.counters["par_ms_per_page"] = 1000 * parallel / pages;
  state.counters["speed_up"] = parallel > 0 ? sequential / parallel : 0;
}

}  // namespace

int main(int argc, char** argv) {
  // Fonts need a Gui application; no display is used.
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication app(argc, argv);

  std::size_t limit = 8;
  fs::path corpus = fs::path(PAGEWICK_SOURCE_DIR_DEFAULT) / ".." / "shared" / "corpus";
  std::vector<char*> rest;
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.rfind("--pages=", 0) == 0) limit = std::stoul(arg.substr(8));
    else if (arg == "--preview") g_preview = true;
    else if (arg.rfind("--corpus=", 0) == 0) corpus = arg.substr(9);
    else rest.push_back(argv[i]);
  }
  int rest_argc = static_cast<int>(rest.size());
  benchmark::Initialize(&rest_argc, rest.data());

  static std::vector<PageSet> sets;
  if (fs::is_directory(corpus)) sets.push_back({"corpus", Load(CorpusPagePaths(corpus), limit)});
  const fs::path samples = fs::path(PAGEWICK_SHARE_DIR_DEFAULT) / "emf";
  if (fs::is_directory(samples)) {
    std::vector<fs::path> paths;
    for (const auto& e : fs::directory_iterator(samples))
      if (e.path().extension() == ".emf") paths.push_back(e.path());
    std::sort(paths.begin(), paths.end());
    sets.push_back({"samples", Load(paths, 0)});
  }
  // An A4 page with nothing on it: the cost of the bands themselves.
  if (auto blank = pw::gdi::Metafile::FromBytes(
          pw::gdi::EmfWriter().Frame({0, 0, 21000, 29700}).Device({2100, 2970}, {210, 297}).Finish()))
    sets.push_back({"blank-a4", {std::move(*blank)}});
  const fs::path a4 = corpus / "pages" / "emfspoolreader__EMFSpoolfileReader_00003__p1.emf";
  if (fs::exists(a4)) sets.push_back({"a4page", Load({a4}, 1)});

  for (const PageSet& set : sets) {
    if (set.pages.empty()) continue;
    for (double dpi : {96.0, 150.0, 300.0})
      for (int factor : {0, 3, 7, 20})
        for (int threads : {1, 0}) {
          const std::string name = "render/" + set.name + "/" + std::to_string(int(dpi)) + "dpi/f" +
                                   std::to_string(factor) + (threads == 1 ? "/sequential" : "/parallel");
          benchmark::RegisterBenchmark(name.c_str(), RenderSet, &set, dpi, factor, threads)
              ->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
        }
    for (double dpi : {96.0, 150.0, 300.0})
      for (int factor : {3, 7, 20}) {
        const std::string name =
            "compare/" + set.name + "/" + std::to_string(int(dpi)) + "dpi/f" + std::to_string(factor);
        benchmark::RegisterBenchmark(name.c_str(), CompareSet, &set, dpi, factor)
            ->Iterations(4)->Unit(benchmark::kMillisecond)->UseManualTime();
      }
    if (set.name == "a4page" || set.name == "blank-a4")
      for (int threads : {1, 0})
        benchmark::RegisterBenchmark(
            ("render/" + set.name + "/600dpi/f20" + (threads == 1 ? "/sequential" : "/parallel")).c_str(),
            RenderSet, &set, 600.0, 20, threads)
            ->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
  }
  if (sets.empty()) std::fprintf(stderr, "bench-render: no pages found (corpus %s)\n", corpus.c_str());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
