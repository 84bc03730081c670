#pragma once
// The save-file dialogs of the save commands, on Qt's own (non-native) file
// dialog so that the program's check boxes can sit in a strip below the
// file-type list:
//   SaveFileDialog  the plain dialog of "Save to...": no check boxes
//   lvFileDlg       plus "Invoke Image Options" (the series save)
//   lvFileDlgPlus   plus "Start file after creation" (the PDF and HTML saves)
// The boxes start from the request; their final states are part of the
// result of a confirmed dialog only, so a cancelled one changes nothing.
#include <QCheckBox>
#include <QFileDialog>
#include <QStringList>

#include <optional>

#include "output/save_dialog_values.h"

namespace pw::dialogs {

class SaveFileDialog : public QFileDialog {
 public:
  SaveFileDialog(QWidget* parent, const output::SaveDialogRequest& request);

  // The answer once the dialog was accepted.
  virtual output::SaveDialogResult result() const;

 protected:
  const output::SaveDialogRequest& request() const { return request_; }

 private:
  output::SaveDialogRequest request_;
  QStringList filters_;
};

class lvFileDlg : public SaveFileDialog {
 public:
  lvFileDlg(QWidget* parent, const output::SaveDialogRequest& request);

  QCheckBox& imageOptionsBox() { return image_options_; }
  output::SaveDialogResult result() const override;

 protected:
  // grow: the height of the strip the boxes get below the file-type list.
  lvFileDlg(QWidget* parent, const output::SaveDialogRequest& request, int grow);

  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

  // The class's count of size changes, kept for the program's life.
  virtual int& sizeChanges() const;
  virtual void placeBoxes();
  // The file-type list's rectangle in the dialog's coordinates.
  QRect typeListRect() const;
  void setUpBox(QCheckBox& box, bool checked);

 private:
  int grow_;
  bool grown_ = false;
  QCheckBox image_options_{QStringLiteral("Invoke Image Options"), this};
};

class lvFileDlgPlus final : public lvFileDlg {
 public:
  lvFileDlgPlus(QWidget* parent, const output::SaveDialogRequest& request);

  QCheckBox& startFileBox() { return start_file_; }
  output::SaveDialogResult result() const override;

 protected:
  int& sizeChanges() const override;
  void placeBoxes() override;

 private:
  QCheckBox start_file_{QStringLiteral("Start file after creation"), this};
};

// Runs the dialog of the request's kind modally; the answer after the user
// confirmed a file name, nothing after Cancel.
std::optional<output::SaveDialogResult> RunSaveDialog(QWidget* parent, const output::SaveDialogRequest& request);

}  // namespace pw::dialogs
