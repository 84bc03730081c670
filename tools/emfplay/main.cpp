// emfplay: renders an EMF page to a PNG as the reference renderer does, and
// reports how its records fared.
//
//   emfplay [--records] [--skip EMR_NAME]... IN.emf OUT.png DPI [AA]
//   emfplay --records IN.emf
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>

#include "platform/files/file_writing.h"
#include "platform/gdi/emf/emf_records.h"
#include "tools/emfplay/page_render.h"
#include "platform/paths/paths.h"

namespace {

constexpr const char* kUsage =
    "usage: emfplay [--records] [--skip EMR_NAME]... IN.emf OUT.png DPI [AA]\n"
    "       emfplay --records IN.emf\n"
    "Renders the page at DPI (frame sized ceil(W*DPI/2540) x ceil(H*DPI/2540), white\n"
    "background), supersampled AA x AA when AA > 1, and writes a PNG.\n"
    "--records lists each record type with the counts played, ignored, malformed and\n"
    "unhandled. --skip passes over every record of a type, as a player without it would.\n"
    "The PNG is written whole or not at all: to a temporary file beside OUT.png,\n"
    "renamed over it when complete (a link at OUT.png is replaced, not followed).\n"
    "Exit status: 0 rendered (and written), 1 usage, 2 not a valid metafile or a page\n"
    "too large to render, 3 the PNG could not be written.\n";

int Usage(FILE* to, int status) {
  std::fputs(kUsage, to);
  return status;
}

bool ParseNumber(const char* text, double& out) {
  char* end = nullptr;
  out = std::strtod(text, &end);
  return end && *end == '\0' && out > 0;
}

std::optional<std::uint32_t> RecordTypeByName(std::string_view name) {
  for (std::uint32_t type = 1; type < 128; ++type)
    if (pw::gdi::RecordName(type) == name) return type;
  return std::nullopt;
}

void PrintRecords(const pw::gdi::PlayReport& report) {
  std::printf("%-28s %8s %8s %9s %9s\n", "record", "played", "ignored", "malformed", "unhandled");
  for (const auto& [type, c] : report.records) {
    std::string name(pw::gdi::RecordName(type));
    if (name.empty()) name = "type " + std::to_string(type);
    std::printf("%-28s %8u %8u %9u %9u\n", name.c_str(), c.played, c.ignored, c.malformed, c.unhandled);
  }
  const auto t = report.Totals();
  std::printf("%-28s %8u %8u %9u %9u\n", "total", t.played, t.ignored, t.malformed, t.unhandled);
  for (const auto& [text, count] : report.notes) std::printf("note: %s (%u)\n", text.c_str(), count);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string_view> args(argv + 1, argv + argc);
  bool records = false;
  pw::gdi::PlayOptions options;
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) return Usage(stdout, 0);
  while (!args.empty() && args[0].starts_with("--")) {
    if (args[0] == "--records") {
      records = true;
      args.erase(args.begin());
    } else if (args[0] == "--skip" && args.size() > 1) {
      const auto type = RecordTypeByName(args[1]);
      if (!type) return Usage(stderr, 1);
      options.skip_types.push_back(*type);
      args.erase(args.begin(), args.begin() + 2);
    } else {
      return Usage(stderr, 1);
    }
  }
  const bool render = args.size() == 3 || args.size() == 4;
  if (!render && !(records && args.size() == 1)) return Usage(stderr, 1);
  double dpi = 96, aa = 1;
  if (render && (!ParseNumber(std::string(args[2]).c_str(), dpi) ||
                 (args.size() == 4 && !ParseNumber(std::string(args[3]).c_str(), aa)) || aa != static_cast<int>(aa) ||
                 aa > 20))
    return Usage(stderr, 1);

  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  pw::platform::ProvideRuntimeFolder();
  QGuiApplication app(argc, argv);

  auto metafile = pw::gdi::Metafile::FromFile(std::string(args[0]));
  if (!metafile) {
    std::fprintf(stderr, "emfplay: %s: not a valid metafile: %s (offset %zu)\n", std::string(args[0]).c_str(),
                 metafile.error().message.c_str(), metafile.error().offset);
    return 2;
  }
  const auto size = pw::emfplay::PageSizeFor(metafile->Header(), dpi);
  if (!size) {
    std::fprintf(stderr, "emfplay: %s: %s\n", std::string(args[0]).c_str(), size.error().c_str());
    return 2;
  }
  pw::gdi::PlayReport report;
  const QImage page = pw::emfplay::RenderPage(*metafile, *size, static_cast<int>(aa), &report, options);
  if (page.isNull()) {
    std::fprintf(stderr, "emfplay: %s: page too large to render\n", std::string(args[0]).c_str());
    return 2;
  }
  if (render) {
    // The name is used as the bytes it was given, whatever their encoding.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!page.convertToFormat(QImage::Format_RGB888).save(&buffer, "PNG")) {
      std::fprintf(stderr, "emfplay: %s: the page could not be encoded\n", std::string(args[1]).c_str());
      return 3;
    }
    const auto* bytes = reinterpret_cast<const std::byte*>(png.constData());
    if (auto written = pw::files::ReplaceFile(std::string(args[1]), std::span(bytes, static_cast<std::size_t>(png.size())));
        !written) {
      std::fprintf(stderr, "emfplay: %s\n", written.error().Message().c_str());
      return 3;
    }
  }
  if (records) {
    PrintRecords(report);
    if (const auto& damage = metafile->Damage())
      std::printf("note: records end early at offset %zu: %s\n", damage->offset, damage->message.c_str());
  }
  return 0;
}
