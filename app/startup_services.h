#pragma once
// What start-up asks of the capture intake, as hooks, so start-up can run
// (and be tested) whether or not a piece of the intake is there. A hook
// left empty does nothing and reports false.
#include <functional>
#include <string>
#include <vector>

#include "intake/capture_load.h"

namespace pw::app {

class Application;

struct StartupServices {
  // The capture printer check: fills the capture printer name the capture
  // load uses. Its result is not used by start-up.
  std::function<bool()> check_capture_printer;

  // Starts the capture load on a worker thread of its own and returns at
  // once; true when the thread was started.
  std::function<bool(Application&)> start_capture_load;

  // Frees the page set's metafiles when the main window is destroyed.
  std::function<void()> release_pages;

  // Whether the capture load still runs, and the request that it stop: a
  // close that comes meanwhile waits for it without blocking.
  std::function<bool()> load_running;
  std::function<void()> stop_load;
};

// Runs a hook, or reports false when there is none.
inline bool RunHook(const std::function<bool()>& hook) { return hook ? hook() : false; }

// What the load needs from the user-interface thread: the files the user
// named, else the desktop clipboard's metafile when the capture came
// through the clipboard.
intake::CaptureInput GatherCaptureInput(std::vector<std::string> files);

// The services of this build: the capture printer check, and whatever else
// the intake provides.
StartupServices DefaultStartupServices();

}  // namespace pw::app
