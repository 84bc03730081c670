// The main frame on Qt's offscreen platform: layout of the real widgets,
// the status line, the wheel, paging, the panel's highlight, the command
// routing and the load's view of the window.
#include "pages/page_set.h"
#include "platform/gdi/emf/metafile.h"
#include "platform/msgbox/gui_message_box.h"
#include "platform/msgbox/message_box.h"
#include "platform/msgbox/scripted_message_box.h"
#include "res/command_ids.h"
#include "res/main_menu.h"
#include "settings/settings_record.h"
#include "tests/support/emf_pages.h"
#include "ui/command_panel.h"
#include "ui/frame_load_view.h"
#include "ui/frame_writer_view.h"
#include "ui/frame_win.h"
#include "ui/menu_builder.h"
#include "ui/options_marks.h"
#include "ui/page_view.h"
#include "ui/thumbnail_strip.h"

#include <QApplication>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace pw::ui {
namespace {

namespace cmd = res::cmd;

// A page set of `count` A4 pages with 92 x 130 thumbnails placed as the
// load places them in a 144-pixel strip client.
void FillPages(int count) {
  pages::PageSet& pages = pages::Pages();
  pages.Clear();
  pages.SetState(pages::RenderingState::Idle);
  pages.SetBeingRendered(0);
  pages.SetCurrentImage(Magick::Image());
  for (int i = 0; i < count; ++i) {
    pages::PageRecord& record = pages.Record(i);
    record.file_name = "5000" + std::to_string(i + 1) + ".emf";
    record.metafile = *gdi::Metafile::FromBytes(test::PlainPageEmf(210, 297));
    record.thumbnail = QImage(92, 130, QImage::Format_RGB32);
    record.thumbnail.fill(Qt::white);
    record.thumb_x = (144 - 92) / 2;
    record.thumb_y = i == 0 ? (140 - 130) / 2 + 5 : pages.Record(i - 1).thumb_y + 130 + 24;
    record.thumb_width = 92;
    record.thumb_height = 130;
    pages.SetCount(i + 1);
  }
}

class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings::Update([](settings::Settings& s) { s = settings::Settings{}; });
    host_ = std::make_shared<platform::ScriptedMessageBoxHost>();
    platform::SetMessageBoxHost(host_);
    FillPages(0);
  }
  void TearDown() override {
    frame_.reset();
    FillPages(0);
    platform::SetMessageBoxHost(nullptr);
  }

  lvFrameWin& Open(int width, int height) {
    frame_ = std::make_unique<lvFrameWin>();
    frame_->createWindow(0, 0, width, height);
    frame_->show();
    QApplication::processEvents();
    return *frame_;
  }

  // Pixels of the status text's deep blue (antialiased edges included) in
  // the status band; the chrome there is all pale lilac.
  int StatusTextPixels() {
    const QImage shot = frame_->grab().toImage();
    int found = 0;
    for (int y = frame_->height() - 21; y < frame_->height() - 5; ++y)
      for (int x = 10; x < frame_->width() - 180; ++x)
        if (const QColor c = shot.pixelColor(x, y); c.blue() > 120 && c.red() < 90 && c.green() < 90) ++found;
    return found;
  }

  std::shared_ptr<platform::ScriptedMessageBoxHost> host_;
  std::unique_ptr<lvFrameWin> frame_;
};

TEST_F(FrameTest, LayoutOfTheWidgetsFollowsTheClientWidth) {
  lvFrameWin& frame = Open(800, 600);
  EXPECT_TRUE(frame.pageView()->isVisible());
  EXPECT_EQ(frame.pageView()->geometry(), QRect(7, 7, 620, 561));
  EXPECT_EQ(frame.strip()->geometry(), QRect(637, 7, 156, 586));
  EXPECT_EQ(frame.panel().button(5)->geometry(), QRect(0, 227, 43, 32));
  // The load sees the strip's client without its bar.
  EXPECT_EQ(frame.loadView().StripClient(), (intake::ViewRect{0, 0, 144, 586}));

  frame.resize(182, 600);
  QApplication::processEvents();
  EXPECT_FALSE(frame.pageView()->isVisible());
  EXPECT_EQ(frame.strip()->geometry(), QRect(7, 7, 153, 586));

  frame.resize(183, 600);
  QApplication::processEvents();
  EXPECT_TRUE(frame.pageView()->isVisible());
}

TEST_F(FrameTest, DroppedLocalFilesAreHandedOnInTheirOrder) {
  lvFrameWin& frame = Open(800, 600);
  EXPECT_FALSE(frame.acceptDrops()) << "no drops without someone to open them";
  std::vector<std::vector<std::string>> opened;
  frame.setOnFilesDropped([&opened](const std::vector<std::string>& files) { opened.push_back(files); });
  ASSERT_TRUE(frame.acceptDrops());

  QMimeData files;
  files.setUrls({QUrl::fromLocalFile("/tmp/a.emf"), QUrl("https://example.com/b.emf"),
                 QUrl::fromLocalFile("/tmp/c d.SPL")});
  QDragEnterEvent enter(QPoint(300, 300), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
  enter.ignore();
  QApplication::sendEvent(&frame, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(300, 300), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&frame, &drop);
  EXPECT_EQ(opened, (std::vector<std::vector<std::string>>{{"/tmp/a.emf", "/tmp/c d.SPL"}}));

  // Text or remote links alone are not taken.
  QMimeData text;
  text.setText("a.emf");
  QDragEnterEvent words(QPoint(300, 300), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
  words.ignore();
  QApplication::sendEvent(&frame, &words);
  EXPECT_FALSE(words.isAccepted());
  QMimeData remote;
  remote.setUrls({QUrl("https://example.com/b.emf")});
  QDropEvent far(QPointF(300, 300), Qt::CopyAction, &remote, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&frame, &far);
  EXPECT_EQ(opened.size(), 1u);
}

TEST_F(FrameTest, TooLowAWindowIsRaisedToTheMinimum) {
  lvFrameWin& frame = Open(800, 300);
  QApplication::processEvents();
  // The minimum is the outer height, whatever frame the platform draws.
  EXPECT_EQ(frame.frameGeometry().height(), 402);
  EXPECT_EQ(frame.pageView()->height(), frame.height() - 39);
  EXPECT_LE(frame.height(), 402);
}

TEST_F(FrameTest, StatusTextFrom631PixelsOnAndOnlyWithPages) {
  FillPages(3);
  lvFrameWin& frame = Open(800, 600);
  frame.showPage(0);
  EXPECT_GT(StatusTextPixels(), 50);
  frame.resize(630, 600);
  QApplication::processEvents();
  EXPECT_EQ(StatusTextPixels(), 0);
  frame.resize(631, 600);
  QApplication::processEvents();
  EXPECT_GT(StatusTextPixels(), 50);
}

TEST_F(FrameTest, PagingRendersTheNextPageAndStopsAtTheEnds) {
  FillPages(3);
  lvFrameWin& frame = Open(800, 600);
  frame.showPage(0);
  ASSERT_EQ(pages::Pages().State(), pages::RenderingState::Ready);
  ASSERT_FALSE(frame.pageView()->image().isNull());

  frame.runCommand(cmd::kNextPage);
  EXPECT_EQ(pages::Pages().Current(), 1);
  EXPECT_EQ(pages::Pages().BeingRendered(), 1);
  frame.runCommand(cmd::kNextPage);
  EXPECT_EQ(pages::Pages().Current(), 2);

  // At the last page nothing is rendered: the marker left on purpose stays.
  pages::Pages().SetBeingRendered(0);
  frame.runCommand(cmd::kNextPage);
  EXPECT_EQ(pages::Pages().Current(), 2);
  EXPECT_EQ(pages::Pages().BeingRendered(), 0);

  frame.showPage(0);
  pages::Pages().SetBeingRendered(2);
  frame.runCommand(cmd::kPreviousPage);
  EXPECT_EQ(pages::Pages().Current(), 0);
  EXPECT_EQ(pages::Pages().BeingRendered(), 2);
}

TEST_F(FrameTest, ClickOnAThumbnailShowsThatPage) {
  FillPages(3);
  lvFrameWin& frame = Open(800, 900);
  const pages::PageRecord& third = pages::Pages().Record(2);
  QTest::mouseClick(frame.strip(), Qt::LeftButton, {}, QPoint(third.thumb_x + 10, third.thumb_y + 10));
  EXPECT_EQ(pages::Pages().Current(), 2);
  EXPECT_EQ(pages::Pages().BeingRendered(), 2);
  EXPECT_FALSE(frame.pageView()->image().isNull());
  // The caption below a thumbnail is no thumbnail.
  QTest::mouseClick(frame.strip(), Qt::LeftButton, {}, QPoint(third.thumb_x + 10, third.thumb_y + 135));
  EXPECT_EQ(pages::Pages().Current(), 2);
}

TEST_F(FrameTest, WheelOverTheRight170PixelsScrollsTheStripEvenOverTheStatusLine) {
  FillPages(12);
  lvFrameWin& frame = Open(800, 500);
  frame.strip()->setScrollRange(0, 120);
  const QPoint status_line(700, 490);  // right of the page view, in the status line's height
  QWheelEvent down(QPointF(status_line), QPointF(frame.mapToGlobal(status_line)), QPoint(), QPoint(0, -120),
                   Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(&frame, &down);
  EXPECT_EQ(frame.strip()->scrollPosition(), 50);

  // Over the strip itself the wheel event reaches the frame as well.
  const QPoint in_strip(60, 100);
  QWheelEvent up(QPointF(in_strip), QPointF(frame.strip()->mapToGlobal(in_strip)), QPoint(), QPoint(0, 120),
                 Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(frame.strip(), &up);
  EXPECT_EQ(frame.strip()->scrollPosition(), 0);
}

TEST_F(FrameTest, StripPagingStopsExactlyAtTheMaximum) {
  FillPages(12);
  lvFrameWin& frame = Open(800, 500);
  frame.strip()->setScrollRange(0, 120);
  const pages::PageRecord& last = pages::Pages().Record(11);
  const int maximum = static_cast<int>(last.thumb_y - frame.strip()->height() + last.thumb_height * 1.5);
  for (int i = 0; i < 20; ++i) frame.strip()->scroll(ScrollRequest::PageDown);
  EXPECT_EQ(frame.strip()->scrollPosition(), maximum);
}

TEST_F(FrameTest, OnlyOneButtonIsLitAtATime) {
  lvFrameWin& frame = Open(800, 600);
  QTest::mouseMove(frame.panel().button(0), QPoint(10, 10));
  EXPECT_EQ(frame.panel().hover().Lit(), 0);
  QTest::mouseMove(frame.panel().button(3), QPoint(10, 10));
  EXPECT_EQ(frame.panel().hover().Lit(), 3);
  EXPECT_FALSE(frame.panel().hover().IsLit(0));
  QTest::mouseMove(frame.pageView(), QPoint(300, 300));
  EXPECT_EQ(frame.panel().hover().Lit(), -1);
  // The lit picture is another than the one at rest.
  QTest::mouseMove(frame.panel().button(1), QPoint(10, 10));
  const QImage lit = frame.panel().button(1)->grab().toImage();
  QTest::mouseMove(&frame, QPoint(400, 580));
  const QImage rest = frame.panel().button(1)->grab().toImage();
  EXPECT_NE(lit, rest);
}

TEST_F(FrameTest, ButtonsAndKeysRunTheirCommandsThroughTheTable) {
  lvFrameWin& frame = Open(800, 600);
  std::vector<int> ran;
  for (int id : {cmd::kSaveToDisk, cmd::kSavePdf, cmd::kSaveHtml, cmd::kSendEmail}) {
    frame.commands().Set(id, [&ran, id] { ran.push_back(id); });
  }
  QTest::mouseClick(frame.panel().button(1), Qt::LeftButton);
  QTest::mouseClick(frame.panel().button(5), Qt::LeftButton);
  QTest::mouseClick(frame.panel().button(6), Qt::LeftButton);
  // E-mail only with a current page.
  QTest::mouseClick(frame.panel().button(0), Qt::LeftButton);
  EXPECT_EQ(ran, (std::vector<int>{cmd::kSaveToDisk, cmd::kSavePdf, cmd::kSaveHtml}));
  FillPages(1);
  frame.showPage(0);
  QTest::mouseClick(frame.panel().button(0), Qt::LeftButton);
  EXPECT_EQ(ran.back(), cmd::kSendEmail);

  frame.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
  ran.clear();
  QTest::keyClick(&frame, Qt::Key_S, Qt::ControlModifier);
  QTest::keyClick(&frame, Qt::Key_P, Qt::ControlModifier);
  EXPECT_EQ(ran, (std::vector<int>{cmd::kSaveToDisk, cmd::kSavePdf}));
}

TEST(FrameMenus, OptionsMenuCarriesTheMarksAndRoutesItsCommands) {
  settings::Settings s;
  s.QuickStartReference = true;
  s.KodAntialias = 7;
  const OptionsMarks marks = OptionsMarksFor(s);
  int chosen = 0;
  QWidget owner;
  const std::unique_ptr<QMenu> menu =
      BuildMenu(res::MainMenuPopup(res::PopupIndex::Options), &owner, [&](int id) { chosen = id; }, &marks);
  QAction* seven = nullptr;
  QAction* twenty = nullptr;
  QAction* resolution = nullptr;
  for (QAction* action : menu->findChildren<QAction*>()) {
    if (action->data().toInt() == cmd::kAntialias7x) seven = action;
    if (action->data().toInt() == cmd::kAntialias20x) twenty = action;
    if (action->data().toInt() == cmd::kResolutionDialog) resolution = action;
  }
  ASSERT_TRUE(seven && twenty && resolution);
  EXPECT_TRUE(seven->isEnabled());
  EXPECT_TRUE(seven->isChecked());
  EXPECT_FALSE(twenty->isEnabled());
  EXPECT_FALSE(resolution->isEnabled());
  seven->trigger();
  EXPECT_EQ(chosen, cmd::kAntialias7x);
}

TEST_F(FrameTest, LoadViewPostsFromItsThreadToTheWindow) {
  FillPages(3);
  lvFrameWin& frame = Open(800, 600);
  std::thread worker([&] {
    frame.loadView().SetStripScrollRange(0, 30);
    frame.loadView().InvalidatePageView(false);
  });
  worker.join();
  QApplication::processEvents();
  EXPECT_EQ(frame.strip()->findChild<QScrollBar*>()->maximum(), 30);
}

// Records what the frame repaints.
class PaintSpy final : public QObject {
 public:
  QRegion painted;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(event)->region();
    return false;
  }
};

TEST_F(FrameTest, WriterViewShowsThePageBeingWrittenAndItsPlaceUntilTheRunEnds) {
  FillPages(3);
  lvFrameWin& frame = Open(800, 600);
  frame.showPage(0);
  const QSize current = frame.pageView()->image().size();
  const int quiet = StatusTextPixels();
  const std::shared_ptr<FrameWriterView> view = frame.writerView();

  Magick::Image written(Magick::Geometry(123, 77), Magick::Color("white"));
  std::thread([&] {
    view->RedrawCurrentPage();
    view->SetWaitCursor(true);
    view->PageWriting(1, 3, written);
  }).join();
  QApplication::processEvents();
  EXPECT_EQ(frame.pageView()->image().size(), QSize(123, 77));
  EXPECT_EQ(frame.pageView()->cursor().shape(), Qt::WaitCursor);
  EXPECT_EQ(frame.runProgress(), (std::pair{1, 3}));
  // The progress leads the line, so it holds more text than before.
  EXPECT_GT(StatusTextPixels(), quiet);

  std::thread([&] { view->SetWaitCursor(false); }).join();
  QApplication::processEvents();
  EXPECT_FALSE(frame.runProgress());
  EXPECT_EQ(frame.pageView()->image().size(), current);
  EXPECT_NE(frame.pageView()->cursor().shape(), Qt::WaitCursor);
  EXPECT_EQ(StatusTextPixels(), quiet);
}

TEST_F(FrameTest, AWriterViewOutlivingItsFramePostsNothing) {
  FillPages(1);
  Open(800, 600);
  const std::shared_ptr<FrameWriterView> view = frame_->writerView();
  frame_.reset();
  Magick::Image written(Magick::Geometry(10, 10), Magick::Color("white"));
  std::thread([&] {
    view->SetWaitCursor(true);
    view->PageWriting(0, 1, written);
    view->InvalidateMainWindow();
  }).join();
  // Posted to the deleted frame, these would touch freed memory here.
  QApplication::processEvents();
}

TEST_F(FrameTest, LoadRepaintsTheWholeStatusLine) {
  FillPages(2);
  lvFrameWin& frame = Open(800, 600);
  PaintSpy spy;
  frame.installEventFilter(&spy);
  // Where the status text begins, left of the area the load names.
  const QPoint text_start(20, frame.height() - 15);

  // A new page counted: its count shows at once.
  std::thread([&] { frame.loadView().SetStripScrollRange(0, 20); }).join();
  QTest::qWait(100);  // the posted call, then the repaint it asks for
  EXPECT_TRUE(spy.painted.contains(text_start));

  // The first page shown: the load asks for the area from 50 pixels in.
  spy.painted = QRegion();
  const intake::ViewRect client = frame.loadView().FrameClient();
  std::thread([&] {
    frame.loadView().InvalidateFrame({client.left + 50, client.bottom - 25, client.right - 200, client.bottom - 4}, true);
  }).join();
  QTest::qWait(100);
  EXPECT_TRUE(spy.painted.contains(text_start));
  frame.removeEventFilter(&spy);
}

TEST_F(FrameTest, ClosingWhileTheLoadWaitsForAnAnswerDoesNotHang) {
  // The real message box host: the worker's question waits for this thread.
  platform::SetMessageBoxHost(std::make_shared<platform::GuiMessageBoxHost>([] { return nullptr; }));
  lvFrameWin& frame = Open(800, 600);
  std::atomic<bool> running{true};
  std::atomic<bool> stop{false};
  int releases = 0;
  frame.setReleasePages([&] { ++releases; });
  frame.setLoadControl([&] { return running.load(); }, [&] { stop = true; });
  std::thread load([&] {
    platform::MessageBox(platform::MessageOwner::MainWindow, "ERROR 0000876\nTavrin Pagewick Message",
                         platform::kMessageCaption, platform::MessageButtons::Ok, platform::MessageIcon::None);
    running = false;
  });
  // Once the question shows, a new start closes the window.
  QTimer::singleShot(200, &frame, [&] { frame.close(); });
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!frame.isDestroyed() && std::chrono::steady_clock::now() < deadline) {
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  load.join();
  EXPECT_TRUE(frame.isDestroyed());
  EXPECT_TRUE(stop.load());
  EXPECT_EQ(releases, 1);
}

}  // namespace
}  // namespace pw::ui
