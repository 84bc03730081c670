#include "tests/support/corpus.h"

#include "tests/support/test_home.h"

#include <fstream>
#include <iterator>
#include <sstream>

namespace pw::test {

std::optional<std::filesystem::path> CorpusDir() {
  std::error_code ec;
  auto dir = std::filesystem::weakly_canonical(SourceDir() / ".." / "shared" / "corpus", ec);
  if (ec || !std::filesystem::is_directory(dir / "emf", ec)) return std::nullopt;
  return dir;
}

std::vector<CorpusPage> CorpusPages() {
  std::vector<CorpusPage> pages;
  auto dir = CorpusDir();
  if (!dir) return pages;
  std::ifstream in(*dir / "ref" / "refs.tsv");
  std::string line;
  std::getline(in, line);  // header
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string> cells;
    std::stringstream row(line);
    std::string cell;
    while (std::getline(row, cell, '\t')) cells.push_back(cell);
    if (cells.size() < 9) continue;
    CorpusPage page;
    page.emf = *dir / cells[0];
    if (!cells[1].empty()) page.png = *dir / cells[1];
    page.dpi = std::atof(cells[2].c_str());
    page.cols = std::atoi(cells[3].c_str());
    page.rows = std::atoi(cells[4].c_str());
    page.has_text = cells[5] == "1";
    page.has_emfplus = cells[6] == "1";
    page.status = cells[8];
    pages.push_back(std::move(page));
  }
  return pages;
}

std::vector<unsigned char> ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace pw::test
