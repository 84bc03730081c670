// The save-file dialogs: filter texts and the answer made from the user's
// choice, where the check boxes go, and the dialogs themselves driven
// offscreen (boxes, Cancel, preselected filter, typed names, the overwrite
// question of the plain dialog).
#include "dialogs/save_file_dlg.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <fstream>
#include <functional>

#include <gtest/gtest.h>

#include "dialogs/option_box_placement.h"
#include "dialogs/save_dialog_choice.h"
#include "tests/support/test_home.h"

namespace pw::dialogs {
namespace {

using output::SaveDialogKind;
using output::SaveDialogRequest;

const std::vector<output::FileFilter> kImageFilters{
    {"JPG (JPEG file interchange format)", "*.jpg"}, {"GIF (Graphics Interchange Format)", "*.gif"},
    {"PNG (Portable Network Graphics)", "*.png"},    {"BMP (Windows Bitmap)", "*.bmp"},
    {"TIF (TIFF Tagged Image File Format)", "*.tif"}};

SaveDialogRequest Request(SaveDialogKind kind) {
  SaveDialogRequest r;
  r.kind = kind;
  r.filters = kImageFilters;
  r.filter_index = 1;
  r.initial_folder = test::TempDir().string();
  r.file_name = "Minutes";
  return r;
}

TEST(SaveDialogChoice, FiltersListTheirPatternAndTheAnswerNamesTheChosenOne) {
  const QStringList texts = NameFilters(kImageFilters);
  ASSERT_EQ(texts.size(), 5);
  EXPECT_EQ(texts[0], "JPG (JPEG file interchange format) (*.jpg)");
  EXPECT_EQ(texts[4], "TIF (TIFF Tagged Image File Format) (*.tif)");

  EXPECT_EQ(PreselectedFilter(3, 5), 2);
  EXPECT_EQ(PreselectedFilter(5, 5), 4);
  EXPECT_EQ(PreselectedFilter(0, 5), 0);
  EXPECT_EQ(PreselectedFilter(5, 4), 0);

  const output::SaveDialogResult r = SaveResultFrom("/home/u/out/report", texts[3], texts, true, false);
  EXPECT_EQ(r.path, "/home/u/out/report");
  EXPECT_EQ(r.filter_index, 4);
  EXPECT_TRUE(r.save_file_opt);
  EXPECT_FALSE(r.start_file_opt);
  EXPECT_EQ(SaveResultFrom("/x", "All files (*)", texts, false, true).filter_index, 1);
}

TEST(OptionBoxPlacement, BoxesFillTheStripBelowTheTypeList) {
  const QRect list(100, 300, 250, 24);  // bottom edge at 324
  const OptionBoxRects one = PlaceOptionBoxes(list, 370, false);
  EXPECT_EQ(one.image_options, QRect(100, 324, 200, 46));

  const OptionBoxRects two = PlaceOptionBoxes(list, 370, true);  // middle 347
  EXPECT_EQ(two.image_options, QRect(100, 326, 200, 21));
  EXPECT_EQ(two.start_file, QRect(100, 345, 200, 23));  // ends 2 above the bottom

  int counter = 0;
  EXPECT_FALSE(CountSizeChange(counter));
  EXPECT_TRUE(CountSizeChange(counter));
  EXPECT_TRUE(CountSizeChange(counter));
  EXPECT_EQ(counter, 3);
}

// Runs the request's dialog with `drive` acting on it once it shows.
std::optional<output::SaveDialogResult> RunDriven(const SaveDialogRequest& request,
                                                  std::function<void(SaveFileDialog&)> drive) {
  bool driven = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = dynamic_cast<SaveFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    driven = true;
    drive(*dialog);
  });
  std::optional<output::SaveDialogResult> result = RunSaveDialog(nullptr, request);
  EXPECT_TRUE(driven);
  return result;
}

void TypeAndAccept(SaveFileDialog& dialog, const QString& name) {
  auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  ASSERT_NE(edit, nullptr);
  edit->setText(name);
  QTest::keyClick(edit, Qt::Key_Return);
}

TEST(SaveFileDialogs, BoxesStartFromTheRequestAndCancelAfterAChangeGivesNothing) {
  SaveDialogRequest request = Request(SaveDialogKind::ImageOptionsAndStart);
  request.save_file_opt = true;
  request.start_file_opt = false;
  const auto result = RunDriven(request, [](SaveFileDialog& d) {
    auto& plus = dynamic_cast<lvFileDlgPlus&>(d);
    EXPECT_TRUE(plus.imageOptionsBox().isChecked());
    EXPECT_FALSE(plus.startFileBox().isChecked());
    QTest::mouseClick(&plus.startFileBox(), Qt::LeftButton);
    QTest::mouseClick(&plus.imageOptionsBox(), Qt::LeftButton);
    EXPECT_TRUE(plus.startFileBox().isChecked());
    d.reject();
  });
  EXPECT_FALSE(result.has_value());

  request = Request(SaveDialogKind::ImageOptions);
  request.save_file_opt = false;
  request.start_file_opt = true;  // not shown by this dialog: passed through
  const auto series = RunDriven(request, [](SaveFileDialog& d) {
    auto& dlg = dynamic_cast<lvFileDlg&>(d);
    EXPECT_FALSE(dlg.imageOptionsBox().isChecked());
    QTest::mouseClick(&dlg.imageOptionsBox(), Qt::LeftButton);
    TypeAndAccept(d, QStringLiteral("pages"));
  });
  ASSERT_TRUE(series.has_value());
  EXPECT_TRUE(series->save_file_opt);
  EXPECT_TRUE(series->start_file_opt);
}

TEST(SaveFileDialogs, TypedNameWithTheChosenFilterIsTheAnswer) {
  SaveDialogRequest request = Request(SaveDialogKind::ImageOptionsAndStart);
  request.filter_index = 3;
  request.start_file_opt = true;
  const auto result = RunDriven(request, [](SaveFileDialog& d) {
    EXPECT_EQ(d.selectedNameFilter(), "PNG (Portable Network Graphics) (*.png)");
    EXPECT_EQ(QDir(d.directory()).absolutePath(), QDir(QString::fromStdString(test::TempDir().string())).absolutePath());
    auto* edit = d.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), "Minutes");
    d.selectNameFilter(QStringLiteral("BMP (Windows Bitmap) (*.bmp)"));
    TypeAndAccept(d, QStringLiteral("report"));
  });
  ASSERT_TRUE(result.has_value());
  EXPECT_EQ(result->path, (test::TempDir() / "report").string());
  EXPECT_EQ(result->filter_index, 4);
  EXPECT_FALSE(result->save_file_opt);
  EXPECT_TRUE(result->start_file_opt);
}

// The first dialog the class ever shows already has its boxes in place: the
// strip below the file-type list, down to the dialog's bottom.
TEST(SaveFileDialogs, BoxesSitBelowTheTypeListFromTheFirstDialogOn) {
  for (SaveDialogKind kind : {SaveDialogKind::ImageOptionsAndStart, SaveDialogKind::ImageOptions}) {
    RunDriven(Request(kind), [kind](SaveFileDialog& d) {
      auto& dlg = dynamic_cast<lvFileDlg&>(d);
      auto* list = d.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
      ASSERT_NE(list, nullptr);
      const QRect rect(list->mapTo(&d, QPoint(0, 0)), list->size());
      const int list_bottom = rect.y() + rect.height();
      const QRect first = dlg.imageOptionsBox().geometry();
      EXPECT_EQ(first.left(), rect.left());
      EXPECT_EQ(first.width(), 200);
      if (kind == SaveDialogKind::ImageOptions) {
        EXPECT_EQ(first.top(), list_bottom);
        EXPECT_EQ(first.y() + first.height(), d.height());
      } else {
        const QRect second = dynamic_cast<lvFileDlgPlus&>(d).startFileBox().geometry();
        EXPECT_EQ(first.top(), list_bottom + 2);
        EXPECT_EQ(second.left(), rect.left());
        EXPECT_GT(second.top(), first.top());
        EXPECT_EQ(second.y() + second.height(), d.height() - 2);
        EXPECT_GE(second.height(), dlg.imageOptionsBox().sizeHint().height());
      }
      // The strip is tall enough to show a box whole.
      EXPECT_GE(first.height(), dlg.imageOptionsBox().sizeHint().height());
      EXPECT_TRUE(dlg.imageOptionsBox().isVisible());
      d.reject();
    });
  }
}

TEST(SaveFileDialogs, PlainDialogHasNoBoxesAndAsksBeforeReplacingWhenTold) {
  const std::filesystem::path existing = test::TempDir() / "page.png";
  std::ofstream(existing) << "old";
  SaveDialogRequest request = Request(SaveDialogKind::Plain);
  request.overwrite_prompt = true;
  request.filter_index = 3;
  bool asked = false;
  const auto result = RunDriven(request, [&asked](SaveFileDialog& d) {
    EXPECT_TRUE(d.findChildren<QCheckBox*>().isEmpty());
    QTimer::singleShot(0, [&asked] {
      auto* question = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(question, nullptr);
      ASSERT_NE(question->button(QMessageBox::No), nullptr);
      asked = true;
      question->button(QMessageBox::No)->click();
    });
    TypeAndAccept(d, QStringLiteral("page.png"));
    EXPECT_TRUE(d.isVisible());  // No keeps the dialog open
    d.reject();
  });
  EXPECT_TRUE(asked);
  EXPECT_FALSE(result.has_value());

  // The option dialogs leave that question to the command.
  const auto replaced = RunDriven(Request(SaveDialogKind::ImageOptions),
                                  [](SaveFileDialog& d) { TypeAndAccept(d, QStringLiteral("page.png")); });
  ASSERT_TRUE(replaced.has_value());
  EXPECT_EQ(replaced->path, existing.string());
}

}  // namespace
}  // namespace pw::dialogs
