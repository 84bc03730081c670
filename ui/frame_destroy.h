#pragma once
// What the main frame leaves behind when it is destroyed: its placement in
// the settings and an empty work folder. Kept apart from the window so the
// rules can be checked without one.
#include <filesystem>

namespace pw::ui {

// The frame's placement as it closes; the edges are those of the normal
// (not maximized) position, right and bottom being edges, not sizes.
struct ClosingPlacement {
  bool maximized = false;
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// Maximized: lvKodMainWinMax = 1 only. Otherwise lvKodMainWinMax = 0 and
// lvWinBottom, lvWinTop, lvWinLeft, lvWinRight. False if a write failed.
bool StoreWindowPlacement(const ClosingPlacement& placement);

// Deletes every file directly inside folder; subfolders (and whatever they
// hold) and the folder itself remain. A link is deleted as a link, never
// followed. Returns how many entries were deleted; a missing folder gives 0.
int EmptyWorkFolder(const std::filesystem::path& folder);

}  // namespace pw::ui
