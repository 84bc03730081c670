#include "dialogs/start_help.h"

#include "dialogs/dialog_units.h"
#include "dialogs/tips.h"
#include "res/resource_ids.h"
#include "settings/settings_store.h"
#include "settings/value_names.h"

#include <QCheckBox>
#include <QPainter>
#include <QPushButton>

#include <cstdint>

namespace pw::dialogs {
namespace {

// COLORREF 0x00BBGGRR values of the dialog's drawing.
const QColor kPanelFill(0xE0, 0xE0, 0xF8);    // 0x00F8E0E0
const QColor kDarkBorder(0x71, 0x6D, 0xB9);   // 0x00B96D71
const QColor kHeadingText(0xFF, 0x00, 0xAF);  // 0x00AF00FF
const QColor kTipText(0x00, 0x00, 0xAF);      // 0x00AF0000

}  // namespace

lvStartHelp::lvStartHelp(QWidget* parent, std::optional<QFont> tip_font)
    : QDialog(parent), tip_font_(std::move(tip_font)) {
  setWindowTitle(QStringLiteral("Tip of the Day"));
  setFont(TemplateFont());
  setFixedSize(DluSize(228, 154));
  setModal(true);

  close_button_.setGeometry(DluRect(170, 133, 50, 14));
  close_button_.setDefault(true);
  close_button_.setProperty("controlId", static_cast<int>(res::DialogCommand::Ok));

  next_button_.setGeometry(DluRect(113, 133, 50, 14));
  next_button_.setAutoDefault(false);
  next_button_.setProperty("controlId", res::kTipNextButton);

  show_box_.setGeometry(DluRect(7, 137, 89, 10));
  show_box_.setProperty("controlId", res::kTipShowAtStartupCheck);

  connect(&close_button_, &QPushButton::clicked, this, &lvStartHelp::onClose);
  connect(&next_button_, &QPushButton::clicked, this, &lvStartHelp::onNextTip);

  tip_number_ = settings::ReadUserDword(settings::kNumTipOfTheDay);
  exchangeData(true);
}

int lvStartHelp::shownTip() const { return TipToShow(tip_number_); }

void lvStartHelp::advanceTip() {
  tip_number_ = NextTipNumber(tip_number_);
  settings::WriteUserDword(settings::kNumTipOfTheDay, static_cast<std::uint32_t>(tip_number_));
}

void lvStartHelp::onNextTip() {
  advanceTip();
  update();
}

void lvStartHelp::onClose() {
  advanceTip();
  exchangeData(false);
  accept();
}

void lvStartHelp::exchangeData(bool toward_box) {
  if (toward_box) {
    show_box_.setChecked(show_at_startup_ != 0);
  } else {
    show_at_startup_ = show_box_.isChecked() ? 1 : 0;
  }
}

void lvStartHelp::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const QRect client = rect();
  // Inclusive-exclusive edges as the desktop's rectangles are.
  QRect text_area(QPoint(client.left() + 15, client.top() + 15),
                  QPoint(client.right() + 1 - 15 - 1, client.bottom() + 1 - 50 - 1));

  const QRect panel = text_area.adjusted(-4, -4, 4, 4);
  painter.fillRect(panel, kPanelFill);
  painter.setPen(kDarkBorder);
  painter.drawRect(panel.adjusted(0, 0, -1, -1));
  painter.setPen(Qt::white);
  painter.drawRect(text_area.adjusted(-3, -3, 2, 2));

  painter.setPen(kHeadingText);
  painter.drawText(text_area, Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Did you know..."));

  if (tip_font_) painter.setFont(*tip_font_);
  text_area.setTop(text_area.top() + 23);
  painter.setPen(kTipText);
  const std::string_view tip = TipTexts()[static_cast<std::size_t>(shownTip())];
  painter.drawText(text_area, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                   QString::fromLatin1(tip.data(), static_cast<qsizetype>(tip.size())));
}

}  // namespace pw::dialogs
