#pragma once
// A plain page for tests that need any valid page of a given paper size.
#include <cstddef>
#include <vector>

namespace pw::test {

// A page of width × height millimetres on a reference device of 10 pixels
// per millimetre, MM_TEXT, holding one filled rectangle.
std::vector<std::byte> PlainPageEmf(int width_mm, int height_mm);

}  // namespace pw::test
