#include "output/write_job.h"

#include <utility>

#include "render/current_settings.h"
#include "settings/settings_store.h"
#include "settings/value_names.h"

namespace pw::output {

pages::PageRender WriteJob::Render(int index, pages::RenderPurpose purpose) const {
  render::RenderOptions page_options = options;
  render::EncodingOptions& e = page_options.encoding;
  e.JPG_Default = flags.jpg;
  e.GIF_Default = flags.gif;
  e.PNG_Default = flags.png;
  e.BMP_Default = flags.bmp;
  e.TIF_Default = flags.tif;
  e.KodMultipageFormat = multipage_mode;
  e.PDF_Bitmp_Format = inside_format;

  pages::PageRender render;
  render.index = index;
  render.resolution = resolution;
  render.purpose = purpose;
  render.view = render_view.get();
  render.threads = threads;
  render.preview = preview;
  render.options = std::move(page_options);
  return render;
}

WriteJob WriteJobFrom(const settings::Settings& s, std::string inside_format) {
  WriteJob job;
  job.flags = {s.JPG_Default, s.GIF_Default, s.PNG_Default, s.BMP_Default, s.TIF_Default};
  job.multipage_mode = s.KodMultipageFormat;
  job.options = render::RenderOptionsFrom(s, inside_format);
  job.inside_format = std::move(inside_format);
  job.resolution = render::CurrentResolution(render::ResolutionChoiceFrom(s));
  job.start_file = s.StartFile_Opt;
  return job;
}

WriteJob CurrentWriteJob(SaveTarget target, std::shared_ptr<WriterView> view,
                         std::shared_ptr<render::RenderView> render_view) {
  WriteJob job = WriteJobFrom(settings::Snapshot(),
                              settings::ReadUserString(settings::kPdfBitmpFormat).value_or(std::string()));
  job.target = std::move(target);
  job.view = std::move(view);
  job.render_view = std::move(render_view);
  job.window_command = true;
  return job;
}

}  // namespace pw::output
