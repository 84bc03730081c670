#pragma once
// The application object: one per process. Its initialisation turns a
// launch into a running main window with a capture being loaded; Qt's
// message loop runs after it returns.
//
// Qt wants its QApplication made in main() from argc/argv, so this object
// sits beside it rather than deriving from it.
#include "app/startup_placement.h"
#include "app/startup_services.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <memory>

namespace pw::platform {
class InstanceServer;
}
namespace pw::ui {
class lvFrameWin;
}
namespace pw::dialogs {
class lvSplashDlg;
}

namespace pw::app {

class WindowOptionHost;
class WindowSaveHost;

// How the tip of the day ended.
struct TipOutcome {
  bool accepted = false;    // ended with Close (OK)
  int show_at_startup = 1;  // 1 while "Show tips at startup" is ticked
};

struct StartupOptions {
  // The command line after Qt has taken its own switches, program first.
  QStringList arguments;
  // The single-instance socket; empty turns single-instance off.
  QString instance_name;
  // How long a running instance may take to close and answer.
  std::chrono::milliseconds close_answer_timeout{10000};
  StartupServices services;
  // Runs the tip of the day modally. Empty: the lvStartHelp dialog.
  std::function<TipOutcome(ui::lvFrameWin&)> run_tip_dialog;
};

// The options of a real start: the command line, this user's socket and
// the intake's services.
StartupOptions DefaultStartupOptions(const QStringList& arguments);

class Application {
 public:
  explicit Application(StartupOptions options);
  ~Application();

  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // The start-up steps. Always true: the message loop is to run (unless
  // the window has already been closed meanwhile; see frameOpen).
  bool Initialise();

  // The main window; null before Initialise.
  ui::lvFrameWin* mainWindow() const { return frame_.get(); }

  // False once the main window has been destroyed (closed by the user, or
  // by a later start while start-up still ran its dialogs).
  bool frameOpen() const;

  // The command line the program was started with, program first.
  const QStringList& arguments() const { return options_.arguments; }

  bool previousInstanceClosed() const { return previous_instance_closed_; }
  const Placement& placement() const { return placement_; }

 private:
  void closeForNewInstance();
  void showTipOfTheDay();
  void showSplash();

  StartupOptions options_;
  bool previous_instance_closed_ = false;
  Placement placement_;
  std::unique_ptr<platform::InstanceServer> instance_server_;
  std::unique_ptr<ui::lvFrameWin> frame_;
  std::unique_ptr<WindowOptionHost> option_commands_;  // goes before the frame
  std::unique_ptr<WindowSaveHost> save_commands_;      // goes before the frame
  std::unique_ptr<dialogs::lvSplashDlg> splash_;
};

}  // namespace pw::app
