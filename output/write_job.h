#pragma once
// A write job: everything one save run needs, taken as one value when the
// run is set up, and what the run reports back. The three writers read
// nothing else of the program's settings: the window builds its jobs from
// the settings record (CurrentWriteJob), pagewick-convert from its command
// line.
#include <memory>
#include <string>

#include "output/output_run.h"
#include "pages/page_render.h"
#include "render/render_options.h"
#include "settings/settings_record.h"

namespace pw::output {

struct WriteJob {
  // Every page of the page set is written, in order.
  SaveTarget target;
  FormatFlags flags;              // the image format of a series and a gallery
  int multipage_mode = 0;         // 1: the PDF run makes a document
  std::string inside_format;      // the PDF's page image format ("PNG"; "" is BMP)
  render::RenderOptions options;  // how pages look and are encoded
  double resolution = 96.0;       // dpi
  bool start_file = false;        // open the finished PDF or gallery
  // The window the run shows itself in; both may be null.
  std::shared_ptr<WriterView> view;
  std::shared_ptr<render::RenderView> render_view;
  int threads = 0;                // band workers per render: 0 one per processor
  bool preview = true;            // renders keep the status line's preview file
  // A PDF run leaves its page images in the work folder, as the window's
  // runs always have; without, it writes no page file at all.
  bool keep_inside_files = true;
  // A run of the window's save commands. The window's PDF command puts the
  // output format and the current page image aside and sets the multipage
  // mode; its run puts them back and stores the mode as 0. Other runs leave
  // the stored settings and the current page image alone.
  bool window_command = false;

  // The render of page `index` for this job. Its encoding follows the
  // job's format flags, multipage mode and inside format, whatever
  // `options` says of them.
  pages::PageRender Render(int index, pages::RenderPurpose purpose = pages::RenderPurpose::Writer) const;
};

// What a run did, for callers that need more than its exit code.
struct WriteOutcome {
  int exit_code = 0;       // 0 a run that ended or was aborted, -1 one that stopped
  int pages_written = 0;   // page files written (or pages put into the document)
  // Pages the finished result lacks although the run went on (a PDF page
  // whose image the document could not take).
  int pages_left_out = 0;
  bool aborted = false;
  // Everything the job asked for was written whole.
  bool complete = false;
};

// The job of the settings record `s` with the stored inside format: its
// output format, multipage mode, render options, current resolution and
// "StartFile_Opt".
WriteJob WriteJobFrom(const settings::Settings& s, std::string inside_format);

// What the window's save commands run now: the job of the current settings
// record for `target`, shown in the window's `view` and `render_view`.
WriteJob CurrentWriteJob(SaveTarget target, std::shared_ptr<WriterView> view = nullptr,
                         std::shared_ptr<render::RenderView> render_view = nullptr);

}  // namespace pw::output
