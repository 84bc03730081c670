#include "ui/status_line.h"

#include "settings/settings_record.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace pw::ui {
namespace {

constexpr double kInchPerMm = 0.03937007874015748;

// ceil(pixels / (dpi in dots per mm)), within int.
int Millimetres(int pixels, double resolution) {
  if (!(resolution > 0)) return 0;
  const double mm = std::ceil(pixels / (resolution * kInchPerMm));
  if (!(mm < static_cast<double>(std::numeric_limits<int>::max()))) return std::numeric_limits<int>::max();
  return static_cast<int>(mm);
}

int WholeDpi(double resolution) {
  if (!(resolution > 0)) return 0;
  const double dpi = std::ceil(resolution);
  return dpi < static_cast<double>(std::numeric_limits<int>::max()) ? static_cast<int>(dpi)
                                                                     : std::numeric_limits<int>::max();
}

}  // namespace

std::string_view SeriesFormatName(const settings::Settings& settings) {
  if (settings.JPG_Default) return "JPEG";
  if (settings.GIF_Default) return "GIF";
  if (settings.PNG_Default) return "PNG";
  if (settings.TIF_Default) return "TIF";
  return "BMP";
}

std::string StatusText(const StatusFacts& facts) {
  const int shown = facts.being_rendered + 1;
  const int count = facts.page_count < shown ? shown : facts.page_count;
  char text[256];
  std::snprintf(text, sizeof text, "%d(%d): %d KB, %dx%d pixels, %dx%d mm, %d dpi, %.*s", shown, count,
                facts.image_kb, facts.columns, facts.rows, Millimetres(facts.columns, facts.resolution),
                Millimetres(facts.rows, facts.resolution), WholeDpi(facts.resolution),
                static_cast<int>(facts.format_name.size()), facts.format_name.data());
  return text;
}

std::string RunProgressText(int index, int count) {
  return "Writing page " + std::to_string(index + 1) + " of " + std::to_string(count);
}

std::string StatusLineText(const std::string& status, const std::string& progress, bool wide) {
  if (progress.empty()) return wide ? status : std::string();
  return wide ? progress + "  |  " + status : progress;
}

}  // namespace pw::ui
