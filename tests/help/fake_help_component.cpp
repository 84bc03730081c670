// A help component that records each request instead of showing a window.
#include <cstdint>
#include <string>

namespace {
int g_calls = 0;
std::string g_last_file;
unsigned g_last_command = 0xFFFFFFFFu;
std::uintptr_t g_last_owner = 1;
}  // namespace

extern "C" __attribute__((visibility("default"))) std::uintptr_t HtmlHelpA(std::uintptr_t owner, const char* file,
                                                                          unsigned command, std::uintptr_t) {
  ++g_calls;
  g_last_owner = owner;
  g_last_file = file ? file : "";
  g_last_command = command;
  return 0x4E1F;
}

extern "C" __attribute__((visibility("default"))) int FakeHelpCalls() { return g_calls; }
extern "C" __attribute__((visibility("default"))) const char* FakeHelpLastFile() { return g_last_file.c_str(); }
extern "C" __attribute__((visibility("default"))) unsigned FakeHelpLastCommand() { return g_last_command; }
extern "C" __attribute__((visibility("default"))) std::uintptr_t FakeHelpLastOwner() { return g_last_owner; }
