#pragma once
// The image format sheets: a tab per format page over FormatSheetModel.
// The full sheet ("Image Format and Quality") shows the six pages JPG ...
// Multipaged PDF and a Help button, and makes the page showing at OK the
// output format; the single-format and the extra sheets ("Image Format
// Options") show one page.
#include <QDialog>
#include <QPushButton>
#include <QTabWidget>

#include <QLineEdit>

#include <memory>
#include <optional>
#include <vector>

#include "dialogs/format_sheet_model.h"
#include "dialogs/up_down_state.h"

namespace pw::dialogs {

class FormatSheet final : public QDialog {
 public:
  // The full sheet when `pages` holds the six pages in order.
  FormatSheet(QWidget* parent, const QString& caption, std::vector<FormatPage> pages,
              settings::ImageFormatValues values, bool with_help);

  const FormatSheetModel& model() const { return model_; }

  // Shows the page (when the sheet has it).
  void showPage(FormatPage page);
  std::optional<FormatPage> currentPage() const;

  // A control of a page by its identifier (nullptr when there is none).
  QWidget* control(FormatPage page, int id) const;
  QWidget* pageWidget(FormatPage page) const;

  QTabWidget& tabs() { return tabs_; }
  QPushButton& okButton() { return ok_; }
  QPushButton& cancelButton() { return cancel_; }
  QPushButton& helpButton() { return help_; }

 private:
  // Makes a control of a page; the sheet keeps it.
  template <typename W, typename... Args>
  W& add(QWidget& page, int id, int x, int y, int w, int h, Args&&... args);
  QWidget& buildPage(FormatPage page);
  void buildJpg(QWidget& page);
  void buildGif(QWidget& page);
  void buildPng(QWidget& page);
  void buildTif(QWidget& page);
  void buildAnimatedGif(QWidget& page);
  void buildPdf(QWidget& page);
  // The colour count's slider and read-only edit, over `colors`.
  void addColorSlider(QWidget& page, int& colors, int edit_x, int slider_x, int slider_w);
  // Enables PNG's and TIF's colour controls by their colour type.
  void syncColorControls();
  void onPageShown(int index);
  void onOk();

  FormatSheetModel model_;
  std::vector<FormatPage> pages_;
  std::vector<bool> opened_;
  bool full_;
  UpDownState delay_up_down_{0, kMaxAnimationDelay, 0};
  QTabWidget tabs_{this};
  QPushButton ok_{QStringLiteral("OK"), this};
  QPushButton cancel_{QStringLiteral("Cancel"), this};
  QPushButton help_{QStringLiteral("Help"), this};
  // Pages, then their controls, so that controls go first.
  std::vector<std::unique_ptr<QWidget>> page_widgets_;
  std::vector<std::unique_ptr<QWidget>> controls_;
};

// The full sheet over the working values, starting on their output
// format's page; true after OK, with the values as the user left them.
bool RunFullFormatSheet(QWidget* parent, settings::ImageFormatValues& values);

// The single-format sheet for the current output format (nothing for BMP):
// after OK it stores that format's values. True after OK; the caller
// renders the current page again.
bool RunSingleFormatSheet(QWidget* parent);

// The extra sheet: kind 1 the Animated GIF page (stores "GIF_Delay" after
// OK), kind 2 the Multipaged PDF page (stores "PDF_Bitmp_Format"). True
// after OK.
bool RunExtraFormatSheet(QWidget* parent, int kind);

}  // namespace pw::dialogs
