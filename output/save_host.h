#pragma once
// What the save and send commands need of the windows: the save dialogs,
// the e-mail format dialog, the two image format sheets, the option
// operations (output format, resolution dialog, page refresh) and the
// window a writer run shows itself in. The main window implements it;
// tests answer from a script.
#include <memory>
#include <optional>

#include "output/output_run.h"
#include "output/save_dialog_values.h"
#include "render/render_view.h"
#include "settings/option_host.h"

namespace pw::output {

class SaveHost {
 public:
  virtual ~SaveHost() = default;

  // The option operations run over this host: Select output format, the
  // resolution command, the wait cursor and the current page's refresh.
  virtual settings::OptionHost& Options() = 0;

  // A save-file dialog; nothing on Cancel.
  virtual std::optional<SaveDialogResult> RunSaveDialog(const SaveDialogRequest& request) = 0;

  // The e-mail format dialog starting on `stored_format` with "Image
  // Options" from `save_file_opt`; nothing on Cancel.
  virtual std::optional<MailFormatChoice> RunMailFormatDialog(int stored_format, bool save_file_opt) = 0;

  // The single-format sheet of the output format; true after OK (it has
  // stored that format's values).
  virtual bool RunSingleFormatSheet() = 0;

  // The extra sheet: 2 is its Multipaged PDF page; true after OK.
  virtual bool RunExtraFormatSheet(int kind) = 0;

  // Draws the current page image into the page view again.
  virtual void RedrawPageView() = 0;

  // Where a writer run shows itself; both may be null.
  virtual std::shared_ptr<WriterView> RunView() = 0;
  virtual std::shared_ptr<render::RenderView> RunRenderView() = 0;
};

}  // namespace pw::output
