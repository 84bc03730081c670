// The .reg import: any text parses or fails on a line inside it, and what
// parses is applied to a scratch registry as pagewick-reg import applies it.
#include <cstdint>
#include <string_view>

#include "platform/registry/reg_file.h"
#include "platform/registry/registry.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  pw::fuzz::MakeScratchRoot();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto changes = pw::registry::ParseRegFile(text);
  if (!changes) {
    std::size_t lines = 1;
    for (char c : text) lines += c == '\n';
    if (changes.error().line < 1 || changes.error().line > lines) {
      pw::fuzz::Fail("error on line " + std::to_string(changes.error().line) + " of " + std::to_string(lines));
    }
    if (changes.error().message.empty()) pw::fuzz::Fail("error without a message");
    return 0;
  }
  pw::registry::Apply(*changes);
  return 0;
}
