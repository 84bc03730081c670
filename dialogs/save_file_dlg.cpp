#include "dialogs/save_file_dlg.h"

#include <QComboBox>
#include <QGridLayout>

#include <memory>

#include "dialogs/option_box_placement.h"
#include "dialogs/save_dialog_choice.h"

namespace pw::dialogs {

SaveFileDialog::SaveFileDialog(QWidget* parent, const output::SaveDialogRequest& request)
    : QFileDialog(parent), request_(request), filters_(NameFilters(request.filters)) {
  setOption(QFileDialog::DontUseNativeDialog);
  setAcceptMode(QFileDialog::AcceptSave);
  setFileMode(QFileDialog::AnyFile);
  setOption(QFileDialog::DontConfirmOverwrite, !request.overwrite_prompt);
  setNameFilters(filters_);
  if (!filters_.isEmpty()) {
    selectNameFilter(filters_.at(PreselectedFilter(request.filter_index, static_cast<int>(filters_.size()))));
  }
  if (!request.initial_folder.empty()) setDirectory(QString::fromStdString(request.initial_folder));
  selectFile(QString::fromStdString(request.file_name));
}

output::SaveDialogResult SaveFileDialog::result() const {
  const QStringList chosen = selectedFiles();
  return SaveResultFrom(chosen.isEmpty() ? QString() : chosen.front(), selectedNameFilter(), filters_,
                        request_.save_file_opt, request_.start_file_opt);
}

lvFileDlg::lvFileDlg(QWidget* parent, const output::SaveDialogRequest& request)
    : lvFileDlg(parent, request, 30) {}

lvFileDlg::lvFileDlg(QWidget* parent, const output::SaveDialogRequest& request, int grow)
    : SaveFileDialog(parent, request), grow_(grow) {
  // The strip for the boxes: an empty last row of the dialog's grid, below
  // the file-type list's row.
  if (auto* grid = qobject_cast<QGridLayout*>(layout())) grid->setRowMinimumHeight(grid->rowCount(), grow);
  setUpBox(image_options_, request.save_file_opt);
}

void lvFileDlg::setUpBox(QCheckBox& box, bool checked) {
  box.setGeometry(10, 10, 200, 40);
  box.setFont(font());
  box.setChecked(checked);
}

output::SaveDialogResult lvFileDlg::result() const {
  output::SaveDialogResult r = SaveFileDialog::result();
  r.save_file_opt = image_options_.isChecked();
  return r;
}

void lvFileDlg::showEvent(QShowEvent* event) {
  SaveFileDialog::showEvent(event);
  // The dialog grows by the strip once it is laid out, so its list keeps
  // the height the dialog chose for it.
  if (!grown_) {
    grown_ = true;
    resize(width(), height() + grow_);
  }
}

void lvFileDlg::resizeEvent(QResizeEvent* event) {
  SaveFileDialog::resizeEvent(event);
  if (CountSizeChange(sizeChanges())) placeBoxes();
}

int& lvFileDlg::sizeChanges() const {
  static int count = 0;
  return count;
}

QRect lvFileDlg::typeListRect() const {
  const auto* list = findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
  if (list == nullptr) return {};
  return QRect(list->mapTo(this, QPoint(0, 0)), list->size());
}

void lvFileDlg::placeBoxes() {
  image_options_.setGeometry(PlaceOptionBoxes(typeListRect(), height(), false).image_options);
}

lvFileDlgPlus::lvFileDlgPlus(QWidget* parent, const output::SaveDialogRequest& request)
    : lvFileDlg(parent, request, 40) {
  setUpBox(start_file_, request.start_file_opt);
}

output::SaveDialogResult lvFileDlgPlus::result() const {
  output::SaveDialogResult r = lvFileDlg::result();
  r.start_file_opt = start_file_.isChecked();
  return r;
}

int& lvFileDlgPlus::sizeChanges() const {
  static int count = 0;
  return count;
}

void lvFileDlgPlus::placeBoxes() {
  const OptionBoxRects rects = PlaceOptionBoxes(typeListRect(), height(), true);
  imageOptionsBox().setGeometry(rects.image_options);
  start_file_.setGeometry(rects.start_file);
}

std::optional<output::SaveDialogResult> RunSaveDialog(QWidget* parent, const output::SaveDialogRequest& request) {
  std::unique_ptr<SaveFileDialog> dialog;
  switch (request.kind) {
    case output::SaveDialogKind::Plain:
      dialog = std::make_unique<SaveFileDialog>(parent, request);
      break;
    case output::SaveDialogKind::ImageOptions:
      dialog = std::make_unique<lvFileDlg>(parent, request);
      break;
    case output::SaveDialogKind::ImageOptionsAndStart:
      dialog = std::make_unique<lvFileDlgPlus>(parent, request);
      break;
  }
  if (dialog->exec() != QDialog::Accepted) return std::nullopt;
  return dialog->result();
}

}  // namespace pw::dialogs
