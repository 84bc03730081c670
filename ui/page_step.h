#pragma once
// Next and previous page: where the current page index goes and whether
// the new page is rendered.
namespace pw::ui {

struct PageStep {
  int index = -1;       // the current page index afterwards
  bool render = false;  // false: the index was clamped and nothing else happens
};

// One page on; at the last page the index stays there (a current index
// past the end is pulled back) and nothing is rendered.
PageStep NextPage(int current, int count);

// One page back; at the first page nothing is rendered. With no pages the
// index stays -1, never a page that does not exist.
PageStep PreviousPage(int current, int count);

}  // namespace pw::ui
