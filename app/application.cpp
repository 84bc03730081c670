#include "app/application.h"

#include "app/startup_command_line.h"
#include "dialogs/splash_dlg.h"
#include "dialogs/start_help.h"
#include "platform/instance/single_instance.h"
#include "platform/msgbox/message_box.h"
#include "platform/registry/registry.h"
#include "platform/shell/process_launch.h"
#include "platform/wm/window_raise.h"
#include "render/image_library.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"
#include "settings/value_names.h"
#include "ui/centre_window.h"
#include "app/help_commands.h"
#include "app/window_option_host.h"
#include "app/window_save_host.h"
#include "ui/frame_win.h"
#include "ui/hand_cursor.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMetaObject>
#include <QScreen>

namespace pw::app {
namespace {

// The size a maximized window has: the screen less its panels.
WindowSize MaximizedSize() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return {};
  const QSize size = screen->availableGeometry().size();
  return {size.width(), size.height()};
}

TipOutcome RunStartHelp(ui::lvFrameWin& frame) {
  dialogs::lvStartHelp dialog(nullptr, frame.frameFont());
  const bool accepted = dialog.exec() == QDialog::Accepted;
  return {accepted, dialog.showAtStartup()};
}

}  // namespace

StartupOptions DefaultStartupOptions(const QStringList& arguments) {
  StartupOptions options;
  options.arguments = arguments;
  options.instance_name = platform::InstanceSocketName(ui::kFrameTitle);
  options.services = DefaultStartupServices();
  return options;
}

Application::Application(StartupOptions options) : options_(std::move(options)) {}

Application::~Application() = default;

bool Application::frameOpen() const { return frame_ && !frame_->isDestroyed(); }

bool Application::Initialise() {
  // 1. Single instance: a running one closes (storing its placement and
  // emptying the work folder) before this one reads anything.
  previous_instance_closed_ =
      platform::AskInstanceToClose(options_.instance_name, options_.close_answer_timeout) ==
      platform::CloseAnswer::Closed;
  instance_server_ = std::make_unique<platform::InstanceServer>([this] { closeForNewInstance(); });
  instance_server_->Listen(options_.instance_name);

  // 2. The hand cursor of the panel, the strip and the hatch dialog.
  ui::LoadHandCursor();

  // 3, 4. The window class (arrow cursor, menu-colour background, icon
  // 128) goes with the frame, which makes its window in step 7.
  frame_ = std::make_unique<ui::lvFrameWin>();
  frame_->setReleasePages(options_.services.release_pages);
  frame_->setLoadControl(options_.services.load_running, options_.services.stop_load);
  option_commands_ = InstallOptionCommands(*frame_);
  save_commands_ = InstallSaveCommands(*frame_, *option_commands_);
  InstallHelpCommands(*frame_);
  // Dropped files are a new capture, which replaces this window as any
  // start does.
  frame_->setOnFilesDropped([](const std::vector<std::string>& files) {
    platform::StartProgram(platform::SiblingProgramPath(), files);
  });
  frame_->setWindowRaiser([](const std::string& title) { return platform::RaiseTopLevelWindow(title); });
  frame_->setOnDestroyed([this] {
    // The frame is the main window: once it is gone the program ends, and
    // a new start no longer waits for this one.
    instance_server_->StopListening();
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
  });

  // 5. The settings record.
  settings::LoadSettings();

  // 6. Placement.
  StoredPlacement stored;
  stored.main_win_max = settings::Snapshot().lvKodMainWinMax;
  if (stored.main_win_max == 0) {
    stored.bottom = settings::ReadUserDword(settings::kWinBottom);
    if (stored.bottom >= 1) {
      stored.top = settings::ReadUserDword(settings::kWinTop);
      stored.left = settings::ReadUserDword(settings::kWinLeft);
      stored.right = settings::ReadUserDword(settings::kWinRight);
    }
  }
  placement_ = ComputePlacement(stored, MaximizedSize());

  // 7. The main window.
  frame_->createWindow(placement_.left, placement_.top, placement_.width(), placement_.height());

  // 8. The command word.
  if (AsksForQuickStart(options_.arguments)) {
    settings::Update([](settings::Settings& record) { record.QuickStartReference = true; });
  }

  // 9. The image library.
  render::EnsureImageLibrary();

  // 10, 11. Centre a window that sits at (0, 0), show it, paint it.
  if (placement_.centred()) ui::CentreOnScreen(*frame_);
  frame_->showAsStarted(placement_.maximized);

  // A damaged registry file: the program runs on its defaults, and the
  // user should know why nothing they set is there (or stays). The text
  // names the file and says so.
  if (std::optional<std::string> problem = registry::StoreProblem()) {
    platform::MessageBox(platform::MessageOwner::MainWindow, *problem, platform::kMessageCaption,
                         platform::MessageButtons::Ok, platform::MessageIcon::Warning);
    if (!frameOpen()) return true;
  }

  // 12. The capture printer check fills the name the capture load uses.
  if (!settings::Snapshot().QuickStartReference) RunHook(options_.services.check_capture_printer);

  // 13. The capture load runs on its own thread from here on.
  if (options_.services.start_capture_load) options_.services.start_capture_load(*this);

  // 14. Tip of the day.
  showTipOfTheDay();
  if (!frameOpen()) return true;

  // 15. Splash.
  showSplash();

  // 16.
  return true;
}

void Application::showTipOfTheDay() {
  if (previous_instance_closed_) return;
  if (settings::ReadUserDword(settings::kStartHelpCheck) > 0) return;
  const TipOutcome outcome =
      options_.run_tip_dialog ? options_.run_tip_dialog(*frame_) : RunStartHelp(*frame_);
  if (!outcome.accepted) return;
  settings::WriteUserDword(settings::kStartHelpCheck, outcome.show_at_startup == 0 ? 1 : 0);
}

void Application::showSplash() {
  // Start-up names the splash window "Splash" (class and title), a popup
  // at (100, 100)-(300, 300) with control id 150; the splash itself makes
  // its window from its template and takes none of these.
  ui::lvFrameWin* frame = frame_.get();
  splash_ = std::make_unique<dialogs::lvSplashDlg>([frame] { frame->invalidatePageView(); });
  splash_->create(nullptr);
  ui::CentreOnScreen(*splash_);
  splash_->show();
}

void Application::closeForNewInstance() {
  // The window goes first (its destroy steps store the placement and empty
  // the work folder); the answer is sent when this returns.
  if (frame_) frame_->close();
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->isVisible()) window->close();
  }
  QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

}  // namespace pw::app
