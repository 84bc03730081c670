#pragma once
// The pages of the Quick Start Reference installed with the program.
#include <cstddef>
#include <string>
#include <vector>

namespace pw::samples {

struct SamplePage {
  std::string file_name;  // four-digit page number before ".emf"
  std::vector<std::byte> emf;
};

std::vector<SamplePage> QuickStartPages();

}  // namespace pw::samples
