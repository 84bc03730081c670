#pragma once
// One conversion: inputs into the page set, settings applied, one writer run.
#include "convert_options.h"

namespace pw::convert {

// Exit codes.
inline constexpr int kConvertOk = 0;
inline constexpr int kSomePagesFailed = 1;
inline constexpr int kUsageOrInputError = 2;

int RunConvert(const ConvertOptions& options);

}  // namespace pw::convert
