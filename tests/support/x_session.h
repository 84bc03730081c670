#pragma once
// A private X session for end-to-end tests: Xvfb on a free display with the
// openbox window manager, programs run against it, and xdotool and
// ImageMagick's import to drive and photograph windows. Tests skip when
// Xvfb, openbox, xdotool or import is missing.
#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

namespace pw::test {

class XSession {
 public:
  // The session, or null (with `why` set) when it cannot be had here.
  static std::unique_ptr<XSession> Start(QString* why, int width = 1280, int height = 1024);
  ~XSession();

  XSession(const XSession&) = delete;
  XSession& operator=(const XSession&) = delete;

  QString display() const { return display_; }

  // This process's environment with the session's display, Qt on xcb.
  QProcessEnvironment environment() const;

  struct Result {
    int code = -1;  // -1: did not finish in time or could not start
    QString output;
  };
  // Runs a program to its end against the session.
  Result run(const QString& program, const QStringList& arguments, int timeout_ms = 60000) const;

  // Starts a program that keeps running; it is ended with the session. Its
  // output goes to the test's unless `channels` asks to keep it.
  QProcess* launch(const QString& program, const QStringList& arguments,
                   QProcess::ProcessChannelMode channels = QProcess::ForwardedChannels);

  // Ends the window manager and the X server while programs still run, as
  // a desktop that goes away does.
  void stopServer();

  // The id of the first visible window whose whole title is `title`.
  std::optional<QString> findWindow(const QString& title) const;
  std::optional<QString> waitForWindow(const QString& title, int timeout_ms) const;
  // True once no visible window has that title.
  bool waitForWindowGone(const QString& title, int timeout_ms) const;
  // The window that has the focus in the window manager's eyes.
  std::optional<QString> activeWindow() const;

  void activate(const QString& window) const;
  void key(const QString& window, const QString& keys) const;
  void click(const QString& window, QPoint at) const;

  // The window's contents; saved to `save_as` as well when given.
  QImage grab(const QString& window, const QString& save_as = {}) const;
  // The whole screen.
  QImage grabScreen(const QString& save_as) const;

 private:
  XSession() = default;
  QString display_;
  std::unique_ptr<QProcess> server_;
  std::unique_ptr<QProcess> window_manager_;
  std::vector<std::unique_ptr<QProcess>> programs_;
};

// Skips the current test when no X session can be had.
// A program of the build, by name, for launch and run.
QString Program(const char* name);

// Where a test keeps a screenshot: in $PAGEWICK_SCREENSHOTS, else nowhere
// (an empty path, which grab and grabScreen take as "do not save").
QString ShotPath(const char* name);

#define PW_REQUIRE_X_SESSION(session)                                \
  QString session##_why;                                             \
  auto session = ::pw::test::XSession::Start(&session##_why);        \
  if (!session) GTEST_SKIP() << session##_why.toStdString()

}  // namespace pw::test
