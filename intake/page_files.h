#pragma once
// The pages of files the user names (on the command line, or dropped on
// the window): EMF pages and EMF spool files in any mix.
#include <string>
#include <vector>

#include "platform/gdi/emf/metafile.h"

namespace pw::intake {

struct FilePages {
  std::vector<gdi::Metafile> pages;  // the valid pages, in file order
  // Why the file gave no pages or not all of them, naming the file; empty
  // when it gave every page it held.
  std::string problem;
  // The file itself could not be used (missing, a folder, unreadable, or
  // neither a metafile nor a spool file), as against pages lost inside it.
  bool unusable = false;
  // Pages the file held but did not give (at least 1 when it was cut off).
  int lost = 0;
};

// An EMF page as it is; anything else read as a spool file split into its
// pages in memory. Every page goes through the metafile's validation and
// bounds.
FilePages ReadPageFile(const std::string& path);

}  // namespace pw::intake
