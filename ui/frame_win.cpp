#include "ui/frame_win.h"

#include "intake/handshake.h"
#include "output/output_run.h"
#include "pages/page_render.h"
#include "pages/page_set.h"
#include "platform/msgbox/message_box.h"
#include "platform/paths/paths.h"
#include "render/current_settings.h"
#include "render/render_outputs.h"
#include "res/command_ids.h"
#include "res/main_menu.h"
#include "res/resources.h"
#include "settings/settings_record.h"
#include "ui/command_panel.h"
#include "ui/frame_colours.h"
#include "ui/frame_destroy.h"
#include "ui/frame_layout.h"
#include "ui/frame_load_view.h"
#include "ui/frame_writer_view.h"
#include "ui/menu_builder.h"
#include "ui/options_marks.h"
#include "ui/page_step.h"
#include "ui/page_view.h"
#include "ui/status_line.h"
#include "ui/strip_rules.h"
#include "ui/thumbnail_strip.h"
#include "ui/wheel_target.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QShortcut>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>

namespace pw::ui {

namespace cmd = res::cmd;

namespace {

// The stand-in for the desktop's stock variable-pitch font: a small sans
// serif with the proportions of the one the layout was drawn for.
QFont VariablePitchFont() {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(11);
  return font;
}

// Rectangles by their edges, right and bottom outside, as the chrome's
// measures are given.
QRect Edges(int left, int top, int right, int bottom) { return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)); }

void FrameEdges(QPainter& painter, const QRect& rect, const QColor& colour) {
  painter.setPen(colour);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(rect.adjusted(0, 0, -1, -1));
}

// Fills the rectangle enlarged by 4 with the panel fill and frames it with
// the dark border (enlarged by 4) and white (enlarged by 3).
void PanePlate(QPainter& painter, const EdgeRect& r) {
  const QRect outer = Edges(r.left - 4, r.top - 4, r.right + 4, r.bottom + 4);
  painter.fillRect(outer, kPanelFill);
  FrameEdges(painter, outer, kDarkBorder);
  FrameEdges(painter, Edges(r.left - 3, r.top - 3, r.right + 3, r.bottom + 3), Qt::white);
}

class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

// Renders page `index` for the view; a failure is told, and leaves the
// page without an image rather than showing another.
void RenderForView(int index) {
  WaitCursor wait;
  const auto rendered = pages::RenderPageOfSet(
      {.index = index, .resolution = render::CurrentResolution(), .purpose = pages::RenderPurpose::View});
  if (!rendered) {
    platform::MessageBox(platform::MessageOwner::MainWindow, pages::RenderFailureText(index, rendered.error().message),
                         platform::kMessageCaption, platform::MessageButtons::Ok, platform::MessageIcon::Error);
  }
}

}  // namespace

lvFrameWin::lvFrameWin() : font_(VariablePitchFont()) {
  setMouseTracking(true);
  page_view_ = new PageView(
      this, [this](QPoint at) { popupAt(static_cast<int>(res::PopupIndex::RClick), page_view_, at); },
      [this] { panel_->clearHover(); });
  page_view_->setMask(InitialPageViewMask());
  strip_ = new ThumbnailStrip(
      this, font_, [this](int index) { showPage(index); }, [this] { panel_->clearHover(); });
  panel_ = std::make_unique<CommandPanel>(this, [this](int index, QPoint at) { clickButton(index, at); });
  load_view_ = std::make_unique<FrameLoadView>(this);
  writer_view_ = std::make_shared<FrameWriterView>(this);
  for (QWidget* child : {static_cast<QWidget*>(page_view_), static_cast<QWidget*>(strip_)}) {
    child->installEventFilter(this);
    for (QObject* bar : child->children()) bar->installEventFilter(this);
  }
  installNavigation();
  installAccelerators();
}

void lvFrameWin::setOnFilesDropped(std::function<void(const std::vector<std::string>&)> opened) {
  files_dropped_ = std::move(opened);
  setAcceptDrops(static_cast<bool>(files_dropped_));
}

void lvFrameWin::dragEnterEvent(QDragEnterEvent* event) {
  if (files_dropped_ && !LocalFilesOf(event->mimeData()).empty()) event->acceptProposedAction();
}

void lvFrameWin::dropEvent(QDropEvent* event) {
  std::vector<std::string> files = LocalFilesOf(event->mimeData());
  if (!files_dropped_ || files.empty()) return;
  event->acceptProposedAction();
  files_dropped_(files);
}

std::vector<std::string> LocalFilesOf(const QMimeData* data) {
  std::vector<std::string> files;
  if (!data || !data->hasUrls()) return files;
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) files.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
  return files;
}

lvFrameWin::~lvFrameWin() {
  // A run still writing posts nothing more to a frame that is going.
  writer_view_->detach();
  // A frame that goes without a close (the process ends otherwise) still
  // leaves its placement and an empty work folder behind.
  runDestroySteps();
}

void lvFrameWin::createWindow(int x, int y, int width, int height) {
  setWindowTitle(QString::fromLatin1(kFrameTitle));
  setWindowIcon(pw::res::MainIcon());
  setCursor(Qt::ArrowCursor);
  // The class background: the menu colour of the desktop's palette.
  setBackgroundRole(QPalette::Window);
  setAutoFillBackground(true);
  move(x, y);
  // The native window follows when it is first shown; made earlier, the
  // platform would take (x, y) for the inside of the frame instead.
  resize(width, height);
}

void lvFrameWin::showAsStarted(bool maximized) {
  if (maximized) {
    showMaximized();
  } else {
    show();
  }
  repaint();
}

QRect lvFrameWin::pageViewRect() const {
  const EdgeRect r = PageViewRect(size());
  return QRect(QPoint(r.left, r.top), QPoint(r.right, r.bottom));
}

QRect lvFrameWin::statusLineRect() const {
  return Edges(3, height() - 26, PageViewRect(size()).right + 4, height() - 3);
}

void lvFrameWin::invalidatePageView() { page_view_->refresh(); }

intake::LoadView& lvFrameWin::loadView() { return *load_view_; }

void lvFrameWin::showRunProgress(int index, int count) {
  run_progress_ = {index, count};
  update(statusLineRect());
}

void lvFrameWin::endRunProgress() {
  run_progress_.reset();
  page_view_->refresh();
  update(statusLineRect());
}

void lvFrameWin::setLoadControl(std::function<bool()> running, std::function<void()> request_stop) {
  load_running_ = std::move(running);
  stop_load_ = std::move(request_stop);
}

void lvFrameWin::installNavigation() {
  commands_.Set(cmd::kAbortRun, [] { output::Run().abort_requested.store(true); });
  commands_.Set(cmd::kNextPage, [this] { nextPage(); });
  commands_.Set(cmd::kPreviousPage, [this] { previousPage(); });
  commands_.Set(cmd::kStripLineDown, [this] { strip_->scroll(ScrollRequest::LineDown); });
  commands_.Set(cmd::kStripLineUp, [this] { strip_->scroll(ScrollRequest::LineUp); });
  commands_.Set(cmd::kViewLineDown, [this] { page_view_->scroll(Qt::Vertical, ScrollRequest::LineDown); });
  commands_.Set(cmd::kViewLineUp, [this] { page_view_->scroll(Qt::Vertical, ScrollRequest::LineUp); });
  commands_.Set(cmd::kViewLineRight, [this] { page_view_->scroll(Qt::Horizontal, ScrollRequest::LineDown); });
  commands_.Set(cmd::kViewLineLeft, [this] { page_view_->scroll(Qt::Horizontal, ScrollRequest::LineUp); });
  commands_.Set(cmd::kExitToWord, [this] { exitToWord(); });
}

void lvFrameWin::installAccelerators() {
  for (const res::Accelerator& row : res::AcceleratorTable()) {
    const QKeySequence keys = KeySequenceOf(row);
    if (keys.isEmpty()) continue;
    auto* shortcut = new QShortcut(keys, this);
    shortcut->setContext(Qt::WindowShortcut);
    const int command = row.command;
    connect(shortcut, &QShortcut::activated, this, [this, command] { runCommand(command, CommandSource::Key); });
  }
}

void lvFrameWin::runCommand(int id, CommandSource source) {
  if (id == cmd::kSendEmail) {
    const pages::PageSet& pages = pages::Pages();
    const int current = pages.Current();
    if (current < 0 || current >= pages.Count()) return;
  }
  commands_.Run(id, source);
}

void lvFrameWin::showPage(int index) {
  pages::PageSet& pages = pages::Pages();
  if (!pages.SetCurrent(index) || index < 0) return;
  pages.SetBeingRendered(index);
  strip_->update();
  RenderForView(index);
  const pages::PageRecord& record = pages.Record(index);
  page_view_->lowerScrollPositions(record.thumb_width, record.thumb_height);
  page_view_->refresh();
  update();  // the status line
}

void lvFrameWin::nextPage() {
  pages::PageSet& pages = pages::Pages();
  const PageStep step = NextPage(pages.Current(), pages.Count());
  if (step.render) {
    showPage(step.index);
  } else {
    pages.SetCurrent(step.index);
  }
}

void lvFrameWin::previousPage() {
  pages::PageSet& pages = pages::Pages();
  const PageStep step = PreviousPage(pages.Current(), pages.Count());
  if (step.render) {
    showPage(step.index);
  } else {
    pages.SetCurrent(step.index);
  }
}

void lvFrameWin::clickButton(int index, QPoint at) {
  switch (static_cast<PanelButton>(index)) {
    case PanelButton::SendEmail: runCommand(cmd::kSendEmail); break;
    case PanelButton::SaveToDisk: runCommand(cmd::kSaveToDisk); break;
    case PanelButton::Options: showOptionsPopup(panel_->button(index), at); break;
    case PanelButton::Help: popupAt(static_cast<int>(res::PopupIndex::Help), panel_->button(index), at); break;
    case PanelButton::ExitToWord: runCommand(cmd::kExitToWord); break;
    case PanelButton::SavePdf: runCommand(cmd::kSavePdf); break;
    case PanelButton::SaveHtml: runCommand(cmd::kSaveHtml); break;
  }
}

void lvFrameWin::leaveQuickStartReference() {
  settings::Update([](settings::Settings& s) { s.QuickStartReference = false; });
  pages::PageSet& pages = pages::Pages();
  const int count = pages.Count();
  if (count > 0) {
    const int index = std::min(std::max(pages.Current(), 0), count - 1);
    pages.SetCurrent(index);
    pages.SetBeingRendered(index);
    RenderForView(index);
  }
  page_view_->scroll(Qt::Vertical, ScrollRequest::PageUp);
  page_view_->scroll(Qt::Horizontal, ScrollRequest::PageUp);
  page_view_->refresh();
  if (rerender_thumbnails_) rerender_thumbnails_();
  update();
}

void lvFrameWin::showOptionsPopup(QWidget* button, QPoint at) {
  if (settings::Snapshot().QuickStartReference) {
    const platform::MessageAnswer answer = platform::MessageBox(
        platform::MessageOwner::MainWindow, "Demo-mode settings will be discarded. Proceed?",
        platform::kMessageCaption, platform::MessageButtons::YesNo, platform::MessageIcon::Question);
    if (answer == platform::MessageAnswer::Yes) leaveQuickStartReference();
  }
  const OptionsMarks marks = OptionsMarksFor(settings::Snapshot());
  const std::unique_ptr<QMenu> menu = BuildMenu(res::MainMenuPopup(res::PopupIndex::Options), button,
                                                [this](int id) { runCommand(id); }, &marks);
  menu->exec(button->mapToGlobal(at));
}

void lvFrameWin::popupAt(int popup_index, QWidget* owner, QPoint at) {
  const std::unique_ptr<QMenu> menu = BuildMenu(res::MainMenuPopup(static_cast<res::PopupIndex>(popup_index)), owner,
                                                [this](int id) { runCommand(id); });
  menu->exec(owner->mapToGlobal(at));
}

void lvFrameWin::exitToWord() {
  if (release_pages_) release_pages_();
  pages::PageSet& pages = pages::Pages();
  page_view_->refresh();
  if (intake::ReadWordWindowTitle() && raiser_ && raiser_(intake::WordWindowTitle())) {
    // The view back to its start: nothing loaded, nothing scrolled.
    pages.SetState(pages::RenderingState::Idle);
    page_view_->lowerScrollPositions(0, 0);
    page_view_->refresh();
    strip_->resetScroll();
  }
  close();
}

void lvFrameWin::applyLayout() {
  // What the window manager's frame adds; the minimum and narrow sizes are
  // outer sizes.
  const QSize extra = isWindow() && frameGeometry().size().isValid() ? frameGeometry().size() - size() : QSize();
  const FrameLayout layout = LayoutFrame(size(), extra.expandedTo(QSize(0, 0)), strip_->barWidth());
  if (layout.resize_frame) resize(*layout.resize_frame - extra.expandedTo(QSize(0, 0)));

  if (layout.page_view_shown) {
    page_view_->setGeometry(layout.page_view);
    page_view_->setMask(layout.page_view_mask);
    page_view_->show();
  } else {
    page_view_->hide();
  }
  strip_->setGeometry(layout.strip);
  if (layout.strip_mask.isEmpty()) {
    strip_->clearMask();
  } else {
    strip_->setMask(layout.strip_mask);
  }

  const QRect strip_geometry = layout.strip;
  load_view_->setClients({0, 0, strip_geometry.width() - strip_->barWidth(), strip_geometry.height()},
                         {0, 0, width(), layout.client_height});

  const pages::PageSet& pages = pages::Pages();
  const int count = pages.Count();
  if (count > 0) {
    const pages::PageRecord& last = pages.Record(count - 1);
    if (StripNeedsPageUp({last.thumb_x, last.thumb_y, last.thumb_width, last.thumb_height}, strip_->scrollPosition(), 0))
      strip_->scroll(ScrollRequest::PageUp);
  }
  update();
}

void lvFrameWin::resizeEvent(QResizeEvent*) { applyLayout(); }

void lvFrameWin::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect client = rect();
  painter.fillRect(client, kWindowFill);
  FrameEdges(painter, client, kDarkBorder);
  PanePlate(painter, StripRect(size()));
  if (!page_view_->isHidden()) {
    const EdgeRect view = PageViewRect(size());
    PanePlate(painter, view);
    const int bottom = height();
    FrameEdges(painter, Edges(3, bottom - 26, view.right + 4, bottom - 3), kDarkBorder);
    FrameEdges(painter, Edges(4, bottom - 25, view.right + 3, bottom - 4), kLightBorder);
    painter.fillRect(Edges(5, bottom - 24, view.right + 3, bottom - 5), kPanelFill);
    painter.fillRect(Edges(5, bottom - 22, view.right + 3, bottom - 11), kBarBand);
    painter.fillRect(Edges(5, bottom - 21, view.right + 3, bottom - 15), kWindowFill);
    paintStatusLine(painter);
  }
}

void lvFrameWin::paintStatusLine(QPainter& painter) {
  const std::string progress = run_progress_ ? RunProgressText(run_progress_->first, run_progress_->second) : "";
  const pages::PageSet& pages = pages::Pages();
  // Before the first page arrives there is nothing to describe.
  if (pages.Count() <= 0 && progress.empty()) return;
  const Magick::Image image = pages.CurrentImage();
  const settings::Settings settings = settings::Snapshot();
  StatusFacts facts;
  facts.being_rendered = pages.BeingRendered();
  facts.page_count = pages.Count();
  facts.image_kb = render::CurrentImageSizeKb();
  facts.columns = static_cast<int>(image.columns());
  facts.rows = static_cast<int>(image.rows());
  facts.resolution = render::CurrentResolution();
  facts.format_name = SeriesFormatName(settings);
  painter.setFont(font_);
  painter.setPen(kStatusText);
  // The text's top at bottom - 21, its height the band's.
  painter.drawText(QRect(15, height() - 21, width(), 16), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                   QString::fromStdString(StatusLineText(StatusText(facts), progress, ShowsStatusText(width()))));
}

void lvFrameWin::mouseMoveEvent(QMouseEvent*) { panel_->clearHover(); }

void lvFrameWin::wheelEvent(QWheelEvent* event) {
  wheelAt(event->position().toPoint(), event->angleDelta().y());
  event->accept();
}

bool lvFrameWin::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Wheel) {
    auto* wheel = static_cast<QWheelEvent*>(event);
    wheelAt(mapFromGlobal(wheel->globalPosition().toPoint()), wheel->angleDelta().y());
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void lvFrameWin::wheelAt(QPoint frame_point, int delta) {
  const bool down = delta <= 0;
  const ViewBars& bars = page_view_->bars();
  switch (WheelTargetAt(frame_point, size(), bars.vertical.shown, bars.horizontal.shown)) {
    case WheelTarget::Strip:
      strip_->scroll(down ? ScrollRequest::LineDown : ScrollRequest::LineUp);
      break;
    case WheelTarget::ViewVertical:
      page_view_->scroll(Qt::Vertical, down ? ScrollRequest::LineDown : ScrollRequest::LineUp);
      break;
    case WheelTarget::ViewHorizontal:
      page_view_->scroll(Qt::Horizontal, down ? ScrollRequest::LineDown : ScrollRequest::LineUp);
      break;
    case WheelTarget::None:
      break;
  }
}

void lvFrameWin::closeEvent(QCloseEvent* event) {
  // The load may be waiting for this thread to answer a message; joining it
  // here would wait forever. Ask it to stop, close its open messages, and
  // come back once it has ended.
  if (load_running_ && load_running_()) {
    if (!closing_) {
      closing_ = true;
      if (stop_load_) stop_load_();
      hide();
    }
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (auto* box = qobject_cast<QMessageBox*>(window); box && box->isVisible()) box->reject();
    }
    QTimer::singleShot(20, this, [this] { close(); });
    event->ignore();
    return;
  }
  runDestroySteps();
  event->accept();
}

void lvFrameWin::runDestroySteps() {
  if (destroyed_) return;
  destroyed_ = true;

  if (release_pages_) release_pages_();

  ClosingPlacement placement;
  placement.maximized = isMaximized();
  // Position of the outer frame and size of the window: the same pair
  // createWindow takes, so a stored placement opens the window unchanged.
  const QRect normal = isMaximized() || isMinimized() ? normalGeometry() : geometry();
  const QPoint frame_offset = frameGeometry().topLeft() - geometry().topLeft();
  placement.left = normal.x() + frame_offset.x();
  placement.top = normal.y() + frame_offset.y();
  placement.right = placement.left + normal.width();
  placement.bottom = placement.top + normal.height();
  StoreWindowPlacement(placement);

  if (std::optional<std::string> work = pw::platform::WorkFolder()) EmptyWorkFolder(*work);

  if (on_destroyed_) on_destroyed_();
}

}  // namespace pw::ui
