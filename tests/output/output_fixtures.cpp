#include "output_fixtures.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <mutex>
#include <sstream>

#include "pages/page_render.h"
#include "pages/page_set.h"
#include "platform/gdi/emf/emf_writer.h"
#include "platform/paths/paths.h"
#include "platform/shell/shell_open.h"
#include "settings/settings_record.h"
#include "tests/support/test_home.h"

namespace pw::test {
namespace {
std::mutex g_opened_mutex;
}

void WriterTest::SetUp() {
  settings::Update([](settings::Settings& s) {
    s = settings::Settings{};
    s.CheckN = 2;
    s.ResCur = 30.0;
    s.KodAntialias = 1;
    s.StartFile_Opt = false;
  });
  messages = std::make_shared<platform::ScriptedMessageBoxHost>();
  platform::SetMessageBoxHost(messages);
  view = std::make_shared<RecordingWriterView>();
  hook = std::make_shared<RenderHook>();
  platform::SetShellOpener([this](const std::string& target) {
    std::lock_guard lock(g_opened_mutex);
    opened.push_back(target);
    return true;
  });
  output::Run().abort_requested = false;
  output::Run().send_after_run = false;
  output::Run().written.Clear();
  output::SetOutputFormatBackup(std::nullopt);
  pages::Pages().Clear();
  pages::Pages().SetCurrentImage(Magick::Image());
}

void WriterTest::TearDown() {
  output::WaitForWriter();
  platform::SetShellOpener({});
  platform::SetMessageBoxHost(nullptr);
  pages::Pages().Clear();
  pages::Pages().SetCurrentImage(Magick::Image());
}

void WriterTest::LoadPages(int count, int width_mm, int height_mm, int current, const std::string& prefix) {
  pages::PageSet& pages = pages::Pages();
  for (int i = 0; i < count; ++i) {
    pages::PageRecord& record = pages.Record(i);
    char name[32];
    std::snprintf(name, sizeof name, "%s%04d.emf", prefix.c_str(), i + 1);
    record.file_name = name;
    auto metafile = gdi::Metafile::FromBytes(test::PlainPageEmf(width_mm, height_mm));
    ASSERT_TRUE(metafile.has_value());
    record.metafile = std::move(*metafile);
  }
  pages.SetCount(count);
  ASSERT_TRUE(pages.SetCurrent(current));
  auto image = pages::RenderPageOfSet({.index = current, .resolution = 30.0, .purpose = pages::RenderPurpose::View,
                                       .view = hook.get()});
  ASSERT_TRUE(image.has_value()) << image.error().message;
  hook->renders = 0;
}

output::WriteJob WriterTest::Job() const { return output::CurrentWriteJob(target, view, hook); }

std::string WriterTest::OutDir(const std::string& name) {
  const std::filesystem::path dir = TempDir() / name;
  std::filesystem::create_directories(dir);
  return dir.string() + "/";
}

std::vector<std::string> FileNames(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
    if (it->is_regular_file()) names.push_back(it->path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace pw::test
