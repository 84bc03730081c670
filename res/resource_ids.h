#pragma once
// Resource and control identifiers of the main program. The numbers are the
// program's own (stored files and the help topics refer to some of them),
// so they stay as they are even where Qt does not need a number.
namespace pw::res {

// Icons, cursors and bitmaps.
inline constexpr int kMainIcon = 128;
inline constexpr int kHandCursor = 132;
inline constexpr int kSplashBitmap = 196;
// Command button i shows bitmap 172 + 2i, and 173 + 2i while lit.
inline constexpr int kFirstButtonBitmap = 172;
inline constexpr int kLastButtonBitmap = 185;

// Menus and accelerators.
inline constexpr int kMainMenu = 135;
inline constexpr int kAcceleratorTable = 144;

// Dialog templates.
inline constexpr int kSplashTemplate = 105;
inline constexpr int kTipTemplate = 193;

// The desktop's standard dialog command identifiers.
enum class DialogCommand : int { Ok = 1, Cancel = 2 };

// Controls of the tip of the day (template 193).
inline constexpr int kTipShowAtStartupCheck = 1006;
inline constexpr int kTipNextButton = 1014;

// The splash window: its timer and the control id start-up gives it.
inline constexpr int kSplashTimerId = 997789;
inline constexpr int kSplashTimerPeriodMs = 2000;
inline constexpr int kSplashControlId = 150;

// The Qt resource paths of the images above.
inline constexpr const char* kMainIconPath = ":/pagewick/icons/pagewick.png";
inline constexpr const char* kSplashBitmapPath = ":/pagewick/bitmaps/splash.png";
inline constexpr const char* kHandCursorPath = ":/pagewick/cursors/hand.png";

}  // namespace pw::res
