#pragma once
// Accelerator table 144: every row a virtual-key entry (a key and the
// modifiers held with it) and the command it sends to the main frame.
#include <span>

namespace pw::res {

// Windows virtual-key codes of the keys the table uses; letters and digits
// are their ASCII capitals.
namespace vk {
inline constexpr int kEscape = 0x1B;
inline constexpr int kPageUp = 0x21;    // VK_PRIOR
inline constexpr int kPageDown = 0x22;  // VK_NEXT
inline constexpr int kLeft = 0x25;
inline constexpr int kUp = 0x26;
inline constexpr int kRight = 0x27;
inline constexpr int kDown = 0x28;
inline constexpr int kF1 = 0x70;
inline constexpr int kF3 = 0x72;
inline constexpr int kF4 = 0x73;
inline constexpr int kF5 = 0x74;
inline constexpr int kF6 = 0x75;
}  // namespace vk

struct Accelerator {
  int key = 0;  // virtual-key code
  bool control = false;
  bool shift = false;
  int command = 0;
};

std::span<const Accelerator> AcceleratorTable();

}  // namespace pw::res
