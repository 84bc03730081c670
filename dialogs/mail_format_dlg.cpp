#include "dialogs/mail_format_dlg.h"

#include "dialogs/dialog_units.h"
#include "res/resources.h"

namespace pw::dialogs {

MailFormatStart MailFormatStartFrom(int stored_format) {
  const int format = stored_format <= 0 ? 1 : stored_format;
  return {format, format <= kMailFormatCount ? format - 1 : -1};
}

lvDlgSelectFormatForMail::lvDlgSelectFormatForMail(QWidget* parent, int stored_format, bool save_file_opt)
    : QDialog(parent), format_(MailFormatStartFrom(stored_format).format) {
  setWindowTitle(QStringLiteral("Tavrin Pagewick"));
  setWindowIcon(res::MainIcon());
  setFont(TemplateFont());
  setFixedSize(DluSize(186, 95));
  setModal(true);
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

  ok_.setGeometry(DluRect(73, 74, 50, 14));
  ok_.setDefault(true);
  cancel_.setGeometry(DluRect(129, 74, 50, 14));
  cancel_.setAutoDefault(false);
  connect(&ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(&cancel_, &QPushButton::clicked, this, &QDialog::reject);

  label_.setGeometry(DluRect(7, 7, 75, 8));
  options_.setGeometry(DluRect(7, 42, 63, 10));
  options_.setChecked(save_file_opt);

  // A closed drop-down list is one line high; the template's height is the
  // opened list's.
  const QRect list = DluRect(7, 16, 172, 92);
  formats_.setGeometry(list.x(), list.y(), list.width(), formats_.sizeHint().height());
  formats_.setProperty("controlId", 1029);
  options_.setProperty("controlId", 1006);
  formats_.addItems({QStringLiteral("JPG (JPEG file interchange format)"),
                     QStringLiteral("GIF (Graphics Interchange Format)"),
                     QStringLiteral("PNG (Portable Network Graphics)"),
                     QStringLiteral("BMP (Windows Bitmap)"),
                     QStringLiteral("TIF (TIFF Tagged Image File Format)"),
                     QStringLiteral("Multipage: PDF (Portable Document Format)")});
  formats_.setCurrentIndex(MailFormatStartFrom(stored_format).row);
  // A stored number past the list selects nothing; OK waits for a choice so
  // that the command is never handed a format it cannot write.
  ok_.setEnabled(formats_.currentIndex() >= 0);
  connect(&formats_, &QComboBox::currentIndexChanged, this, [this](int row) {
    if (row < 0) return;
    format_ = row + 1;
    ok_.setEnabled(true);
  });
}

std::optional<output::MailFormatChoice> RunMailFormatDialog(QWidget* parent, int stored_format, bool save_file_opt) {
  lvDlgSelectFormatForMail dialog(parent, stored_format, save_file_opt);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.choice();
}

}  // namespace pw::dialogs
