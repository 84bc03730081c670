#include "app/help_commands.h"

#include "dialogs/about_command.h"
#include "dialogs/help.h"
#include "output/emergency_report.h"
#include "output/wallpaper.h"
#include "res/command_ids.h"
#include "ui/frame_win.h"

namespace pw::app {

void InstallHelpCommands(ui::lvFrameWin& frame) {
  // Each operation tells the user what became of it itself; a missing help
  // component or About library shows nothing, by design.
  frame.commands().Set(res::cmd::kHelp, [] { dialogs::ShowHelp(); });
  frame.commands().Set(res::cmd::kAbout, [] { dialogs::RunAboutCommand(); });
  frame.commands().Set(res::cmd::kEmergencyReport, [] { output::RunEmergencyReport(); });
  frame.commands().Set(res::cmd::kSetWallpaper, [] { output::SetToWallpaper(); });
}

}  // namespace pw::app
