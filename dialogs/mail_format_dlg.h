#pragma once
// lvDlgSelectFormatForMail: the modal e-mail format dialog (template 171).
// The user picks the format the pages are mailed in and whether the image
// options follow; OK hands both to the e-mail command, Cancel nothing.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include <optional>

#include "output/save_dialog_values.h"

namespace pw::dialogs {

inline constexpr int kMailFormatCount = 6;  // 1 JPG … 5 TIF, 6 PDF

// The dialog's starting choice from the stored "KodEmailFormat": a value of
// 0 or less means JPG; a value past the list keeps its number and selects
// no entry (row -1).
struct MailFormatStart {
  int format;
  int row;
};
MailFormatStart MailFormatStartFrom(int stored_format);

class lvDlgSelectFormatForMail final : public QDialog {
 public:
  lvDlgSelectFormatForMail(QWidget* parent, int stored_format, bool save_file_opt);

  // The choice (the selected entry's index + 1) and the check box's state.
  output::MailFormatChoice choice() const { return {format_, options_.isChecked()}; }

  QComboBox& formatList() { return formats_; }
  QCheckBox& imageOptionsBox() { return options_; }
  QPushButton& okButton() { return ok_; }
  QPushButton& cancelButton() { return cancel_; }

 private:
  int format_;
  QPushButton ok_{QStringLiteral("OK"), this};
  QPushButton cancel_{QStringLiteral("Cancel"), this};
  QComboBox formats_{this};
  QLabel label_{QStringLiteral("Select inside format:"), this};
  QCheckBox options_{QStringLiteral("Image Options"), this};
};

// Runs the dialog modally; the choice after OK, nothing after Cancel.
std::optional<output::MailFormatChoice> RunMailFormatDialog(QWidget* parent, int stored_format, bool save_file_opt);

}  // namespace pw::dialogs
