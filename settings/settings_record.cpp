#include "settings/settings_record.h"

#include "platform/registry/registry.h"
#include "settings/settings_store.h"
#include "settings/value_names.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <limits>
#include <map>
#include <mutex>
#include <string>
#include <variant>

namespace pw::settings {
namespace {

// How a stored number becomes the field.
enum class LoadRule {
  AsIs,     // the number itself
  One,      // true only for 1
  NonZero,  // true for any number but 0
  Tenths,   // unsigned tenths of a dpi, into the field and the dialog copy
};

using Field = std::variant<int Settings::*, bool Settings::*, Colorref Settings::*, double Settings::*>;

struct StoredField {
  std::string_view name;
  Field field;
  LoadRule rule;
  int Settings::*dialog_copy = nullptr;  // CheckN and ScaleCur
};

// In load order.
const std::array<StoredField, 39> kStoredFields{{
    {kKodPreset, &Settings::lvKodPreset, LoadRule::AsIs},
    {kIncludeDateTime, &Settings::lvIncludeDateTime, LoadRule::One},
    {kSharpen, &Settings::lvSharpen, LoadRule::One},
    {kCurBkGrColor, &Settings::lvCurBkGrColor, LoadRule::AsIs},
    {kHatchColor, &Settings::lvHatchColor, LoadRule::AsIs},
    {kHatchWidth, &Settings::lvHatchWidth, LoadRule::AsIs},
    {kHatchDepress, &Settings::lvHatchDepress, LoadRule::AsIs},
    {kHatchAngle, &Settings::lvHatchAngle, LoadRule::AsIs},
    {kHatchLnHor, &Settings::lvHatchLnHor, LoadRule::NonZero},
    {kHatchLnVert, &Settings::lvHatchLnVert, LoadRule::NonZero},
    {kBkGrHathStyle, &Settings::lvBkGrHathStyle, LoadRule::AsIs},
    {kKodMainWinMax, &Settings::lvKodMainWinMax, LoadRule::AsIs},
    {kResCur, &Settings::ResCur, LoadRule::Tenths},
    {kCheckN, &Settings::CheckN, LoadRule::AsIs, &Settings::CheckNDlg},
    {kScaleCur, &Settings::ScaleCur, LoadRule::AsIs, &Settings::ScaleCurDlg},
    {kKodAntialias, &Settings::KodAntialias, LoadRule::AsIs},
    {kJpgGray, &Settings::JPG_Gray, LoadRule::NonZero},
    {kJpgProgress, &Settings::JPG_Progress, LoadRule::NonZero},
    {kJpgQuality, &Settings::JPG_Quality, LoadRule::AsIs},
    {kGifColors, &Settings::GIF_Colors, LoadRule::AsIs},
    {kGifIndexGray, &Settings::GIF_IndexGray, LoadRule::AsIs},
    {kGifDither, &Settings::GIF_Dither, LoadRule::NonZero},
    {kGifInterlace, &Settings::GIF_Interlace, LoadRule::NonZero},
    {kGifDelay, &Settings::GIF_Delay, LoadRule::AsIs},
    {kPngTrueIndexGray, &Settings::PNG_TrueIndexGray, LoadRule::AsIs},
    {kPngColors, &Settings::PNG_Colors, LoadRule::AsIs},
    {kPngInterlace, &Settings::PNG_Interlace, LoadRule::NonZero},
    {kPngDither, &Settings::PNG_Dither, LoadRule::NonZero},
    {kTifTrueIndexGray, &Settings::TIF_TrueIndexGray, LoadRule::AsIs},
    {kTifColors, &Settings::TIF_Colors, LoadRule::AsIs},
    {kTifLzw, &Settings::TIF_Lzw, LoadRule::NonZero},
    {kJpgDefault, &Settings::JPG_Default, LoadRule::NonZero},
    {kGifDefault, &Settings::GIF_Default, LoadRule::NonZero},
    {kPngDefault, &Settings::PNG_Default, LoadRule::NonZero},
    {kBmpDefault, &Settings::BMP_Default, LoadRule::NonZero},
    {kTifDefault, &Settings::TIF_Default, LoadRule::NonZero},
    {kSaveFileOpt, &Settings::SaveFile_Opt, LoadRule::NonZero},
    {kStartFileOpt, &Settings::StartFile_Opt, LoadRule::NonZero},
    {kKodEmailFormat, &Settings::KodEmailFormat, LoadRule::AsIs},
}};

// g_lock guards the record and is held only briefly, so snapshots never
// wait for the registry; g_store_lock keeps each change and its write
// together, so the stored values follow the record in the same order.
std::mutex g_lock;
std::mutex g_store_lock;
Settings g_settings;

const StoredField* FindByName(std::string_view name) {
  for (const StoredField& stored : kStoredFields) {
    if (stored.name == name) return &stored;
  }
  return nullptr;
}

template <typename T>
const StoredField* FindByField(T Settings::*field) {
  for (const StoredField& stored : kStoredFields) {
    if (const auto* member = std::get_if<T Settings::*>(&stored.field); member && *member == field) return &stored;
  }
  return nullptr;
}

void Assign(Settings& settings, const StoredField& stored, std::uint32_t number) {
  std::visit(
      [&](auto member) {
        using T = std::remove_cvref_t<decltype(settings.*member)>;
        if constexpr (std::is_same_v<T, bool>) {
          settings.*member = stored.rule == LoadRule::One ? number == 1 : number != 0;
        } else if constexpr (std::is_same_v<T, double>) {
          settings.*member = number * 0.1;
          settings.ResCurDlg = settings.*member;
        } else {
          settings.*member = static_cast<T>(number);
        }
      },
      stored.field);
  if (stored.dialog_copy) settings.*stored.dialog_copy = settings.*std::get<int Settings::*>(stored.field);
}

// Tenths of a dpi, truncated toward zero. A resolution outside what 32
// unsigned bits hold (or not a number) is limited rather than converted
// with undefined results.
std::uint32_t Tenths(double dpi) {
  double tenths = std::trunc(dpi * 10.0);
  if (!(tenths > 0.0)) return 0;
  if (tenths >= static_cast<double>(std::numeric_limits<std::uint32_t>::max()))
    return std::numeric_limits<std::uint32_t>::max();
  return static_cast<std::uint32_t>(tenths);
}

std::uint32_t StoredNumber(const Settings& settings, const StoredField& stored) {
  return std::visit(
      [&](auto member) -> std::uint32_t {
        using T = std::remove_cvref_t<decltype(settings.*member)>;
        if constexpr (std::is_same_v<T, bool>) {
          return settings.*member ? 1u : 0u;
        } else if constexpr (std::is_same_v<T, double>) {
          return Tenths(settings.*member);
        } else {
          return static_cast<std::uint32_t>(settings.*member);
        }
      },
      stored.field);
}

std::string Lowered(std::string_view name) {
  std::string out(name);
  std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
  return out;
}

}  // namespace

Settings Snapshot() {
  std::lock_guard lock(g_lock);
  return g_settings;
}

bool LoadSettings() {
  Settings loaded;
  std::optional<std::vector<registry::Value>> values = registry::Values(registry::Hive::CurrentUser, kUserKey);
  if (!values) {
    // A key that does not open is made; the defaults stand either way.
    registry::CreateKey(registry::Hive::CurrentUser, kUserKey);
  } else {
    // Value names compare without regard to case, as the registry's do.
    std::map<std::string, const registry::Value*> by_name;
    for (const registry::Value& value : *values) by_name.emplace(Lowered(value.name), &value);
    for (const StoredField& stored : kStoredFields) {
      auto found = by_name.find(Lowered(stored.name));
      if (found == by_name.end()) continue;
      // What a query into a 4-byte buffer accepts: a number of 4 bytes.
      if (const auto number = registry::DwordOf(*found->second)) Assign(loaded, stored, *number);
    }
  }
  std::lock_guard lock(g_lock);
  loaded.DisplayResolution = g_settings.DisplayResolution;
  loaded.PrinterResolution = g_settings.PrinterResolution;
  loaded.KodMultipageFormat = g_settings.KodMultipageFormat;
  loaded.QuickStartReference = g_settings.QuickStartReference;
  g_settings = loaded;
  return true;
}

template <typename T>
std::string_view StoredValueNameOf(T Settings::*field) {
  const StoredField* stored = FindByField(field);
  return stored ? stored->name : std::string_view();
}

template <typename T>
bool ChangeStored(T Settings::*field, T value) {
  const StoredField* stored = FindByField(field);
  if (!stored) return false;
  std::lock_guard order(g_store_lock);
  std::uint32_t number = 0;
  {
    std::lock_guard lock(g_lock);
    g_settings.*field = value;
    number = StoredNumber(g_settings, *stored);
  }
  return WriteUserDword(stored->name, number);
}

template std::string_view StoredValueNameOf(bool Settings::*);
template std::string_view StoredValueNameOf(int Settings::*);
template std::string_view StoredValueNameOf(Colorref Settings::*);
template std::string_view StoredValueNameOf(double Settings::*);
template bool ChangeStored(bool Settings::*, bool);
template bool ChangeStored(int Settings::*, int);
template bool ChangeStored(Colorref Settings::*, Colorref);
template bool ChangeStored(double Settings::*, double);

bool ChangeAndStore(const std::function<void(Settings&)>& edit, std::initializer_list<std::string_view> names) {
  std::lock_guard order(g_store_lock);
  std::vector<std::pair<std::string_view, std::uint32_t>> writes;
  bool all_known = true;
  {
    std::lock_guard lock(g_lock);
    edit(g_settings);
    for (std::string_view name : names) {
      if (const StoredField* stored = FindByName(name)) {
        writes.emplace_back(stored->name, StoredNumber(g_settings, *stored));
      } else {
        all_known = false;
      }
    }
  }
  bool stored_all = all_known;
  for (const auto& [name, number] : writes) stored_all = WriteUserDword(name, number) && stored_all;
  return stored_all;
}

void Update(const std::function<void(Settings&)>& edit) {
  std::lock_guard lock(g_lock);
  edit(g_settings);
}

}  // namespace pw::settings
