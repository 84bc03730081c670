// The save and send commands and the maker's two links in the frame's
// command table, on a headless display.
#include "app/window_option_host.h"
#include "app/window_save_host.h"

#include "output/email_delivery.h"
#include "platform/shell/shell_open.h"
#include "res/command_ids.h"
#include "ui/frame_win.h"
#include "ui/frame_writer_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pw::app {
namespace {

namespace cmd = res::cmd;

TEST(SaveWiring, EverySaveAndSendCommandIsInTheTableAndTheLinksOpenThroughTheShell) {
  ui::lvFrameWin frame;
  for (int id : {cmd::kSaveToDisk, cmd::kSendEmail, cmd::kSavePdf, cmd::kSaveHtml, cmd::kSendPage, cmd::kSavePage,
                 cmd::kMakerOnline, cmd::kMakerSupport})
    EXPECT_FALSE(frame.commands().Has(id)) << id;

  const auto options = InstallOptionCommands(frame);
  const auto host = InstallSaveCommands(frame, *options);
  for (int id : {cmd::kSaveToDisk, cmd::kSendEmail, cmd::kSavePdf, cmd::kSaveHtml, cmd::kSendPage, cmd::kSavePage,
                 cmd::kMakerOnline, cmd::kMakerSupport})
    EXPECT_TRUE(frame.commands().Has(id)) << id;
  // Runs show themselves in the frame.
  EXPECT_EQ(host->RunView(), std::static_pointer_cast<output::WriterView>(frame.writerView()));

  std::vector<std::string> opened;
  platform::SetShellOpener([&opened](const std::string& target) {
    opened.push_back(target);
    return true;
  });
  frame.runCommand(cmd::kMakerOnline);
  frame.runCommand(cmd::kMakerSupport);
  platform::SetShellOpener({});
  EXPECT_EQ(opened, (std::vector<std::string>{output::kWebSite, std::string("mailto:") + output::kSupportAddress}));
}

}  // namespace
}  // namespace pw::app
