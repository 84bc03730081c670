#include "app/window_save_host.h"

#include "app/window_option_host.h"
#include "dialogs/format_sheet.h"
#include "dialogs/mail_format_dlg.h"
#include "dialogs/save_file_dlg.h"
#include "output/email_delivery.h"
#include "output/save_commands.h"
#include "platform/shell/shell_open.h"
#include "res/command_ids.h"
#include "ui/frame_win.h"
#include "ui/frame_writer_view.h"

namespace pw::app {

settings::OptionHost& WindowSaveHost::Options() { return options_; }

std::optional<output::SaveDialogResult> WindowSaveHost::RunSaveDialog(const output::SaveDialogRequest& request) {
  return dialogs::RunSaveDialog(&frame_, request);
}

std::optional<output::MailFormatChoice> WindowSaveHost::RunMailFormatDialog(int stored_format, bool save_file_opt) {
  return dialogs::RunMailFormatDialog(&frame_, stored_format, save_file_opt);
}

bool WindowSaveHost::RunSingleFormatSheet() { return dialogs::RunSingleFormatSheet(&frame_); }

bool WindowSaveHost::RunExtraFormatSheet(int kind) { return dialogs::RunExtraFormatSheet(&frame_, kind); }

void WindowSaveHost::RedrawPageView() { frame_.invalidatePageView(); }

std::shared_ptr<output::WriterView> WindowSaveHost::RunView() { return frame_.writerView(); }

// The frame shows no render's bands; the run's pages are its progress.
std::shared_ptr<render::RenderView> WindowSaveHost::RunRenderView() { return nullptr; }

std::unique_ptr<WindowSaveHost> InstallSaveCommands(ui::lvFrameWin& frame, WindowOptionHost& options) {
  auto host = std::make_unique<WindowSaveHost>(frame, options);
  WindowSaveHost* h = host.get();
  ui::CommandTable& commands = frame.commands();
  namespace cmd = res::cmd;
  commands.Set(cmd::kSaveToDisk, [h] { output::SaveImageSeries(*h); });
  commands.Set(cmd::kSendEmail, [h] { output::SendByEmail(*h); });
  commands.Set(cmd::kSavePdf, [h] { output::SaveMultipagePdf(*h); });
  commands.Set(cmd::kSaveHtml, [h] { output::SaveHtmlGallery(*h); });
  commands.Set(cmd::kSendPage, [h] { output::SendCurrentPage(*h); });
  commands.Set(cmd::kSavePage, [h] { output::SaveCurrentPage(*h); });
  commands.Set(cmd::kMakerOnline, [] { platform::ShellOpen(output::kWebSite); });
  commands.Set(cmd::kMakerSupport, [] { platform::ShellOpen(std::string("mailto:") + output::kSupportAddress); });
  return host;
}

}  // namespace pw::app
