#pragma once
// Page files encoded in the background while the writer renders the next
// pages. Encoding is most of a run's work, so with one encoding per
// processor in flight every processor stays busy. The files are written on
// the writer's thread in page order, so a run that stops at a page leaves
// no file of a later one.
#include <Magick++.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <future>
#include <optional>
#include <string>

#include <tl/expected.hpp>

namespace pw::output {

class PendingWrites {
 public:
  // What the writer does with a written page, on its own thread: the path
  // and the encoded bytes that went into the file.
  using Written = std::function<void(const std::string& path, const Magick::Blob& encoded)>;

  // Whether the encoded page goes to its file or only to `Written` (the
  // path then only names the format by its extension).
  enum class Keep { File, MemoryOnly };

  // `depth` encodings at a time (0: one per processor), and no more image
  // memory than `budget_bytes` in flight beyond the first, nor more than the
  // image library can encode side by side. A page past the budget, or a
  // page reduced to a palette past a quarter of the library's mapped room,
  // is written before Start returns, with nothing else in flight.
  explicit PendingWrites(std::size_t depth = 0, std::int64_t budget_bytes = std::int64_t{256} << 20);
  // Waits for the encodings still in flight and writes none of them: the
  // run has ended another way.
  ~PendingWrites();
  PendingWrites(const PendingWrites&) = delete;
  PendingWrites& operator=(const PendingWrites&) = delete;

  // Starts encoding `image` for `path`, after writing out the oldest pages
  // when too many are in flight; `image` is taken and left empty, so that
  // the encoding holds the only handle on its pixels. The failure text
  // ("The file could not be written: ...") of a page that could not be
  // encoded or written; the new page is then not started.
  std::optional<std::string> Start(Magick::Image&& image, std::string path, Written written, Keep keep = Keep::File);

  // Writes every page in flight in order; stops at the first that fails.
  std::optional<std::string> FinishAll();

  // For a run that ends with `failure`: writes the pages in flight and
  // returns the failure to tell, an earlier page's if one could not be
  // written, else `failure`.
  std::string FinishBefore(std::string failure);

 private:
  struct Write {
    std::future<tl::expected<Magick::Blob, std::string>> result;
    std::string path;
    Written written;
    Keep keep = Keep::File;
    std::int64_t bytes = 0;
  };

  std::optional<std::string> FinishOldest();

  std::size_t depth_;
  std::int64_t budget_bytes_;
  std::int64_t bytes_in_flight_ = 0;
  std::deque<Write> writes_;
};

}  // namespace pw::output
