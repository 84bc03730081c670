#include "tests/support/x_session.h"

#include "tests/support/test_home.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <unistd.h>

namespace pw::test {
namespace {

bool Has(const char* program) { return !QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty(); }

bool SocketExists(int display) {
  return QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(display));
}

void Stop(QProcess& process) {
  if (process.state() == QProcess::NotRunning) return;
  process.terminate();
  if (!process.waitForFinished(5000)) {
    process.kill();
    process.waitForFinished(5000);
  }
}

}  // namespace

std::unique_ptr<XSession> XSession::Start(QString* why, int width, int height) {
  for (const char* tool : {"Xvfb", "openbox", "xdotool", "import"}) {
    if (!Has(tool)) {
      *why = QStringLiteral("no %1 here").arg(QString::fromLatin1(tool));
      return nullptr;
    }
  }
  std::unique_ptr<XSession> session(new XSession);
  // A free display: one whose lock Xvfb gets. Tests may run side by side,
  // so a taken number is skipped rather than waited for.
  const int first = 60 + static_cast<int>(::getpid() % 200);
  for (int attempt = 0; attempt < 40 && session->display_.isEmpty(); ++attempt) {
    const int number = first + attempt;
    if (SocketExists(number) || QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(number))) continue;
    auto server = std::make_unique<QProcess>();
    server->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server->start(QStringLiteral("Xvfb"), {QStringLiteral(":%1").arg(number), QStringLiteral("-screen"),
                                           QStringLiteral("0"), QStringLiteral("%1x%2x24").arg(width).arg(height),
                                           QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    if (!server->waitForStarted(5000)) continue;
    QElapsedTimer timer;
    timer.start();
    while (!SocketExists(number) && server->state() == QProcess::Running && timer.elapsed() < 10000)
      QThread::msleep(50);
    if (!SocketExists(number) || server->state() != QProcess::Running) {
      Stop(*server);
      continue;
    }
    session->display_ = QStringLiteral(":%1").arg(number);
    session->server_ = std::move(server);
  }
  if (session->display_.isEmpty()) {
    *why = QStringLiteral("Xvfb did not start on any display");
    return nullptr;
  }
  session->window_manager_ = std::make_unique<QProcess>();
  session->window_manager_->setProcessEnvironment(session->environment());
  session->window_manager_->start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
  // The window manager is ready once it has announced itself on the root
  // window; on a machine busy with builds that can take a while.
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < 60000) {
    const Result check = session->run(QStringLiteral("xprop"),
                                      {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")}, 5000);
    if (check.code == 0 && check.output.contains(QStringLiteral("window id"))) return session;
    QThread::msleep(100);
  }
  *why = QStringLiteral("openbox did not start");
  return nullptr;
}

XSession::~XSession() {
  for (auto& program : programs_) Stop(*program);
  if (window_manager_) Stop(*window_manager_);
  if (server_) Stop(*server_);
}

void XSession::stopServer() {
  if (window_manager_) Stop(*window_manager_);
  if (server_) Stop(*server_);
}

QProcessEnvironment XSession::environment() const {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("DISPLAY"), display_);
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  env.remove(QStringLiteral("WAYLAND_DISPLAY"));
  return env;
}

XSession::Result XSession::run(const QString& program, const QStringList& arguments, int timeout_ms) const {
  // The output goes to a file, not a pipe: a program this one starts and
  // leaves running (the capture tool starts Pagewick) keeps the descriptor,
  // and would die of a broken pipe at its first message once we stop reading.
  QTemporaryDir folder;
  const QString output = folder.filePath(QStringLiteral("output.txt"));
  QProcess process;
  process.setProcessEnvironment(environment());
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.setStandardOutputFile(output);
  process.start(program, arguments);
  Result result;
  if (!process.waitForStarted(10000)) return result;
  if (!process.waitForFinished(timeout_ms)) {
    process.kill();
    process.waitForFinished(5000);
    return result;
  }
  QFile file(output);
  if (file.open(QIODevice::ReadOnly)) result.output = QString::fromLocal8Bit(file.readAll());
  result.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  return result;
}

QProcess* XSession::launch(const QString& program, const QStringList& arguments,
                           QProcess::ProcessChannelMode channels) {
  auto process = std::make_unique<QProcess>();
  process->setProcessEnvironment(environment());
  process->setProcessChannelMode(channels);
  process->start(program, arguments);
  programs_.push_back(std::move(process));
  return programs_.back().get();
}

std::optional<QString> XSession::findWindow(const QString& title) const {
  const Result found = run(QStringLiteral("xdotool"),
                           {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                            QStringLiteral("^%1$").arg(QRegularExpression::escape(title))},
                           10000);
  if (found.code != 0) return std::nullopt;
  const QString first = found.output.section(QLatin1Char('\n'), 0, 0).trimmed();
  if (first.isEmpty()) return std::nullopt;
  return first;
}

std::optional<QString> XSession::waitForWindow(const QString& title, int timeout_ms) const {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < timeout_ms) {
    if (std::optional<QString> window = findWindow(title)) return window;
    QThread::msleep(200);
  }
  return std::nullopt;
}

bool XSession::waitForWindowGone(const QString& title, int timeout_ms) const {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < timeout_ms) {
    if (!findWindow(title)) return true;
    QThread::msleep(200);
  }
  return false;
}

std::optional<QString> XSession::activeWindow() const {
  const Result active = run(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")}, 10000);
  if (active.code != 0) return std::nullopt;
  return active.output.trimmed();
}

void XSession::activate(const QString& window) const {
  run(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"), window}, 10000);
}

void XSession::key(const QString& window, const QString& keys) const {
  activate(window);
  run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("--clearmodifiers"), keys}, 10000);
}

void XSession::click(const QString& window, QPoint at) const {
  activate(window);
  run(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QStringLiteral("--window"), window,
                                  QString::number(at.x()), QString::number(at.y()), QStringLiteral("click"),
                                  QStringLiteral("1")},
      10000);
}

QImage XSession::grab(const QString& window, const QString& save_as) const {
  QTemporaryDir folder;
  const QString path = save_as.isEmpty() ? folder.filePath(QStringLiteral("shot.png")) : save_as;
  if (run(QStringLiteral("import"), {QStringLiteral("-window"), window, path}, 30000).code != 0) return {};
  return QImage(path);
}

QImage XSession::grabScreen(const QString& save_as) const { return grab(QStringLiteral("root"), save_as); }

QString Program(const char* name) { return QString::fromStdString((BuildDir() / "bin" / name).string()); }

QString ShotPath(const char* name) {
  const QByteArray folder = qgetenv("PAGEWICK_SCREENSHOTS");
  if (folder.isEmpty()) return {};
  QDir().mkpath(QString::fromLocal8Bit(folder));
  return QDir(QString::fromLocal8Bit(folder)).filePath(QString::fromLatin1(name));
}

}  // namespace pw::test
