#pragma once
// The working values and control state of the resolution and dimension
// dialog, without the window: the resolution choice, the user-defined
// resolution and the page size in millimetres, pixels and percent. The
// radio buttons and the up-down arrows recompute the other fields; typing
// into an edit changes only its own working value.
#include <map>
#include <string>

#include "dialogs/up_down_state.h"
#include "settings/option_host.h"

namespace pw::dialogs {

// Control identifiers of the dialog (template 140).
enum ResolutionControl : int {
  kResDisplayRadio = 1009,
  kResPrinterRadio = 1010,
  kResUserRadio = 1011,
  kResDisplayEdit = 1008,
  kResPrinterEdit = 1015,
  kResUserEdit = 1018,
  kResUserUpDown = 1017,
  kResWidthMmEdit = 1019,
  kResHeightMmEdit = 1020,
  kResWidthPxEdit = 1021,
  kResHeightPxEdit = 1022,
  kResScaleEdit = 1023,
  kResScaleUpDown = 1024,
  kResWidthMmUpDown = 1025,
  kResHeightMmUpDown = 1026,
  kResWidthPxUpDown = 1027,
  kResHeightPxUpDown = 1028,
  kResHelpButton = 1014,
};

struct ResolutionInputs {
  int choice = 2;                   // CheckN
  double custom_resolution = 80.0;  // ResCur, dpi
  int scale = 100;                  // ScaleCur, percent
  double current_resolution = 80.0; // what rendering uses now
  int display_dpi = 96;
  int printer_dpi = 300;
  int width_mm = 210;               // the page at 100 %
  int height_mm = 297;
};

class ResolutionModel {
 public:
  // The dialog's initialisation.
  explicit ResolutionModel(const ResolutionInputs& inputs);

  // A click on radio button 0 Display, 1 Printer or 2 User-defined.
  void ClickRadio(int choice);
  // An arrow of up-down `id`: +1 up, -1 down.
  void Step(int id, int delta);
  // The user changed the text of edit `id` to `text`.
  void Type(int id, const std::string& text);

  const std::string& Text(int edit) const { return texts_.at(edit); }
  const UpDownState& UpDown(int id) const { return up_downs_.at(id); }
  // The radio button shown selected: 0, 1, 2, or -1 for none.
  int SelectedRadio() const { return radio_; }
  // Edit 1018 and up-down 1017 are enabled together.
  bool UserDefinedEnabled() const { return up_downs_.at(kResUserUpDown).enabled; }

  // The working choice, resolution and scale that OK hands to the caller.
  settings::ResolutionResult Result() const { return {choice_, resolution_, scale_}; }

 private:
  static int BuddyOf(int up_down);
  void SetPosition(int up_down, double value);
  int Read(int edit) const;
  void SetUserDefined(bool on);
  void PixelsFromScaleAndResolution();
  void PixelsFromMillimetres();
  // The working resolution that shows `pixels` over `mm`; unchanged when
  // that gives no finite number, and never below 1 dpi.
  void DeriveResolution(int pixels, int mm);

  int display_dpi_;
  int printer_dpi_;
  int width_mm_;
  int height_mm_;
  int choice_;
  double resolution_;
  int scale_;
  int radio_ = -1;
  std::map<int, std::string> texts_;
  std::map<int, UpDownState> up_downs_;
};

}  // namespace pw::dialogs
