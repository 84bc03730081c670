// Metafile validation, then playback of whatever validates onto a small
// surface. Every record the metafile hands out must lie inside its bytes.
#include <cstdint>

#include "platform/gdi/dc/device_context.h"
#include "platform/gdi/emf/metafile.h"
#include "platform/gdi/player/player.h"
#include "platform/gdi/dc/surface.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  pw::fuzz::MakeScratchRoot();
  pw::fuzz::StartHeadlessGui();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto metafile = pw::gdi::Metafile::FromBytes(pw::fuzz::AsBytes(data, size));
  if (!metafile) return 0;
  const auto bytes = metafile->Bytes();
  if (bytes.size() > size) pw::fuzz::Fail("metafile longer than its input");
  for (std::size_t i = 0; i < metafile->RecordCount(); ++i) {
    const auto record = metafile->Record(i);
    if (record.bytes.size() < 8 || record.bytes.size() % 4 != 0 ||
        record.offset + record.bytes.size() > bytes.size() || record.bytes.data() != bytes.data() + record.offset) {
      pw::fuzz::Fail("record " + std::to_string(i) + " outside the metafile");
    }
  }
  auto surface = pw::gdi::Surface::Create(48, 64);
  if (!surface) pw::fuzz::Fail("no 48x64 surface");
  pw::gdi::DeviceContext dc(*surface);
  pw::gdi::PlayMetafile(dc, *metafile, pw::gdi::RectL{0, 0, 48, 64});
  return 0;
}
