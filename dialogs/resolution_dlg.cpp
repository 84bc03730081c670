#include "dialogs/resolution_dlg.h"

#include <QRegularExpressionValidator>

#include "dialogs/dialog_units.h"
#include "dialogs/help.h"
#include "render/current_settings.h"
#include "render/render_outputs.h"
#include "res/resources.h"
#include "settings/settings_record.h"

namespace pw::dialogs {

lvResolutionDlg::lvResolutionDlg(QWidget* parent, const ResolutionInputs& inputs)
    : QDialog(parent), model_(inputs) {
  setWindowTitle(QStringLiteral("Image Resolution and Dimension"));
  setWindowIcon(res::MainIcon());
  setFont(TemplateFont());
  setFixedSize(DluSize(186, 174));
  setModal(true);
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

  ok_.setGeometry(DluRect(7, 153, 50, 14));
  ok_.setDefault(true);
  cancel_.setGeometry(DluRect(61, 153, 50, 14));
  help_.setGeometry(DluRect(129, 153, 50, 14));
  for (QPushButton* button : {&cancel_, &help_}) button->setAutoDefault(false);
  connect(&ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(&cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(&help_, &QPushButton::clicked, this, [] { ShowHelp(kResolutionHelpTopic); });

  resolution_group_.setGeometry(DluRect(7, 7, 172, 57));
  dimension_group_.setGeometry(DluRect(7, 68, 172, 79));

  const struct {
    const char* text;
    int id, x, y, w, h;
  } radios[] = {{"Display", kResDisplayRadio, 14, 18, 39, 10},
                {"Printer", kResPrinterRadio, 14, 32, 36, 10},
                {"User-defined", kResUserRadio, 14, 47, 56, 10}};
  for (int choice = 0; choice < 3; ++choice) {
    const auto& r = radios[choice];
    auto& radio = radios_.emplace_back(std::make_unique<QRadioButton>(QString::fromLatin1(r.text), this));
    radio->setGeometry(DluRect(r.x, r.y, r.w, r.h));
    radio->setAutoExclusive(false);
    radio->setProperty("controlId", r.id);
    connect(radio.get(), &QRadioButton::clicked, this, [this, choice] {
      model_.ClickRadio(choice);
      syncFromModel();
    });
  }

  addEdit(kResDisplayEdit, 77, 19, 25, 12, false).setReadOnly(true);
  addEdit(kResPrinterEdit, 77, 32, 28, 12, false).setReadOnly(true);
  QLineEdit& user = addEdit(kResUserEdit, 76, 44, 28, 12, false);
  user.setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), &user));
  addUpDown(kResUserUpDown, kResUserEdit, 103, 44, 9, 12);
  for (int y : {20, 33, 46}) addLabel(QStringLiteral("Pixels/Inch"), 120, y);

  addLabel(QStringLiteral("Size, mm:"), 13, 83);
  addLabel(QStringLiteral("Size, pixels:"), 13, 100);
  addLabel(QStringLiteral("Scale, %:"), 13, 126);
  addEdit(kResWidthMmEdit, 63, 81, 30, 12, true);
  addUpDown(kResWidthMmUpDown, kResWidthMmEdit, 93, 81, 9, 12);
  addEdit(kResHeightMmEdit, 114, 81, 30, 12, true);
  addUpDown(kResHeightMmUpDown, kResHeightMmEdit, 143, 81, 11, 12);
  addEdit(kResWidthPxEdit, 63, 99, 30, 12, true);
  addUpDown(kResWidthPxUpDown, kResWidthPxEdit, 93, 99, 9, 12);
  addEdit(kResHeightPxEdit, 114, 99, 30, 12, true);
  addUpDown(kResHeightPxUpDown, kResHeightPxEdit, 143, 99, 11, 12);
  addEdit(kResScaleEdit, 63, 124, 30, 12, true);
  addUpDown(kResScaleUpDown, kResScaleEdit, 93, 124, 9, 12);
  addLabel(QStringLiteral("x"), 105, 83);
  addLabel(QStringLiteral("x"), 105, 101);

  syncFromModel();
}

QLineEdit& lvResolutionDlg::addEdit(int id, int x, int y, int w, int h, bool centred) {
  auto& edit = edits_[id] = std::make_unique<QLineEdit>(this);
  edit->setGeometry(DluRect(x, y, w, h));
  edit->setProperty("controlId", id);
  if (centred) edit->setAlignment(Qt::AlignCenter);
  connect(edit.get(), &QLineEdit::textEdited, this, [this, id](const QString& text) {
    model_.Type(id, text.toStdString());
    syncFromModel();
  });
  return *edit;
}

void lvResolutionDlg::addUpDown(int id, int buddy, int x, int y, int w, int h) {
  auto& up_down = up_downs_[id] = std::make_unique<UpDown>(*edits_.at(buddy), this);
  up_down->setGeometry(DluRect(x, y, w, h));
  up_down->setProperty("controlId", id);
  up_down->setOnStep([this, id](int delta) {
    model_.Step(id, delta);
    syncFromModel();
  });
}

void lvResolutionDlg::addLabel(const QString& text, int x, int y) {
  auto& label = labels_.emplace_back(std::make_unique<QLabel>(text, this));
  label->move(DluToPixelsX(x), DluToPixelsY(y));
  label->adjustSize();
}

void lvResolutionDlg::syncFromModel() {
  for (auto& [id, edit] : edits_) {
    const QString text = QString::fromStdString(model_.Text(id));
    if (edit->text() != text) edit->setText(text);
  }
  for (int choice = 0; choice < 3; ++choice) radio(choice).setChecked(model_.SelectedRadio() == choice);
  const bool user = model_.UserDefinedEnabled();
  edit(kResUserEdit).setEnabled(user);
  upDown(kResUserUpDown).setEnabled(user);
}

ResolutionInputs CurrentResolutionInputs() {
  const settings::Settings s = settings::Snapshot();
  ResolutionInputs in;
  in.choice = s.CheckN;
  in.custom_resolution = s.ResCur;
  in.scale = s.ScaleCur;
  in.current_resolution = render::CurrentResolution(render::ResolutionChoiceFrom(s));
  in.display_dpi = s.DisplayResolution;
  in.printer_dpi = s.PrinterResolution;
  if (const std::optional<render::PageSizeMm> page = render::LastPageSizeMm()) {
    in.width_mm = page->width;
    in.height_mm = page->height;
  }
  return in;
}

std::optional<settings::ResolutionResult> RunResolutionDialog(QWidget* parent) {
  lvResolutionDlg dialog(parent, CurrentResolutionInputs());
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.result();
}

}  // namespace pw::dialogs
