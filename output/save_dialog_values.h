#pragma once
// What the save commands ask of the save dialogs and what the dialogs give
// back, as plain values: the commands run under tests with a scripted host,
// the window shows the real dialogs (dialogs/) through the same values.
#include <string>
#include <vector>

namespace pw::output {

// The three save-file dialogs: the plain one of "Save to...", `lvFileDlg`
// with "Invoke Image Options" (the series save) and `lvFileDlgPlus` with
// "Start file after creation" as well (the PDF and gallery saves).
enum class SaveDialogKind { Plain, ImageOptions, ImageOptionsAndStart };

struct FileFilter {
  std::string description;  // "PNG (Portable Network Graphics)"
  std::string pattern;      // "*.png"
};

struct SaveDialogRequest {
  SaveDialogKind kind = SaveDialogKind::Plain;
  std::vector<FileFilter> filters;
  int filter_index = 1;           // 1-based: the filter preselected
  std::string initial_folder;     // "SavePath"
  std::string file_name;          // the document name up to its first "."
  bool overwrite_prompt = false;  // the dialog itself asks before replacing
  // The check boxes' starting states (the commands' dialog copies).
  bool save_file_opt = false;   // "Invoke Image Options"
  bool start_file_opt = false;  // "Start file after creation"
};

// A confirmed dialog. A cancelled one gives no result.
struct SaveDialogResult {
  std::string path;      // the chosen path name, absolute
  int filter_index = 1;  // 1-based: the filter chosen
  // The check boxes' final states; the ones a dialog does not show keep
  // their starting states.
  bool save_file_opt = false;
  bool start_file_opt = false;
};

// The e-mail format dialog's answer after OK.
struct MailFormatChoice {
  int format = 1;  // 1 JPG, 2 GIF, 3 PNG, 4 BMP, 5 TIF, 6 PDF
  bool save_file_opt = false;  // "Image Options"
};

}  // namespace pw::output
