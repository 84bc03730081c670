// The About box offscreen: its template, fonts, colours and the mouse.
#include "about/about_dlg.h"
#include "about/about_guard.h"
#include "platform/registry/registry.h"
#include "platform/shell/shell_open.h"
#include "res/dialog_units.h"

#include <QApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>

#include <vector>

namespace pw::about {
namespace {

// Shell opens are recorded for the length of a test.
class RecordedShell {
 public:
  RecordedShell() {
    platform::SetShellOpener([this](const std::string& target) {
      opened.push_back(target);
      return true;
    });
  }
  ~RecordedShell() { platform::SetShellOpener({}); }
  std::vector<std::string> opened;
};

QPoint CentreOnScreen(const QWidget& widget) { return widget.mapToGlobal(widget.rect().center()); }

void Send(QWidget& box, QEvent::Type type, QPoint screen_point, Qt::MouseButton button = Qt::NoButton) {
  const QPointF local = box.mapFromGlobal(screen_point);
  const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton;
  QMouseEvent event(type, local, local, QPointF(screen_point), button, held, Qt::NoModifier);
  QApplication::sendEvent(&box, &event);
}

void Click(QWidget& box, QPoint screen_point) {
  Send(box, QEvent::MouseButtonPress, screen_point, Qt::LeftButton);
  Send(box, QEvent::MouseButtonRelease, screen_point, Qt::LeftButton);
}

TEST(AboutBox, IsBuiltFromItsTemplateWithTheStoredVersion) {
  AboutDlg box;
  EXPECT_EQ(box.size(), QSize(425, 257));
  EXPECT_TRUE(box.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(box.control(kVersionStatic).text(), "Version 2.1                      ");
  EXPECT_EQ(box.control(kVersionStatic).geometry(), res::DluRect(11, 37, 67, 9));
  EXPECT_EQ(box.control(kWebStatic).text(), "www.pagewick.example");
  EXPECT_EQ(box.control(kMailStatic).text(), "support@pagewick.example");
  EXPECT_EQ(box.control(kWebLabelStatic).text(), "WWW :   ");
  EXPECT_EQ(box.control(kMailLabelStatic).text(), "EMail  :   ");
  EXPECT_TRUE(box.control(kCopyrightStatic).alignment() & Qt::AlignRight);

  // The artwork comes from the library's own resources, at its own size.
  EXPECT_EQ(box.bitmapControl(kBannerBitmap).pixmap().size(), QSize(300, 44));
  EXPECT_EQ(box.bitmapControl(kBannerBitmap).geometry(), res::DluRect(7, 9, 200, 27));
  EXPECT_EQ(box.bitmapControl(kPictureBitmap).pixmap().size(), QSize(60, 60));

  // Link font on the five text statics, the version font on the version.
  for (int id : {kWebLabelStatic, kWebStatic, kMailLabelStatic, kMailStatic, kCopyrightStatic})
    EXPECT_EQ(box.control(id).font(), box.linkFont()) << id;
  EXPECT_EQ(box.control(kVersionStatic).font(), box.versionFont());
  EXPECT_TRUE(box.versionFont().bold() && box.versionFont().italic());
  EXPECT_TRUE(box.hoverFont().bold() && box.hoverFont().underline());
  EXPECT_FALSE(box.linkFont().bold() || box.linkFont().underline());
  EXPECT_EQ(box.linkFont().family(), "Arial");
}

TEST(AboutBox, WithoutAVersionValueTheTemplateTextStays) {
  ASSERT_TRUE(registry::DeleteValue(registry::Hive::LocalMachine, "Software\\Tavrin\\Pagewick", "Version"));
  AboutDlg box;
  EXPECT_EQ(box.control(kVersionStatic).text(), "Version");
}

TEST(AboutBox, PaintsItsBackgroundAndAFrameSevenPixelsIn) {
  AboutDlg box;
  const QImage image = box.grab().toImage();
  const QRgb background = kBackgroundColour;
  const QRgb frame = kFrameColour;
  EXPECT_EQ(image.pixel(3, 100), background);
  EXPECT_EQ(image.pixel(7, 100), frame);
  EXPECT_EQ(image.pixel(8, 100), background);
  EXPECT_EQ(image.pixel(box.width() - 8, 100), frame);
  EXPECT_EQ(image.pixel(box.width() - 7, 100), background);
  EXPECT_EQ(image.pixel(200, 7), frame);
  EXPECT_EQ(image.pixel(200, box.height() - 8), frame);
  // Static text is drawn in the frame's colour.
  EXPECT_EQ(box.control(kWebStatic).palette().color(QPalette::WindowText), QColor::fromRgb(frame));
}

TEST(AboutBox, TheLinksLightUpUnderTheMouseOneAtATime) {
  AboutDlg box;
  box.show();
  const QPoint web = CentreOnScreen(box.control(kWebStatic));
  const QPoint mail = CentreOnScreen(box.control(kMailStatic));

  Send(box, QEvent::MouseMove, mail);
  EXPECT_EQ(box.highlight(), (LinkHighlight{.web = false, .mail = true}));
  EXPECT_EQ(box.control(kMailStatic).font(), box.hoverFont());
  EXPECT_EQ(box.cursor().shape(), Qt::BitmapCursor);  // the library's hand

  Send(box, QEvent::MouseMove, web);
  EXPECT_EQ(box.highlight(), (LinkHighlight{.web = true, .mail = false}));
  EXPECT_EQ(box.control(kWebStatic).font(), box.hoverFont());
  EXPECT_EQ(box.control(kMailStatic).font(), box.linkFont());

  Send(box, QEvent::MouseMove, CentreOnScreen(box.bitmapControl(kBannerBitmap)));
  EXPECT_EQ(box.highlight(), LinkHighlight{});
  EXPECT_EQ(box.control(kWebStatic).font(), box.linkFont());
  EXPECT_EQ(box.cursor().shape(), Qt::ArrowCursor);
}

TEST(AboutBox, AClickOnTheBannerClosesWithoutOpeningAnything) {
  RecordedShell shell;
  AboutDlg box;
  box.show();
  Click(box, CentreOnScreen(box.bitmapControl(kBannerBitmap)));
  EXPECT_TRUE(box.isVisible());  // the close request is posted
  QApplication::processEvents();
  EXPECT_FALSE(box.isVisible());
  EXPECT_TRUE(shell.opened.empty());
}

TEST(AboutBox, AClickOnALinkOpensItThroughTheShellAndCloses) {
  RecordedShell shell;
  {
    AboutDlg box;
    box.show();
    Click(box, CentreOnScreen(box.control(kMailStatic)));
    QApplication::processEvents();
    EXPECT_FALSE(box.isVisible());
  }
  {
    AboutDlg box;
    box.show();
    Click(box, CentreOnScreen(box.control(kWebStatic)));
    QApplication::processEvents();
    EXPECT_FALSE(box.isVisible());
  }
  EXPECT_EQ(shell.opened, (std::vector<std::string>{"mailto:support@pagewick.example", "http://www.pagewick.example"}));
}

TEST(AboutGuard, AnUnexpectedErrorIsToldAndGivesMinusOne) {
  int reports = 0;
  auto report = [&] { ++reports; };
  EXPECT_EQ(RunAboutGuarded([] {}, report), 0);
  EXPECT_EQ(reports, 0);
  EXPECT_EQ(RunAboutGuarded([] { throw std::runtime_error("template missing"); }, report), -1);
  EXPECT_EQ(reports, 1);
  EXPECT_EQ(RunAboutGuarded([] { throw 5; }, report), -1);
  EXPECT_EQ(reports, 2);
  // A report that throws itself still ends in -1, not in the caller.
  EXPECT_EQ(RunAboutGuarded([] { throw 5; }, [] { throw std::bad_alloc(); }), -1);
  EXPECT_STREQ(kUnexpectedErrorText, "Tavrin Error Code Ab0002\nUnexpected Error");
}

}  // namespace
}  // namespace pw::about
