#pragma once
// The settings record: every option the program keeps under the user key,
// with its default, plus the run-time values that are not stored. One
// process-wide record, guarded by a lock: worker threads take a consistent
// copy (Snapshot) once per render while the user-interface thread changes
// fields through Change / ChangeAndStore, which store each changed value at
// once.
#include <functional>
#include <initializer_list>
#include <string_view>
#include <type_traits>

#include "settings/setting_groups.h"

namespace pw::settings {

// The stored values are declared in their groups (setting_groups.h), where
// the renderer and the format sheet take them whole; the record adds the
// values no group holds. The load order is the stored-value table's.
struct Settings : PageSettings, BackgroundSettings, EncodingSettings {
  int lvKodPreset = 0;
  int lvKodMainWinMax = 0;
  double ResCur = 80.0;  // dpi; stored in tenths of a dpi
  int CheckN = 2;
  bool SaveFile_Opt = true;
  bool StartFile_Opt = true;
  int KodEmailFormat = 1;

  // The resolution dialog's copies of ResCur, CheckN and ScaleCur. The load
  // sets them with the originals; the dialog takes fresh ones when it opens.
  double ResCurDlg = 80.0;
  int CheckNDlg = 2;
  int ScaleCurDlg = 100;

  // Run-time values, never loaded (and KodMultipageFormat of the encoding
  // group).
  int DisplayResolution = 96;   // dpi, measured by the capture load
  int PrinterResolution = 300;  // dpi, the capture printer's print quality
  bool QuickStartReference = false;
};

// A consistent copy of the whole record.
Settings Snapshot();

// The start-up load from the user key, over the defaults; the run-time
// values are kept. Makes the key when it does not open. Always true.
bool LoadSettings();

// The two operations below name a field by member pointer. A field declared
// in one of the record's groups is a member of that group (&Settings::JPG_Quality
// is an int JpgSettings::*), so they take a member of any base of the record
// and convert it to a member of the record.
template <typename T>
std::string_view StoredValueNameOf(T Settings::*field);
template <typename T>
bool ChangeStored(T Settings::*field, T value);

// The registry name of a stored field; empty for the others. Defined for
// fields of type bool, int, Colorref and double.
template <typename T, typename Group>
  requires std::is_base_of_v<Group, Settings>
std::string_view ValueNameOf(T Group::*field) {
  return StoredValueNameOf<T>(field);
}

// Sets a stored field and writes its one value, e.g.
// Change(&Settings::JPG_Quality, 75). The field keeps the new value even
// when the write fails (the result says which). Fields that are not stored
// are left alone and the result is false.
template <typename T, typename Group>
  requires std::is_base_of_v<Group, Settings>
bool Change(T Group::*field, std::type_identity_t<T> value) {
  return ChangeStored<T>(field, value);
}

// Several fields at once: `edit` runs under the lock, so no snapshot sees
// half of it; then every stored field named in `names` is written. True
// when every write succeeded.
bool ChangeAndStore(const std::function<void(Settings&)>& edit, std::initializer_list<std::string_view> names);

// Sets fields that are not stored (run-time values, dialog copies).
void Update(const std::function<void(Settings&)>& edit);

}  // namespace pw::settings
