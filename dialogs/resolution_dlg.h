#pragma once
// lvResolutionDlg: the modal "Image Resolution and Dimension" dialog
// (template 140), a thin window over ResolutionModel. OK hands the working
// choice, resolution and scale to the caller; Cancel drops them.
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "dialogs/resolution_model.h"
#include "dialogs/up_down.h"

namespace pw::dialogs {

class lvResolutionDlg final : public QDialog {
 public:
  lvResolutionDlg(QWidget* parent, const ResolutionInputs& inputs);

  const ResolutionModel& model() const { return model_; }
  settings::ResolutionResult result() const { return model_.Result(); }

  QLineEdit& edit(int id) { return *edits_.at(id); }
  UpDown& upDown(int id) { return *up_downs_.at(id); }
  QRadioButton& radio(int choice) { return *radios_.at(static_cast<std::size_t>(choice)); }
  QPushButton& okButton() { return ok_; }
  QPushButton& cancelButton() { return cancel_; }
  QPushButton& helpButton() { return help_; }

 private:
  QLineEdit& addEdit(int id, int x, int y, int w, int h, bool centred);
  void addUpDown(int id, int buddy, int x, int y, int w, int h);
  void addLabel(const QString& text, int x, int y);
  // Shows the model's texts, selection and enabled states.
  void syncFromModel();

  ResolutionModel model_;
  QPushButton ok_{QStringLiteral("OK"), this};
  QPushButton cancel_{QStringLiteral("Cancel"), this};
  QPushButton help_{QStringLiteral("Help"), this};
  QGroupBox resolution_group_{QStringLiteral("Resolution"), this};
  QGroupBox dimension_group_{QStringLiteral("Dimension, width x height"), this};
  std::vector<std::unique_ptr<QRadioButton>> radios_;
  std::map<int, std::unique_ptr<QLineEdit>> edits_;
  std::map<int, std::unique_ptr<UpDown>> up_downs_;
  std::vector<std::unique_ptr<QLabel>> labels_;
};

// The dialog's inputs from the settings, the current resolution and the
// size of the last rendered page (A4 before any page was rendered).
ResolutionInputs CurrentResolutionInputs();

// Runs the dialog modally over the current settings; the results on OK.
std::optional<settings::ResolutionResult> RunResolutionDialog(QWidget* parent);

}  // namespace pw::dialogs
