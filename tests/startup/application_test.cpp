// The start-up steps on a headless display: placement, tip of the day,
// the command word, the capture printer check, a damaged registry, the
// destroy steps of the main window, and a running instance (a real
// program in a child process) closed by a new start.
#include "app/application.h"

#include "dialogs/splash_dlg.h"
#include "platform/instance/single_instance.h"
#include "platform/msgbox/scripted_message_box.h"
#include "platform/paths/paths.h"
#include "platform/registry/registry.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"
#include "tests/support/test_home.h"
#include "ui/frame_win.h"

#include <QApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace pw::app {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// One start with hooks that count what start-up asked for.
class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings::Update([](settings::Settings& record) { record = settings::Settings{}; });
    host_ = std::make_shared<platform::ScriptedMessageBoxHost>();
    platform::SetMessageBoxHost(host_);
  }
  void TearDown() override { platform::SetMessageBoxHost(nullptr); }

  StartupOptions Options(QStringList arguments = {"pagewick"}) {
    StartupOptions options;
    options.arguments = std::move(arguments);
    options.instance_name = platform::InstanceSocketName(ui::kFrameTitle);
    options.close_answer_timeout = 3s;
    options.services.check_capture_printer = [this] {
      ++printer_checks_;
      return true;
    };
    options.services.start_capture_load = [this](Application&) {
      ++capture_loads_;
      return true;
    };
    options.run_tip_dialog = [this](ui::lvFrameWin&) {
      ++tip_dialogs_;
      return tip_outcome_;
    };
    return options;
  }

  static QSize Available() { return QGuiApplication::primaryScreen()->availableGeometry().size(); }

  std::shared_ptr<platform::ScriptedMessageBoxHost> host_;
  int printer_checks_ = 0;
  int capture_loads_ = 0;
  int tip_dialogs_ = 0;
  TipOutcome tip_outcome_;
};

TEST_F(StartupTest, FirstStartOpensACentredWindowShowsTheTipAndTheSplash) {
  Application app(Options());
  EXPECT_TRUE(app.Initialise());

  ui::lvFrameWin* frame = app.mainWindow();
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(app.frameOpen());
  EXPECT_EQ(frame->windowTitle(), "Tavrin Pagewick");
  EXPECT_TRUE(frame->isVisible());
  EXPECT_FALSE(frame->isMaximized());
  const QSize available = Available();
  EXPECT_EQ(frame->width(), static_cast<int>(0.85 * available.width()));
  EXPECT_EQ(frame->height(), static_cast<int>(0.8 * available.height()));
  // Centred up to the width of the window's border, which the platform
  // adds once the window is shown.
  const QPoint offset =
      frame->geometry().center() - QGuiApplication::primaryScreen()->availableGeometry().center();
  EXPECT_LE(std::abs(offset.x()), 4) << offset.x();
  EXPECT_LE(std::abs(offset.y()), 4) << offset.y();

  EXPECT_FALSE(app.previousInstanceClosed());
  EXPECT_EQ(printer_checks_, 1);
  EXPECT_EQ(capture_loads_, 1);
  EXPECT_EQ(tip_dialogs_, 1);
  EXPECT_FALSE(settings::Snapshot().QuickStartReference);
  EXPECT_TRUE(host_->Requests().empty());

  int visible_splashes = 0;
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (dynamic_cast<dialogs::lvSplashDlg*>(window) && window->isVisible()) ++visible_splashes;
  }
  EXPECT_EQ(visible_splashes, 1);
}

TEST_F(StartupTest, StoredPlacementOpensTheWindowThere) {
  settings::WriteUserDword("lvWinLeft", 40);
  settings::WriteUserDword("lvWinTop", 30);
  settings::WriteUserDword("lvWinRight", 440);
  // Taller than the frame's 402-pixel minimum, which would raise it.
  settings::WriteUserDword("lvWinBottom", 530);
  Application app(Options());
  app.Initialise();
  const QRect geometry = app.mainWindow()->geometry();
  EXPECT_EQ(app.mainWindow()->pos(), QPoint(40, 30));
  EXPECT_EQ(geometry.size(), QSize(400, 500));
}

TEST_F(StartupTest, MaximizedFlagOpensTheWindowMaximized) {
  settings::WriteUserDword("lvKodMainWinMax", 1);
  settings::WriteUserDword("lvWinLeft", 40);
  settings::WriteUserDword("lvWinTop", 30);
  settings::WriteUserDword("lvWinRight", 440);
  settings::WriteUserDword("lvWinBottom", 330);
  Application app(Options());
  app.Initialise();
  EXPECT_TRUE(app.placement().maximized);
  EXPECT_TRUE(app.mainWindow()->isMaximized());
}

TEST_F(StartupTest, TipOfTheDayIsSkippedWhenTurnedOff) {
  settings::WriteUserDword("lvStartHelpCheck", 1);
  Application app(Options());
  app.Initialise();
  EXPECT_EQ(tip_dialogs_, 0);
  EXPECT_EQ(settings::ReadUserDword("lvStartHelpCheck"), 1);
}

TEST_F(StartupTest, TipOutcomeDecidesTheNextStart) {
  // Closed with the box cleared: no tips from now on.
  tip_outcome_ = {true, 0};
  {
    Application app(Options());
    app.Initialise();
  }
  EXPECT_EQ(tip_dialogs_, 1);
  EXPECT_EQ(settings::ReadUserDword("lvStartHelpCheck"), 1);
  {
    Application app(Options());
    app.Initialise();
  }
  EXPECT_EQ(tip_dialogs_, 1);

  // Closed with the box ticked: tips again.
  settings::WriteUserDword("lvStartHelpCheck", 0);
  tip_outcome_ = {true, 1};
  {
    Application app(Options());
    app.Initialise();
  }
  EXPECT_EQ(tip_dialogs_, 2);
  EXPECT_EQ(settings::ReadUserDword("lvStartHelpCheck"), 0);
}

TEST_F(StartupTest, CancelledTipLeavesTheSettingAlone) {
  tip_outcome_ = {false, 0};
  Application app(Options());
  app.Initialise();
  EXPECT_EQ(tip_dialogs_, 1);
  EXPECT_EQ(settings::ReadUserDword("lvStartHelpCheck"), -1);
}

TEST_F(StartupTest, QuickEntersQuickStartAndSkipsThePrinterCheck) {
  Application app(Options({"pagewick", "quick"}));
  app.Initialise();
  EXPECT_TRUE(settings::Snapshot().QuickStartReference);
  EXPECT_EQ(printer_checks_, 0);
  EXPECT_EQ(capture_loads_, 1);
}

TEST_F(StartupTest, QuickInAnotherCaseIsAnOrdinaryStart) {
  for (const char* word : {"Quick", "QUICK"}) {
    Application app(Options({"pagewick", word}));
    app.Initialise();
    EXPECT_FALSE(settings::Snapshot().QuickStartReference) << word;
  }
  EXPECT_EQ(printer_checks_, 2);
}

TEST_F(StartupTest, EmptyHooksDoNothingAndStartUpGoesOn) {
  StartupOptions options = Options();
  options.services = StartupServices{};
  Application app(std::move(options));
  EXPECT_TRUE(app.Initialise());
  EXPECT_TRUE(app.frameOpen());
}

TEST_F(StartupTest, BuiltInServicesClaimNothingTheyCannotDo) {
  const StartupServices services = DefaultStartupServices();
  ASSERT_TRUE(services.check_capture_printer);
  // A fresh machine has no printer handshake file, so no capture printer.
  EXPECT_FALSE(services.check_capture_printer());
  // The load, its stop and the release of the pages are all wired.
  EXPECT_TRUE(static_cast<bool>(services.start_capture_load));
  EXPECT_TRUE(static_cast<bool>(services.release_pages));
  ASSERT_TRUE(static_cast<bool>(services.load_running));
  EXPECT_FALSE(services.load_running());
}

TEST_F(StartupTest, DamagedRegistryIsReportedAndTheDefaultsHold) {
  settings::WriteUserDword("JPG_Quality", 40);
  settings::WriteUserDword("lvWinBottom", 300);
  {
    std::ofstream garbage(registry::StorePath(), std::ios::binary | std::ios::trunc);
    garbage << std::string(5000, 'g');
  }
  const std::optional<std::string> problem = registry::StoreProblem();
  ASSERT_TRUE(problem);

  Application app(Options());
  EXPECT_TRUE(app.Initialise());
  const std::vector<platform::MessageRequest> requests = host_->Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].text, *problem);
  EXPECT_EQ(requests[0].caption, "Tavrin Pagewick Message");
  EXPECT_EQ(requests[0].owner, platform::MessageOwner::MainWindow);

  EXPECT_EQ(settings::Snapshot().JPG_Quality, 90);
  EXPECT_EQ(app.mainWindow()->width(), static_cast<int>(0.85 * Available().width()));
  EXPECT_TRUE(app.frameOpen());
}

TEST_F(StartupTest, ClosingTheWindowStoresItsPlacementAndEmptiesTheWorkFolder) {
  Application app(Options());
  app.Initialise();
  ui::lvFrameWin* frame = app.mainWindow();
  frame->move(50, 60);
  frame->resize(500, 450);  // above the frame's minimum height

  const std::optional<std::string> work = platform::WorkFolder();
  ASSERT_TRUE(work);
  const fs::path folder(*work);
  std::ofstream(folder / "00012_0001.emf") << "page";
  std::ofstream(folder / "~CurImg.jpg") << "preview";
  fs::create_directories(folder / "keep");
  std::ofstream(folder / "keep" / "inner.emf") << "kept";

  frame->close();
  EXPECT_FALSE(app.frameOpen());
  EXPECT_FALSE(fs::exists(folder / "00012_0001.emf"));
  EXPECT_FALSE(fs::exists(folder / "~CurImg.jpg"));
  EXPECT_TRUE(fs::exists(folder / "keep" / "inner.emf"));
  EXPECT_EQ(settings::ReadUserDword("lvKodMainWinMax"), 0);
  EXPECT_EQ(settings::ReadUserDword("lvWinLeft"), 50);
  EXPECT_EQ(settings::ReadUserDword("lvWinTop"), 60);
  EXPECT_EQ(settings::ReadUserDword("lvWinRight"), 550);
  EXPECT_EQ(settings::ReadUserDword("lvWinBottom"), 510);

  // The next start opens the window where this one closed.
  Application next(Options());
  next.Initialise();
  EXPECT_EQ(next.mainWindow()->pos(), QPoint(50, 60));
  EXPECT_EQ(next.mainWindow()->size(), QSize(500, 450));
}

TEST_F(StartupTest, ClosingMaximizedStoresOnlyTheFlag) {
  settings::WriteUserDword("lvWinLeft", 11);
  settings::WriteUserDword("lvWinBottom", 222);
  Application app(Options());
  app.Initialise();
  app.mainWindow()->showMaximized();
  ASSERT_TRUE(app.mainWindow()->isMaximized());
  app.mainWindow()->close();
  EXPECT_EQ(settings::ReadUserDword("lvKodMainWinMax"), 1);
  EXPECT_EQ(settings::ReadUserDword("lvWinLeft"), 11);
  EXPECT_EQ(settings::ReadUserDword("lvWinBottom"), 222);
}

TEST_F(StartupTest, ReleasePagesRunsOnceWhenTheWindowGoes) {
  int releases = 0;
  StartupOptions options = Options();
  options.services.release_pages = [&] { ++releases; };
  {
    Application app(std::move(options));
    app.Initialise();
    app.mainWindow()->close();
    EXPECT_EQ(releases, 1);
  }
  EXPECT_EQ(releases, 1);  // not again when the object goes
}

// The program itself, started in a child process on the same emulated
// machine, is the running instance; this process is the new start.
TEST_F(StartupTest, NewStartClosesTheRunningProgramAndSkipsTheTip) {
  const fs::path program = test::BuildDir() / "bin" / "pagewick";
  if (!fs::exists(program)) GTEST_SKIP() << "no program at " << program;

  QProcess running;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  running.setProcessEnvironment(environment);
  running.start(QString::fromStdString(program.string()), {"quick"});
  ASSERT_TRUE(running.waitForStarted(5000));

  const QString socket = platform::InstanceSocketName(ui::kFrameTitle);
  for (int i = 0; i < 200 && !QFileInfo::exists(socket); ++i) QTest::qWait(50);
  ASSERT_TRUE(QFileInfo::exists(socket)) << "the running program never listened";
  // It is in its tip of the day now (or about to be): a nested loop that
  // must still take the request.
  QTest::qWait(300);

  Application app(Options());
  app.Initialise();
  EXPECT_TRUE(app.previousInstanceClosed());
  EXPECT_EQ(tip_dialogs_, 0);
  EXPECT_TRUE(app.frameOpen());

  // Often it has ended already, seen while this start ran its event loop.
  if (running.state() != QProcess::NotRunning) {
    ASSERT_TRUE(running.waitForFinished(10000));
  }
  EXPECT_EQ(running.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(running.exitCode(), 0);
  // It stored its placement before it answered, so this start used it.
  EXPECT_EQ(settings::ReadUserDword("lvKodMainWinMax"), 0);
  EXPECT_GE(settings::ReadUserDword("lvWinBottom"), 1);
}

}  // namespace
}  // namespace pw::app
