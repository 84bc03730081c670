#pragma once
// The option commands' host in the running program: the page set renders,
// the windows repaint through the frame's callbacks, and the dialogs open
// over the frame.
#include <QWidget>

#include <functional>
#include <memory>

#include "settings/option_host.h"

namespace pw::ui {
class lvFrameWin;
}

namespace pw::app {

struct OptionWindows {
  QWidget* parent = nullptr;                  // owner of the dialogs
  std::function<void()> invalidate_page_view;  // repaint it whole, erasing
  std::function<void()> scroll_page_view_home;  // to its top and left edge
  std::function<void()> invalidate_strip;       // repaint the thumbnails, erasing
};

class WindowOptionHost final : public settings::OptionHost {
 public:
  explicit WindowOptionHost(OptionWindows windows) : windows_(std::move(windows)) {}

  void SetWaitCursor(bool on) override;
  bool RefreshCurrentPage() override;
  void ScrollPageViewToOrigin() override;
  void RerenderThumbnails() override;
  std::optional<settings::ResolutionResult> RunResolutionDialog() override;
  bool RunImageFormatSheet(settings::ImageFormatValues& values) override;
  bool RunHatchDialog() override;

 private:
  OptionWindows windows_;
};

// Routes the option commands of the frame's command table (the keys and
// the Options popup) to the option operations, over a host the frame backs;
// the frame's leaving of Quick Start Reference mode redraws the thumbnails
// with it. The host lives as long as the returned object.
std::unique_ptr<WindowOptionHost> InstallOptionCommands(ui::lvFrameWin& frame);

}  // namespace pw::app
