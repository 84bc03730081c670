#pragma once
// The machine key of the program and the two values it holds. They are
// spelled here rather than in settings/value_names.h because the registry
// store, below settings/, seeds them at first start and the About library,
// which links only platform layers, reads "Version"; value_names.h takes
// "InstallPath" from here.
#include <string_view>

namespace pw::registry {

inline constexpr std::string_view kMachineKeyPath = "Software\\Tavrin\\Pagewick";
inline constexpr std::string_view kInstallPathValue = "InstallPath";  // the install folder
inline constexpr std::string_view kVersionValue = "Version";          // the installed version

}  // namespace pw::registry
