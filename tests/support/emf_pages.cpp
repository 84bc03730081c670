#include "tests/support/emf_pages.h"

#include "platform/gdi/emf/emf_writer.h"

namespace pw::test {

std::vector<std::byte> PlainPageEmf(int width_mm, int height_mm) {
  gdi::EmfWriter writer;
  writer.Frame({0, 0, width_mm * 100, height_mm * 100}).Device({width_mm * 10, height_mm * 10}, {width_mm, height_mm});
  writer.CreateBrush(1, gdi::BrushStyle::Solid, 0x00336699).SelectObject(1);
  writer.Rectangle({width_mm, height_mm, width_mm * 5, height_mm * 5});
  return writer.Finish();
}

}  // namespace pw::test
