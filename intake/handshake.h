#pragma once
// The program's side of the handshake with the Word macro: three values the
// macro leaves in the registry, or as lines of "lvPWMacro.ini", and the
// printer handshake file "lvPWPrnMacro.ini" naming the printer Word used.
#include <optional>
#include <string>
#include <string_view>

namespace pw::intake {

inline constexpr std::string_view kCaptureHandshakeFile = "lvPWMacro.ini";
inline constexpr std::string_view kPrinterHandshakeFile = "lvPWPrnMacro.ini";

// Fills the document name from "CurDocName", else line 1 of the capture
// handshake file; false when neither can be read.
bool ReadDocumentName();

// Fills the Word window title from "CurWordWinName", else line 2.
bool ReadWordWindowTitle();

// True when "CurWordKodClipbrd" (else line 3) is exactly "TRUE". A registry
// value is reset to "FALSE" once read, so the flag holds for one capture.
bool IsClipboardCapture();

// The same answer without resetting the flag: for reading the desktop's
// clipboard on the user-interface thread before the load decides.
bool PeekClipboardCapture();

// Where the printer handshake file is looked for.
std::string PrinterHandshakePath();

// Where the capture handshake file is read from: the local application-data
// folder when the file opens there, else the root of drive C.
std::string CaptureHandshakePath();

// The values kept by the last successful reads (empty at start).
std::string DocumentName();
std::string WordWindowTitle();

// Sets the document name when the pages come from files the user named,
// not from a handshake.
void SetDocumentName(std::string name);

// Reads the first `line_number` lines of a text file and gives the last of
// them without its line end, cut to 259 characters; an empty text when the
// file has fewer lines. Nothing when the file does not open.
std::optional<std::string> ReadHandshakeLine(const std::string& path, int line_number);

}  // namespace pw::intake
