#pragma once
// The names of the program's registry values: the one place they are
// spelled. Names compare without regard to case, as the registry's do.
#include <string_view>

#include "platform/registry/machine_key.h"

namespace pw::settings {

// The values of the user key loaded into the settings record, in load order.
inline constexpr std::string_view kKodPreset = "lvKodPreset";
inline constexpr std::string_view kIncludeDateTime = "lvIncludeDateTime";
inline constexpr std::string_view kSharpen = "lvSharpen";
inline constexpr std::string_view kCurBkGrColor = "lvCurBkGrColor";
inline constexpr std::string_view kHatchColor = "lvHatchColor";
inline constexpr std::string_view kHatchWidth = "lvHatchWidth";
inline constexpr std::string_view kHatchDepress = "lvHatchDepress";
inline constexpr std::string_view kHatchAngle = "lvHatchAngle";
inline constexpr std::string_view kHatchLnHor = "lvHatchLnHor";
inline constexpr std::string_view kHatchLnVert = "lvHatchLnVert";
inline constexpr std::string_view kBkGrHathStyle = "lvBkGrHathStyle";
inline constexpr std::string_view kKodMainWinMax = "lvKodMainWinMax";
inline constexpr std::string_view kResCur = "ResCur";
inline constexpr std::string_view kCheckN = "CheckN";
inline constexpr std::string_view kScaleCur = "ScaleCur";
inline constexpr std::string_view kKodAntialias = "KodAntialias";
inline constexpr std::string_view kJpgGray = "JPG_Gray";
inline constexpr std::string_view kJpgProgress = "JPG_Progress";
inline constexpr std::string_view kJpgQuality = "JPG_Quality";
inline constexpr std::string_view kGifColors = "GIF_Colors";
inline constexpr std::string_view kGifIndexGray = "GIF_IndexGray";
inline constexpr std::string_view kGifDither = "GIF_Dither";
inline constexpr std::string_view kGifInterlace = "GIF_Interlace";
inline constexpr std::string_view kGifDelay = "GIF_Delay";
inline constexpr std::string_view kPngTrueIndexGray = "PNG_TrueIndexGray";
inline constexpr std::string_view kPngColors = "PNG_Colors";
inline constexpr std::string_view kPngInterlace = "PNG_Interlace";
inline constexpr std::string_view kPngDither = "PNG_Dither";
inline constexpr std::string_view kTifTrueIndexGray = "TIF_TrueIndexGray";
inline constexpr std::string_view kTifColors = "TIF_Colors";
inline constexpr std::string_view kTifLzw = "TIF_Lzw";
inline constexpr std::string_view kJpgDefault = "JPG_Default";
inline constexpr std::string_view kGifDefault = "GIF_Default";
inline constexpr std::string_view kPngDefault = "PNG_Default";
inline constexpr std::string_view kBmpDefault = "BMP_Default";
inline constexpr std::string_view kTifDefault = "TIF_Default";
inline constexpr std::string_view kSaveFileOpt = "SaveFile_Opt";
inline constexpr std::string_view kStartFileOpt = "StartFile_Opt";
inline constexpr std::string_view kKodEmailFormat = "KodEmailFormat";

// Values of the user key read or written on demand.

// Main window edges in screen pixels when it last closed not maximized.
inline constexpr std::string_view kWinLeft = "lvWinLeft";
inline constexpr std::string_view kWinTop = "lvWinTop";
inline constexpr std::string_view kWinRight = "lvWinRight";
inline constexpr std::string_view kWinBottom = "lvWinBottom";

inline constexpr std::string_view kStartHelpCheck = "lvStartHelpCheck";  // 1: no tip of the day
inline constexpr std::string_view kNumTipOfTheDay = "lvNumTipOfTheDay";

inline constexpr std::string_view kPdfBitmpFormat = "PDF_Bitmp_Format";  // text
inline constexpr std::string_view kSavePath = "SavePath";                 // text
inline constexpr std::string_view kKodMultipageFormat = "KodMultipageFormat";
inline constexpr std::string_view kLastSplFileTime = "LastSplFileTime";

// Written by the Word macro (texts).
inline constexpr std::string_view kCurSplTimeInfo1 = "CurSPLTimeInfo1";
inline constexpr std::string_view kCurSplTimeInfo2 = "CurSPLTimeInfo2";
inline constexpr std::string_view kCurDocName = "CurDocName";
inline constexpr std::string_view kCurWordWinName = "CurWordWinName";
inline constexpr std::string_view kCurWordKodClipbrd = "CurWordKodClipbrd";

// The machine key's install folder, without a trailing separator. Spelled
// in the registry layer, which seeds it at first start.
inline constexpr std::string_view kInstallPath = registry::kInstallPathValue;

}  // namespace pw::settings
