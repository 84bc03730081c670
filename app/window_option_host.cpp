#include "app/window_option_host.h"

#include <QApplication>

#include "dialogs/format_sheet.h"
#include "dialogs/hatch_dlg.h"
#include "dialogs/resolution_dlg.h"
#include "pages/page_render.h"
#include "pages/thumbnails.h"
#include "settings/option_commands.h"
#include "ui/frame_win.h"
#include "ui/page_view.h"
#include "ui/thumbnail_strip.h"

namespace pw::app {
namespace {

void Call(const std::function<void()>& f) {
  if (f) f();
}

}  // namespace

void WindowOptionHost::SetWaitCursor(bool on) {
  if (on)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

bool WindowOptionHost::RefreshCurrentPage() {
  const bool rendered = pages::RefreshCurrentPage();
  Call(windows_.invalidate_page_view);
  return rendered;
}

void WindowOptionHost::ScrollPageViewToOrigin() { Call(windows_.scroll_page_view_home); }

void WindowOptionHost::RerenderThumbnails() {
  pages::RerenderThumbnails();
  Call(windows_.invalidate_strip);
}

std::optional<settings::ResolutionResult> WindowOptionHost::RunResolutionDialog() {
  return dialogs::RunResolutionDialog(windows_.parent);
}

bool WindowOptionHost::RunImageFormatSheet(settings::ImageFormatValues& values) {
  return dialogs::RunFullFormatSheet(windows_.parent, values);
}

bool WindowOptionHost::RunHatchDialog() { return dialogs::RunHatchDialog(windows_.parent); }

std::unique_ptr<WindowOptionHost> InstallOptionCommands(ui::lvFrameWin& frame) {
  ui::lvFrameWin* f = &frame;
  auto host = std::make_unique<WindowOptionHost>(OptionWindows{
      .parent = f,
      // The status line tells the new page image's size.
      .invalidate_page_view =
          [f] {
            f->invalidatePageView();
            f->update();
          },
      .scroll_page_view_home =
          [f] {
            f->pageView()->scroll(Qt::Vertical, ui::ScrollRequest::PageUp);
            f->pageView()->scroll(Qt::Horizontal, ui::ScrollRequest::PageUp);
          },
      .invalidate_strip = [f] { f->strip()->update(); },
  });
  WindowOptionHost* options = host.get();
  using settings::OptionCommand;
  for (const OptionCommand command :
       {OptionCommand::PresetTextGraphics, OptionCommand::PresetWordArtPhoto, OptionCommand::PresetProfessional,
        OptionCommand::PresetDemoDefault, OptionCommand::Resolution, OptionCommand::ImageFormat, OptionCommand::Sharpen,
        OptionCommand::AntialiasNone, OptionCommand::Antialias2, OptionCommand::Antialias3, OptionCommand::Antialias5,
        OptionCommand::Antialias7, OptionCommand::Antialias10, OptionCommand::Antialias15, OptionCommand::Antialias20,
        OptionCommand::DateTimeStamp, OptionCommand::HatchFromMenu, OptionCommand::HatchFromAccelerator}) {
    const int id = static_cast<int>(command);
    // A key asks first in Quick Start Reference mode; the pop-up's items run
    // as they are, since the panel asked before it opened the pop-up.
    frame.commands().SetSourced(id, [options, id](ui::CommandSource source) {
      if (source == ui::CommandSource::Key && settings::RunOptionAccelerator(id, *options)) return;
      settings::RunOptionCommand(id, *options);
    });
  }
  frame.setThumbnailRerender([options] { options->RerenderThumbnails(); });
  return host;
}

}  // namespace pw::app
