#include "settings/option_commands.h"

#include <array>
#include <utility>

#include "platform/msgbox/message_box.h"
#include "settings/settings_record.h"
#include "settings/value_names.h"

namespace pw::settings {
namespace {

// The wait cursor over the page view for one scope.
class WaitCursor {
 public:
  explicit WaitCursor(OptionHost& host) : host_(host) { host_.SetWaitCursor(true); }
  ~WaitCursor() { host_.SetWaitCursor(false); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  OptionHost& host_;
};

void ClearPreset() { Change(&Settings::lvKodPreset, 0); }

constexpr std::array<std::pair<OptionCommand, int>, 8> kAntialiasing{{
    {OptionCommand::AntialiasNone, 0},
    {OptionCommand::Antialias2, 2},
    {OptionCommand::Antialias3, 3},
    {OptionCommand::Antialias5, 5},
    {OptionCommand::Antialias7, 7},
    {OptionCommand::Antialias10, 10},
    {OptionCommand::Antialias15, 15},
    {OptionCommand::Antialias20, 20},
}};

std::optional<Preset> PresetOf(int command) {
  switch (static_cast<OptionCommand>(command)) {
    case OptionCommand::PresetTextGraphics: return Preset::TextGraphics;
    case OptionCommand::PresetProfessional: return Preset::Professional;
    case OptionCommand::PresetWordArtPhoto: return Preset::WordArtPhoto;
    case OptionCommand::PresetDemoDefault: return Preset::DemoDefault;
    default: return std::nullopt;
  }
}

}  // namespace

void ApplyPreset(Preset preset, OptionHost& host) {
  // The demo preset would overwrite the settings the demonstration shows.
  if (preset == Preset::DemoDefault && Snapshot().QuickStartReference) return;

  for (const PresetStep& step : PresetSteps(preset)) ChangeAndStore(step.set, {step.name});
  const OutputFormat format = PresetFormat(preset);
  ChangeAndStore([&](Settings& s) { SetOutputFormatFlags(s, format); },
                 {kGifDefault, kJpgDefault, kPngDefault, kBmpDefault, kTifDefault});
  {
    WaitCursor wait(host);
    if (host.RefreshCurrentPage() && preset != Preset::Professional) host.ScrollPageViewToOrigin();
    host.RerenderThumbnails();
  }
  Change(&Settings::lvKodPreset, static_cast<int>(preset));
}

void SetAntialiasing(int factor, OptionHost& host) {
  Update([&](Settings& s) { s.KodAntialias = factor; });
  host.RefreshCurrentPage();
  Change(&Settings::KodAntialias, factor);
  ClearPreset();
}

void ToggleSharpen(OptionHost& host) {
  ClearPreset();
  Change(&Settings::lvSharpen, !Snapshot().lvSharpen);
  host.RefreshCurrentPage();
}

void ToggleDateTimeStamp(OptionHost& host) {
  Change(&Settings::lvIncludeDateTime, !Snapshot().lvIncludeDateTime);
  host.RefreshCurrentPage();
}

void EditResolution(OptionHost& host) {
  const std::optional<ResolutionResult> result = host.RunResolutionDialog();
  if (!result) return;
  ClearPreset();
  ChangeAndStore(
      [&](Settings& s) {
        s.ResCur = result->resolution;
        s.ScaleCur = result->scale;
        s.CheckN = result->choice;
      },
      {kResCur, kScaleCur, kCheckN});
  WaitCursor wait(host);
  if (host.RefreshCurrentPage()) host.ScrollPageViewToOrigin();
}

void EditImageFormat(OptionHost& host) {
  ImageFormatValues values = ImageFormatValuesFrom(Snapshot());
  if (!host.RunImageFormatSheet(values)) return;
  ClearPreset();
  CommitImageFormatValues(values, FormatCommit::All);
  WaitCursor wait(host);
  host.RefreshCurrentPage();
}

void EditHatch(OptionHost& host) {
  if (!host.RunHatchDialog()) return;
  {
    WaitCursor wait(host);
    host.RefreshCurrentPage();
  }
  host.RerenderThumbnails();
  ClearPreset();
}

bool SelectOutputFormat(OutputFormat format, OptionHost& host) {
  if (FlagNameOf(format).empty()) return false;
  const Settings s = Snapshot();
  const bool current = FlaggedFormat(s) == format &&
                       s.JPG_Default + s.GIF_Default + s.PNG_Default + s.BMP_Default + s.TIF_Default == 1;
  if (current) return true;
  MakeOutputFormat(format);
  WaitCursor wait(host);
  host.RefreshCurrentPage();
  return true;
}

std::optional<int> AntialiasingOf(int command) {
  for (const auto& [id, factor] : kAntialiasing) {
    if (static_cast<int>(id) == command) return factor;
  }
  return std::nullopt;
}

bool RunOptionCommand(int command, OptionHost& host) {
  if (const std::optional<Preset> preset = PresetOf(command)) {
    ApplyPreset(*preset, host);
    return true;
  }
  if (const std::optional<int> factor = AntialiasingOf(command)) {
    SetAntialiasing(*factor, host);
    return true;
  }
  switch (static_cast<OptionCommand>(command)) {
    case OptionCommand::Resolution: EditResolution(host); return true;
    case OptionCommand::ImageFormat: EditImageFormat(host); return true;
    case OptionCommand::Sharpen: ToggleSharpen(host); return true;
    case OptionCommand::DateTimeStamp: ToggleDateTimeStamp(host); return true;
    case OptionCommand::HatchFromMenu:
    case OptionCommand::HatchFromAccelerator: EditHatch(host); return true;
    default: return false;
  }
}

bool AskToLeaveQuickStart() {
  if (!Snapshot().QuickStartReference) return true;
  const platform::MessageAnswer answer =
      platform::MessageBox(platform::MessageOwner::MainWindow, kLeaveQuickStartQuestion, platform::kMessageCaption,
                           platform::MessageButtons::YesNo, platform::MessageIcon::Question);
  if (answer != platform::MessageAnswer::Yes) return false;
  Update([](Settings& s) { s.QuickStartReference = false; });
  return true;
}

bool RunOptionAccelerator(int command, OptionHost& host) {
  const bool is_option = PresetOf(command) || AntialiasingOf(command) ||
                         command == static_cast<int>(OptionCommand::Resolution) ||
                         command == static_cast<int>(OptionCommand::ImageFormat) ||
                         command == static_cast<int>(OptionCommand::HatchFromAccelerator);
  if (!is_option) return false;
  if (!Snapshot().QuickStartReference) return RunOptionCommand(command, host);
  if (command == static_cast<int>(OptionCommand::PresetDemoDefault)) return true;
  if (!AskToLeaveQuickStart()) return true;
  RunOptionCommand(command, host);
  // Thumbnails drawn with the demonstration's background are drawn again
  // with the settings; presets and the hatch dialog have just done so.
  const bool redrew_thumbnails =
      PresetOf(command) || command == static_cast<int>(OptionCommand::HatchFromAccelerator);
  if (!redrew_thumbnails) host.RerenderThumbnails();
  return true;
}

}  // namespace pw::settings
