#pragma once
// Where the main window opens: from the stored placement values and the
// size a maximized window has on this screen. Pure, so every rule can be
// checked without a display.
namespace pw::app {

struct WindowSize {
  int width = 0;
  int height = 0;
};

// The stored values as the registry reads them; an absent one is -1.
struct StoredPlacement {
  int main_win_max = 0;  // lvKodMainWinMax (already loaded with the settings)
  int left = -1;         // lvWinLeft
  int top = -1;          // lvWinTop
  int right = -1;        // lvWinRight
  int bottom = -1;       // lvWinBottom
};

// Edges in screen pixels: right and bottom are edges, not sizes.
struct Placement {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool maximized = false;

  int width() const { return right - left; }
  int height() const { return bottom - top; }
  // A window that is not maximized and sits at (0, 0) is centred on the
  // screen once it exists.
  bool centred() const { return !maximized && left == 0 && top == 0; }
};

Placement ComputePlacement(const StoredPlacement& stored, WindowSize maximized);

}  // namespace pw::app
