// Every corpus file, cut short at record boundaries and in the middle of
// records, is refused cleanly or plays without harm.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <set>
#include <vector>

#include "platform/gdi/dc/device_context.h"
#include "platform/gdi/emf/metafile.h"
#include "platform/gdi/player/player.h"
#include "tests/support/corpus.h"

namespace pw::gdi {
namespace {

namespace fs = std::filesystem;

// Lengths to cut at: the first and last record boundaries (and a few bytes
// past them, inside the next record's header or body) and evenly spaced
// points in between.
std::set<std::size_t> CutPoints(const std::vector<unsigned char>& bytes) {
  std::set<std::size_t> cuts;
  std::vector<std::size_t> boundaries;
  std::size_t at = 0;
  while (at + 8 <= bytes.size()) {
    std::uint32_t size = 0;
    std::memcpy(&size, bytes.data() + at + 4, 4);
    if (size < 8 || size % 4 != 0 || size > bytes.size() - at) break;
    at += size;
    boundaries.push_back(at);
  }
  const std::size_t kEnds = 24;
  for (std::size_t i = 0; i < boundaries.size(); ++i) {
    if (i >= kEnds && i + kEnds < boundaries.size()) continue;
    for (std::size_t extra : {0, 4, 9}) cuts.insert(std::min(bytes.size(), boundaries[i] + extra));
    if (boundaries[i] >= 3) cuts.insert(boundaries[i] - 3);
  }
  for (std::size_t step = 1; step < 16; ++step) cuts.insert(bytes.size() * step / 16);
  for (std::size_t small : {0, 1, 7, 8, 44, 88, 100}) cuts.insert(std::min(small, bytes.size()));
  cuts.erase(bytes.size());
  return cuts;
}

// A file cut short is refused, as GDI refuses it, unless its header is made
// to agree with the cut: then the record walk meets a record that runs past
// the end, and the file plays up to it.
TEST(CorpusTruncation, CutFilesAreRefusedOrPlayUpToTheCut) {
  PW_REQUIRE_CORPUS();
  int cut_files = 0;
  int played = 0;
  for (const char* folder : {"emf", "pages"}) {
    for (const auto& entry : fs::directory_iterator(*pw::test::CorpusDir() / folder)) {
      const auto bytes = pw::test::ReadFileBytes(entry.path());
      for (std::size_t cut : CutPoints(bytes)) {
        ++cut_files;
        auto as_cut = Metafile::FromBytes(std::as_bytes(std::span(bytes.data(), cut)));
        if (!as_cut) {
          EXPECT_FALSE(as_cut.error().message.empty()) << entry.path() << " cut at " << cut;
        }

        std::vector<unsigned char> patched(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
        const std::uint32_t length = static_cast<std::uint32_t>(cut);
        if (patched.size() >= 52) std::memcpy(patched.data() + 48, &length, 4);  // ENHMETAHEADER.nBytes
        auto metafile = Metafile::FromBytes(std::as_bytes(std::span(patched)));
        if (!metafile) continue;
        auto surface = Surface::Create(48, 64);
        ASSERT_TRUE(surface);
        DeviceContext dc(*surface);
        PlayMetafile(dc, *metafile, {0, 0, 48, 64});
        EXPECT_EQ(dc.SaveLevel(), 0) << entry.path() << " cut at " << cut;
        ++played;
      }
    }
  }
  EXPECT_GT(cut_files, 5000);
  // Cuts that keep the whole header load once it agrees with them.
  EXPECT_GT(played, cut_files / 2);
}

}  // namespace
}  // namespace pw::gdi
