#include "platform/clipboard/clipboard_store.h"

#include "platform/limits/limits.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace pw::clipboard {
namespace {

namespace fs = std::filesystem;

TEST(ClipboardStore, PutReadTakeAndEmpty) {
  ASSERT_FALSE(ReadEnhMetafile());
  EXPECT_EQ(ReadEnhMetafile().error(), ClipboardProblem::Empty);
  const std::vector<std::byte> emf(64, std::byte{0x5a});
  ASSERT_TRUE(PutEnhMetafile(emf));
  EXPECT_EQ(ReadEnhMetafile(), emf);
  EXPECT_EQ(TakeEnhMetafile(), emf);
  ASSERT_FALSE(ReadEnhMetafile());
  EXPECT_EQ(ReadEnhMetafile().error(), ClipboardProblem::Empty);
  EXPECT_TRUE(EmptyClipboard());
}

TEST(ClipboardStore, StorePastTheMetafileBoundIsNotReadAndSaysSo) {
  ASSERT_TRUE(PutEnhMetafile(std::vector<std::byte>(16)));
  // A sparse file: its size is past the limit without using the disk.
  const auto bound = static_cast<std::uintmax_t>(limits::kMetafileBytes.value);
  fs::resize_file(ClipboardStorePath(), bound + 1);
  const auto past = ReadEnhMetafile();
  ASSERT_FALSE(past);
  EXPECT_EQ(past.error(), ClipboardProblem::TooLarge);
  // Taking it still empties the clipboard.
  EXPECT_EQ(TakeEnhMetafile().error(), ClipboardProblem::TooLarge);
  EXPECT_EQ(ReadEnhMetafile().error(), ClipboardProblem::Empty);

  ASSERT_TRUE(PutEnhMetafile(std::vector<std::byte>(16)));
  fs::resize_file(ClipboardStorePath(), 4096);
  auto small = ReadEnhMetafile();
  ASSERT_TRUE(small);
  EXPECT_EQ(small->size(), 4096u);
}

}  // namespace
}  // namespace pw::clipboard
