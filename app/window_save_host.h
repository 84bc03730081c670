#pragma once
// The save and send commands' host in the running program: the save-file
// and e-mail format dialogs and the format sheets open over the frame, the
// option operations run over the frame's option host, and writer runs show
// themselves in the frame.
#include <memory>

#include "output/save_host.h"

namespace pw::ui {
class lvFrameWin;
}

namespace pw::app {

class WindowOptionHost;

class WindowSaveHost final : public output::SaveHost {
 public:
  WindowSaveHost(ui::lvFrameWin& frame, WindowOptionHost& options) : frame_(frame), options_(options) {}

  settings::OptionHost& Options() override;
  std::optional<output::SaveDialogResult> RunSaveDialog(const output::SaveDialogRequest& request) override;
  std::optional<output::MailFormatChoice> RunMailFormatDialog(int stored_format, bool save_file_opt) override;
  bool RunSingleFormatSheet() override;
  bool RunExtraFormatSheet(int kind) override;
  void RedrawPageView() override;
  std::shared_ptr<output::WriterView> RunView() override;
  std::shared_ptr<render::RenderView> RunRenderView() override;

 private:
  ui::lvFrameWin& frame_;
  WindowOptionHost& options_;
};

// Routes the save and send commands of the frame's command table (keys,
// command panel, right-click menu) to their operations over a host the
// frame backs, and the Help popup's two links to the desktop. The host
// lives as long as the returned object.
std::unique_ptr<WindowSaveHost> InstallSaveCommands(ui::lvFrameWin& frame, WindowOptionHost& options);

}  // namespace pw::app
