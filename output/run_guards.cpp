#include "output/run_guards.h"

#include "settings/settings_record.h"
#include "settings/settings_store.h"
#include "settings/value_names.h"

namespace pw::output {

void StoreMultipageMode(int mode) {
  settings::Update([mode](settings::Settings& s) { s.KodMultipageFormat = mode; });
  settings::WriteUserDword(settings::kKodMultipageFormat, static_cast<std::uint32_t>(mode));
}

MultipageModeReset::~MultipageModeReset() { StoreMultipageMode(0); }

}  // namespace pw::output
