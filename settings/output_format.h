#pragma once
// Output format codes: what "KodEmailFormat" holds, what the options sheet
// makes the output format, and the order of the save dialogs' filters.
#include "settings/settings_record.h"

#include <optional>
#include <string_view>

namespace pw::settings {

enum class OutputFormat {
  Jpg = 1,
  Gif = 2,
  Png = 3,
  Bmp = 4,
  Tif = 5,
  MultipagePdf = 6,
  MultipageTif = 7,
  AnimatedGif = 8,
};

// The format of a code 1 to 8; nothing for any other number.
std::optional<OutputFormat> OutputFormatFromCode(int code);
int CodeOf(OutputFormat format);

// ".jpg", ".gif", ".png", ".bmp", ".tif", ".pdf", ".tif", ".gif".
std::string_view ExtensionOf(OutputFormat format);

// The registry name of the format's one-hot flag ("JPG_Default" ...); empty
// for the multipage formats, which have none.
std::string_view FlagNameOf(OutputFormat format);

// The multipage mode a format runs in: 0 for the single-image formats, the
// code minus 5 for the others.
int MultipageModeOf(OutputFormat format);

// The single-image format whose flag is on (the first in code order when a
// damaged record has several); nothing when none is on.
std::optional<OutputFormat> FlaggedFormat(const Settings& settings);

// Sets the five flags in the record with only `format` on; a multipage
// format turns all five off.
void SetOutputFormatFlags(Settings& settings, OutputFormat format);

// Makes one single-image format the output format: its flag on, the other
// four off, all five stored. False for a multipage format (nothing changes)
// or when a write failed.
bool MakeOutputFormat(OutputFormat format);

}  // namespace pw::settings
