#pragma once
// The command line of pagewick-convert.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/msgbox/console_message_box.h"
#include "settings/settings_record.h"

namespace pw::convert {

enum class TargetKind { Series, Pdf, Gallery };

// One changed setting: the edit of the record and the stored value it
// touches (empty for values that are not stored).
struct SettingEdit {
  std::function<void(settings::Settings&)> edit;
  std::string value_name;
};

struct ConvertOptions {
  std::vector<std::string> inputs;
  std::string target;             // -o
  TargetKind kind = TargetKind::Series;
  std::optional<std::string> series_format;  // "jpg" ... "tif" (series and gallery images)
  std::optional<std::string> pdf_inside;     // "JPG", "PNG", "BMP", "TIF", "GIF"
  std::vector<SettingEdit> edits;
  bool save_settings = false;
  int threads = 0;                // band workers per render: 0 one per processor
  platform::ConsoleAnswerPolicy answers = platform::ConsoleAnswerPolicy::Accept;
  bool quiet = false;
  bool help = false;
};

// Parses the arguments after the program name; the error names the
// offending argument.
std::optional<ConvertOptions> ParseConvertOptions(const std::vector<std::string>& args, std::string& error);

std::string ConvertUsage();

}  // namespace pw::convert
