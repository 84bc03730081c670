#include "platform/clipboard/clipboard_store.h"

#include "platform/gdi/metafile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace pw::clipboard {
namespace {

namespace fs = std::filesystem;

TEST(ClipboardStore, PutReadTakeAndEmpty) {
  EXPECT_FALSE(ReadEnhMetafile());
  const std::vector<std::byte> emf(64, std::byte{0x5a});
  ASSERT_TRUE(PutEnhMetafile(emf));
  EXPECT_EQ(ReadEnhMetafile(), emf);
  EXPECT_EQ(TakeEnhMetafile(), emf);
  EXPECT_FALSE(ReadEnhMetafile());
  EXPECT_TRUE(EmptyClipboard());
}

TEST(ClipboardStore, OversizedStoreIsNotRead) {
  ASSERT_TRUE(PutEnhMetafile(std::vector<std::byte>(16)));
  // A sparse file: its size is past the limit without using the disk.
  fs::resize_file(ClipboardStorePath(), gdi::Metafile::kMaxBytes + 1);
  EXPECT_FALSE(ReadEnhMetafile());
  fs::resize_file(ClipboardStorePath(), 4096);
  auto small = ReadEnhMetafile();
  ASSERT_TRUE(small);
  EXPECT_EQ(small->size(), 4096u);
}

}  // namespace
}  // namespace pw::clipboard
