// The e-mail format dialog: its entries, the starting choice from the
// stored format, the choice after a selection, and OK and Cancel.
#include "dialogs/mail_format_dlg.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

#include "dialogs/dialog_units.h"

namespace pw::dialogs {
namespace {

TEST(MailFormatDialog, ListsTheSixFormatsInOrderInATemplateSizedDialog) {
  lvDlgSelectFormatForMail dialog(nullptr, 3, false);
  EXPECT_EQ(dialog.windowTitle(), "Tavrin Pagewick");
  EXPECT_EQ(dialog.size(), DluSize(186, 95));
  const QStringList expected{"JPG (JPEG file interchange format)",        "GIF (Graphics Interchange Format)",
                             "PNG (Portable Network Graphics)",           "BMP (Windows Bitmap)",
                             "TIF (TIFF Tagged Image File Format)", "Multipage: PDF (Portable Document Format)"};
  QStringList items;
  for (int i = 0; i < dialog.formatList().count(); ++i) items << dialog.formatList().itemText(i);
  EXPECT_EQ(items, expected);
  EXPECT_EQ(dialog.imageOptionsBox().text(), "Image Options");
  EXPECT_EQ(dialog.imageOptionsBox().geometry(), DluRect(7, 42, 63, 10));
  EXPECT_EQ(dialog.okButton().geometry(), DluRect(73, 74, 50, 14));
  EXPECT_TRUE(dialog.okButton().isDefault());
  EXPECT_EQ(dialog.cancelButton().geometry(), DluRect(129, 74, 50, 14));
}

TEST(MailFormatDialog, StartingChoiceFollowsTheStoredFormat) {
  struct Case {
    int stored, format, row;
  } cases[] = {{0, 1, 0}, {-1, 1, 0}, {1, 1, 0}, {4, 4, 3}, {6, 6, 5}, {7, 7, -1}, {40, 40, -1}};
  for (const Case& c : cases) {
    const MailFormatStart start = MailFormatStartFrom(c.stored);
    EXPECT_EQ(start.format, c.format) << c.stored;
    EXPECT_EQ(start.row, c.row) << c.stored;
    lvDlgSelectFormatForMail dialog(nullptr, c.stored, true);
    EXPECT_EQ(dialog.formatList().currentIndex(), c.row) << c.stored;
    EXPECT_TRUE(dialog.imageOptionsBox().isChecked());
  }
}

std::optional<output::MailFormatChoice> RunDriven(int stored, bool opt,
                                                  std::function<void(lvDlgSelectFormatForMail&)> drive) {
  bool driven = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = dynamic_cast<lvDlgSelectFormatForMail*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    driven = true;
    drive(*dialog);
  });
  auto result = RunMailFormatDialog(nullptr, stored, opt);
  EXPECT_TRUE(driven);
  return result;
}

TEST(MailFormatDialog, OkGivesTheSelectionAndTheBoxCancelGivesNothing) {
  auto untouched = RunDriven(0, false, [](lvDlgSelectFormatForMail& d) { d.okButton().click(); });
  ASSERT_TRUE(untouched.has_value());
  EXPECT_EQ(untouched->format, 1);
  EXPECT_FALSE(untouched->save_file_opt);

  auto chosen = RunDriven(2, false, [](lvDlgSelectFormatForMail& d) {
    d.formatList().setCurrentIndex(5);
    QTest::mouseClick(&d.imageOptionsBox(), Qt::LeftButton);
    QTest::keyClick(&d, Qt::Key_Return);  // OK is the default button
  });
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(chosen->format, 6);
  EXPECT_TRUE(chosen->save_file_opt);

  auto cancelled = RunDriven(2, false, [](lvDlgSelectFormatForMail& d) {
    d.formatList().setCurrentIndex(4);
    QTest::mouseClick(&d.imageOptionsBox(), Qt::LeftButton);
    d.cancelButton().click();
  });
  EXPECT_FALSE(cancelled.has_value());
}

// A stored number no entry matches selects nothing; OK only takes a choice
// the user made, never that number.
TEST(MailFormatDialog, OutOfRangeStoredFormatWaitsForAChoice) {
  auto result = RunDriven(9, false, [](lvDlgSelectFormatForMail& d) {
    EXPECT_FALSE(d.okButton().isEnabled());
    QTest::keyClick(&d, Qt::Key_Return);
    EXPECT_TRUE(d.isVisible());
    d.formatList().setCurrentIndex(2);
    EXPECT_TRUE(d.okButton().isEnabled());
    d.okButton().click();
  });
  ASSERT_TRUE(result.has_value());
  EXPECT_EQ(result->format, 3);
}

}  // namespace
}  // namespace pw::dialogs
