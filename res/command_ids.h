#pragma once
// Command identifiers of the menus, the accelerators and the command panel.
// The numbers are the program's own: the menu and accelerator tables, the
// help topics and the tests name commands by them.
namespace pw::res::cmd {

// Antialiasing (supersampling factor).
inline constexpr int kAntialiasNone = 32801;
inline constexpr int kAntialias2x = 32823;
inline constexpr int kAntialias3x = 32824;
inline constexpr int kAntialias5x = 32813;
inline constexpr int kAntialias7x = 32815;
inline constexpr int kAntialias10x = 32818;
inline constexpr int kAntialias15x = 32825;
inline constexpr int kAntialias20x = 32819;

// Option dialogs and switches.
inline constexpr int kResolutionDialog = 32820;
inline constexpr int kImageFormatDialog = 32821;
inline constexpr int kSharpen = 32855;
inline constexpr int kDateTimeStamp = 32856;
inline constexpr int kHatchSettings = 32857;  // from the Options popup
inline constexpr int kHatchAccelerator = 192;  // Ctrl+H

// Presets.
inline constexpr int kPresetDemoDefault = 32900;
inline constexpr int kPresetProfessional = 32901;
inline constexpr int kPresetTextGraphics = 32903;
inline constexpr int kPresetWordArtPhoto = 32904;

// Help popup.
inline constexpr int kHelp = 32831;
inline constexpr int kAbout = 32832;
inline constexpr int kMakerOnline = 32833;
inline constexpr int kMakerSupport = 32834;
inline constexpr int kEmergencyReport = 32844;

// Save and send.
inline constexpr int kSaveToDisk = 32865;
inline constexpr int kSendEmail = 32866;
inline constexpr int kSavePdf = 32867;
inline constexpr int kSaveHtml = 32868;

// The page view's right-click popup: the current page alone.
inline constexpr int kSendPage = 32828;
inline constexpr int kSavePage = 32829;
inline constexpr int kSetWallpaper = 32830;

// Frame navigation.
inline constexpr int kAbortRun = 32826;  // Esc
inline constexpr int kNextPage = 32871;
inline constexpr int kPreviousPage = 32872;
inline constexpr int kStripLineDown = 32873;
inline constexpr int kStripLineUp = 32874;
inline constexpr int kViewLineDown = 32875;
inline constexpr int kViewLineUp = 32876;
inline constexpr int kViewLineRight = 32877;
inline constexpr int kViewLineLeft = 32878;

// The exit button: leave and bring the word processor back. Not in a menu
// or the accelerator table (Alt+F4 closes the window the desktop's way); a
// number of its own so the button dispatches like the others.
inline constexpr int kExitToWord = 32879;

}  // namespace pw::res::cmd
