#pragma once
// The settings record: every option the program keeps under the user key,
// with its default, plus the run-time values that are not stored. One
// process-wide record, guarded by a lock: worker threads take a consistent
// copy (Snapshot) once per render while the user-interface thread changes
// fields through Change / ChangeAndStore, which store each changed value at
// once.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string_view>
#include <type_traits>

namespace pw::settings {

// Windows colour value 0x00BBGGRR.
using Colorref = std::uint32_t;

struct Settings {
  // Stored values, in the order the load reads them.
  int lvKodPreset = 0;
  bool lvIncludeDateTime = false;
  bool lvSharpen = false;
  Colorref lvCurBkGrColor = 0x0080FF80;
  Colorref lvHatchColor = 0x00A83E3E;
  int lvHatchWidth = 0;
  int lvHatchDepress = 8;
  int lvHatchAngle = 0;
  bool lvHatchLnHor = true;
  bool lvHatchLnVert = true;
  int lvBkGrHathStyle = 100;
  int lvKodMainWinMax = 0;
  double ResCur = 80.0;  // dpi; stored in tenths of a dpi
  int CheckN = 2;
  int ScaleCur = 100;
  int KodAntialias = 3;
  bool JPG_Gray = false;
  bool JPG_Progress = true;
  int JPG_Quality = 90;
  int GIF_Colors = 64;
  int GIF_IndexGray = 0;
  bool GIF_Dither = false;
  bool GIF_Interlace = true;
  int GIF_Delay = 100;
  int PNG_TrueIndexGray = 0;
  int PNG_Colors = 64;
  bool PNG_Interlace = true;
  bool PNG_Dither = false;
  int TIF_TrueIndexGray = 0;
  int TIF_Colors = 64;
  bool TIF_Lzw = true;
  bool JPG_Default = true;
  bool GIF_Default = false;
  bool PNG_Default = false;
  bool BMP_Default = false;
  bool TIF_Default = false;
  bool SaveFile_Opt = true;
  bool StartFile_Opt = true;
  int KodEmailFormat = 1;

  // The resolution dialog's copies of ResCur, CheckN and ScaleCur. The load
  // sets them with the originals; the dialog takes fresh ones when it opens.
  double ResCurDlg = 80.0;
  int CheckNDlg = 2;
  int ScaleCurDlg = 100;

  // Run-time values, never loaded; "KodMultipageFormat" is stored by the
  // save commands but never read back.
  int DisplayResolution = 96;   // dpi, measured by the capture load
  int PrinterResolution = 300;  // dpi, the capture printer's print quality
  int KodMultipageFormat = 0;   // 0 series, 1 PDF, 2 multipage TIF, 3 animated GIF
  bool QuickStartReference = false;
};

// A consistent copy of the whole record.
Settings Snapshot();

// The start-up load from the user key, over the defaults; the run-time
// values are kept. Makes the key when it does not open. Always true.
bool LoadSettings();

// The registry name of a stored field; empty for the others. Defined for
// fields of type bool, int, Colorref and double.
template <typename T>
std::string_view ValueNameOf(T Settings::*field);

// Sets a stored field and writes its one value, e.g.
// Change(&Settings::JPG_Quality, 75). The field keeps the new value even
// when the write fails (the result says which). Fields that are not stored
// are left alone and the result is false.
template <typename T>
bool Change(T Settings::*field, std::type_identity_t<T> value);

// Several fields at once: `edit` runs under the lock, so no snapshot sees
// half of it; then every stored field named in `names` is written. True
// when every write succeeded.
bool ChangeAndStore(const std::function<void(Settings&)>& edit, std::initializer_list<std::string_view> names);

// Sets fields that are not stored (run-time values, dialog copies).
void Update(const std::function<void(Settings&)>& edit);

}  // namespace pw::settings
