#include "ui/page_step.h"

namespace pw::ui {

PageStep NextPage(int current, int count) {
  if (count <= 0) return {-1, false};
  const int next = current + 1;
  if (next > count - 1) return {count - 1, false};
  return {next < 0 ? 0 : next, true};
}

PageStep PreviousPage(int current, int count) {
  if (count <= 0) return {-1, false};
  const int previous = current - 1;
  if (previous < 0) return {0, false};
  if (previous > count - 1) return {count - 1, true};
  return {previous, true};
}

}  // namespace pw::ui
