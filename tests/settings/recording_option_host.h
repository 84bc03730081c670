#pragma once
// An option host for tests: records every call in order and answers the
// dialogs from what the test sets beforehand.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "settings/option_host.h"

namespace pw::settings::testing {

class RecordingOptionHost final : public OptionHost {
 public:
  void SetWaitCursor(bool on) override { calls.push_back(on ? "wait on" : "wait off"); }
  bool RefreshCurrentPage() override {
    calls.push_back("refresh");
    return has_page;
  }
  void ScrollPageViewToOrigin() override { calls.push_back("scroll"); }
  void RerenderThumbnails() override { calls.push_back("thumbnails"); }
  std::optional<ResolutionResult> RunResolutionDialog() override {
    calls.push_back("resolution dialog");
    return resolution;
  }
  bool RunImageFormatSheet(ImageFormatValues& values) override {
    calls.push_back("format sheet");
    sheet_opened_with = values;
    if (!edit_sheet) return false;
    edit_sheet(values);
    return true;
  }
  bool RunHatchDialog() override {
    calls.push_back("hatch dialog");
    return hatch_ok;
  }

  std::vector<std::string> calls;
  bool has_page = true;                            // what RefreshCurrentPage answers
  std::optional<ResolutionResult> resolution;      // nothing: Cancel
  std::function<void(ImageFormatValues&)> edit_sheet;  // empty: Cancel
  std::optional<ImageFormatValues> sheet_opened_with;
  bool hatch_ok = false;
};

}  // namespace pw::settings::testing
