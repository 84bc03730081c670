#pragma once
// Helpers of the capture load tests: a view that records what the load asks
// of the windows, and a clean page set.
#include "tests/support/emf_pages.h"
#include <cstddef>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "intake/load_view.h"

namespace pw::test {

class RecordingView final : public intake::LoadView {
 public:
  struct Invalidation {
    enum class Target { Strip, WholeStrip, PageView, Frame } target;
    intake::ViewRect area;
    bool erase;
  };

  std::optional<intake::DisplayExtent> display = intake::DisplayExtent{1024, 270};
  intake::ViewRect strip{0, 0, 170, 600};
  intake::ViewRect frame{0, 0, 1000, 700};

  std::optional<intake::DisplayExtent> Display() override { return display; }
  intake::ViewRect StripClient() override { return strip; }
  intake::ViewRect FrameClient() override { return frame; }
  void InvalidateStrip(const intake::ViewRect& area, bool erase) override;
  void InvalidateWholeStrip(bool erase) override;
  void InvalidatePageView(bool erase) override;
  void InvalidateFrame(const intake::ViewRect& area, bool erase) override;
  void SetStripScrollRange(int minimum, int maximum) override;

  std::vector<Invalidation> Invalidations() const;
  std::vector<std::pair<int, int>> ScrollRanges() const;

 private:
  mutable std::mutex mutex_;
  std::vector<Invalidation> invalidations_;
  std::vector<std::pair<int, int>> ranges_;
};

// Empties the process-wide page set and its state before a test.
void ResetPageSet();

// The regular files of a folder, by name; empty when it does not exist.
std::vector<std::string> FilesIn(const std::filesystem::path& folder);

// Only the "*.emf" files among them (the work folder also holds the
// preview file of the last full render).
std::vector<std::string> PageFilesIn(const std::filesystem::path& folder);

}  // namespace pw::test
