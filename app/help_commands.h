#pragma once
// The Help popup's commands (Help, About, Emergency Report; F1 is Help) and
// the right-click menu's "Set to Wallpaper", installed in the frame's
// command table.
namespace pw::ui {
class lvFrameWin;
}

namespace pw::app {

void InstallHelpCommands(ui::lvFrameWin& frame);

}  // namespace pw::app
