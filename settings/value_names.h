#pragma once
// Names of the values under the user key that are read or written on
// demand rather than loaded into the settings record, and of the machine
// key's values.
#include <string_view>

namespace pw::settings {

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

// The machine key's install folder, without a trailing separator.
inline constexpr std::string_view kInstallPath = "InstallPath";

}  // namespace pw::settings
