#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <QImage>

#include "tests/support/test_home.h"
#include "tools/make-samples/sample_pages.h"

namespace pw::samples {
namespace {

namespace fs = std::filesystem;

// The main job without a display: the installed sample pages as PNG files.
TEST(RenderSamples, WritesOnePngPerInstalledSamplePage) {
  const fs::path tool = test::BuildDir() / "bin" / "pagewick-render-samples";
  if (!fs::exists(tool)) GTEST_SKIP() << "pagewick-render-samples is not built";
  const fs::path out = test::TempDir() / "samples";
  const std::string command = "'" + tool.string() + "' '" + out.string() + "' --dpi 96 --antialias 3 >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;

  const std::size_t pages = QuickStartPages().size();
  for (std::size_t i = 1; i <= pages; ++i) {
    const fs::path png = out / ("Sample000" + std::to_string(i) + ".png");
    QImage image(QString::fromStdString(png.string()));
    ASSERT_FALSE(image.isNull()) << png;
    EXPECT_EQ(image.width(), 794);
    EXPECT_EQ(image.height(), 1123);
  }
  EXPECT_FALSE(fs::exists(out / ("Sample000" + std::to_string(pages + 1) + ".png")));
}

TEST(RenderSamples, RefusesNonsenseOptions) {
  const fs::path tool = test::BuildDir() / "bin" / "pagewick-render-samples";
  if (!fs::exists(tool)) GTEST_SKIP() << "pagewick-render-samples is not built";
  const fs::path out = test::TempDir() / "refused";
  const std::string command = "'" + tool.string() + "' '" + out.string() + "' --dpi 0 >/dev/null 2>&1";
  EXPECT_NE(std::system(command.c_str()), 0);
  EXPECT_FALSE(fs::exists(out));
}

}  // namespace
}  // namespace pw::samples
