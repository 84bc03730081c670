#include "platform/desktop/desktop_wallpaper.h"

#include "platform/shell/run_program.h"

#include <QUrl>

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace pw::platform {
namespace {

constexpr const char* kXfceChannel = "xfce4-desktop";

// A text as a GVariant string literal, which gsettings parses.
std::string GVariantString(std::string_view text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\\' || c == '\'') quoted.push_back('\\');
    quoted.push_back(c);
  }
  quoted.push_back('\'');
  return quoted;
}

std::string FileUri(const std::string& path) {
  return QUrl::fromLocalFile(QString::fromStdString(path)).toString(QUrl::FullyEncoded).toStdString();
}

ProgramCall Gsettings(const char* schema, const char* key, const std::string& value) {
  return {"gsettings", {"set", schema, key, GVariantString(value)}};
}

// The programs each desktop's calls need.
const char* ToolOf(DesktopKind desktop) {
  switch (desktop) {
    case DesktopKind::Gnome:
    case DesktopKind::Cinnamon:
    case DesktopKind::Mate: return "gsettings";
    case DesktopKind::Plasma: return "plasma-apply-wallpaperimage";
    case DesktopKind::Xfce: return "xfconf-query";
    case DesktopKind::Unknown: break;
  }
  return nullptr;
}

std::vector<std::string> XfceImageProperties() {
  std::optional<ProgramResult> listed = RunProgram("xfconf-query", {"-c", kXfceChannel, "-l"}, 5000);
  std::vector<std::string> properties;
  if (!listed || listed->exit_code != 0) return properties;
  std::size_t at = 0;
  const std::string& text = listed->output;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at);
    at = end + 1;
    if (line.starts_with("/backdrop/") && line.ends_with("/last-image")) properties.push_back(line);
  }
  return properties;
}

}  // namespace

DesktopKind DesktopFromSessionNames(std::string_view current_desktop) {
  std::size_t at = 0;
  while (at <= current_desktop.size()) {
    std::size_t end = current_desktop.find(':', at);
    if (end == std::string_view::npos) end = current_desktop.size();
    std::string name(current_desktop.substr(at, end - at));
    at = end + 1;
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::toupper(c); });
    if (name == "GNOME" || name == "UNITY" || name == "BUDGIE" || name == "PANTHEON" || name == "GNOME-CLASSIC")
      return DesktopKind::Gnome;
    if (name == "X-CINNAMON" || name == "CINNAMON") return DesktopKind::Cinnamon;
    if (name == "MATE") return DesktopKind::Mate;
    if (name == "KDE") return DesktopKind::Plasma;
    if (name == "XFCE") return DesktopKind::Xfce;
  }
  return DesktopKind::Unknown;
}

std::vector<ProgramCall> WallpaperCalls(DesktopKind desktop, const std::string& picture_path,
                                        const std::vector<std::string>& xfce_image_properties) {
  switch (desktop) {
    case DesktopKind::Gnome:
      // The dark style has a picture of its own since GNOME 42; both are
      // set so the page shows whichever style is on.
      return {Gsettings("org.gnome.desktop.background", "picture-uri", FileUri(picture_path)),
              Gsettings("org.gnome.desktop.background", "picture-uri-dark", FileUri(picture_path))};
    case DesktopKind::Cinnamon:
      return {Gsettings("org.cinnamon.desktop.background", "picture-uri", FileUri(picture_path))};
    case DesktopKind::Mate:
      return {Gsettings("org.mate.background", "picture-filename", picture_path)};
    case DesktopKind::Plasma:
      return {{"plasma-apply-wallpaperimage", {picture_path}}};
    case DesktopKind::Xfce: {
      std::vector<ProgramCall> calls;
      for (const std::string& property : xfce_image_properties)
        calls.push_back({"xfconf-query", {"-c", kXfceChannel, "-p", property, "-s", picture_path}});
      if (calls.empty())
        calls.push_back({"xfconf-query",
                         {"-c", kXfceChannel, "-p", "/backdrop/screen0/monitor0/workspace0/last-image", "-n", "-t",
                          "string", "-s", picture_path}});
      return calls;
    }
    case DesktopKind::Unknown: break;
  }
  return {};
}

bool SetDesktopWallpaper(const std::string& picture_path) {
  const char* names = std::getenv("XDG_CURRENT_DESKTOP");
  const DesktopKind desktop = DesktopFromSessionNames(names ? names : "");
  const char* tool = ToolOf(desktop);
  if (!tool || !ProgramOnPath(tool)) return false;
  const std::vector<std::string> xfce = desktop == DesktopKind::Xfce ? XfceImageProperties() : std::vector<std::string>{};
  bool all_done = true;
  for (const ProgramCall& call : WallpaperCalls(desktop, picture_path, xfce)) {
    std::optional<ProgramResult> result = RunProgram(call.program, call.arguments);
    // An older GNOME has no dark picture; its refusal is no failure.
    const bool optional = call.arguments.size() > 2 && call.arguments[2] == "picture-uri-dark";
    if ((!result || result->exit_code != 0) && !optional) all_done = false;
  }
  return all_done;
}

}  // namespace pw::platform
