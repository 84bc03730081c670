#include "dialogs/resolution_model.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace pw::dialogs {
namespace {

constexpr double kInchPerMm = 0.03937007874015748;
// Up-down positions are 16-bit.
constexpr int kMaxPosition = std::numeric_limits<short>::max();

int LimitedMaximum(double value) { return static_cast<int>(std::clamp(value, 1.0, double{kMaxPosition})); }

}  // namespace

ResolutionModel::ResolutionModel(const ResolutionInputs& in)
    : display_dpi_(in.display_dpi),
      printer_dpi_(std::max(in.printer_dpi, 1)),
      // A page size of 0 would divide by zero below.
      width_mm_(std::max(in.width_mm, 1)),
      height_mm_(std::max(in.height_mm, 1)),
      choice_(in.choice),
      resolution_(in.current_resolution),
      scale_(in.scale) {
  texts_[kResDisplayEdit] = PositionText(display_dpi_);
  texts_[kResPrinterEdit] = PositionText(printer_dpi_);
  for (int edit : {kResUserEdit, kResWidthMmEdit, kResHeightMmEdit, kResWidthPxEdit, kResHeightPxEdit, kResScaleEdit})
    texts_[edit];

  up_downs_[kResUserUpDown] = {1, std::min(printer_dpi_, kMaxPosition), 1};
  SetPosition(kResUserUpDown, std::trunc(in.custom_resolution));
  radio_ = choice_ >= 0 && choice_ <= 2 ? choice_ : -1;
  SetUserDefined(choice_ == 2);

  up_downs_[kResScaleUpDown] = {1, 300, 1};
  SetPosition(kResScaleUpDown, in.scale);
  up_downs_[kResWidthMmUpDown] = {1, LimitedMaximum(width_mm_), 1};
  SetPosition(kResWidthMmUpDown, std::ceil(in.scale * 0.01 * width_mm_));
  up_downs_[kResHeightMmUpDown] = {1, LimitedMaximum(height_mm_), 1};
  SetPosition(kResHeightMmUpDown, std::ceil(in.scale * 0.01 * height_mm_));

  const double e = in.current_resolution;
  up_downs_[kResWidthPxUpDown] = {1, LimitedMaximum(std::ceil(width_mm_ * printer_dpi_ * kInchPerMm)), 1};
  SetPosition(kResWidthPxUpDown, std::ceil(e * width_mm_ * kInchPerMm * (in.scale * 0.01)));
  up_downs_[kResHeightPxUpDown] = {1, LimitedMaximum(std::ceil(height_mm_ * printer_dpi_ * kInchPerMm)), 1};
  SetPosition(kResHeightPxUpDown, std::ceil(e * height_mm_ * kInchPerMm * (in.scale * 0.01)));
}

int ResolutionModel::BuddyOf(int up_down) {
  switch (up_down) {
    case kResUserUpDown: return kResUserEdit;
    case kResScaleUpDown: return kResScaleEdit;
    case kResWidthMmUpDown: return kResWidthMmEdit;
    case kResHeightMmUpDown: return kResHeightMmEdit;
    case kResWidthPxUpDown: return kResWidthPxEdit;
    default: return kResHeightPxEdit;
  }
}

void ResolutionModel::SetPosition(int up_down, double value) {
  UpDownState& state = up_downs_.at(up_down);
  state.position = ClampToRange(state, value);
  texts_[BuddyOf(up_down)] = PositionText(state.position);
}

int ResolutionModel::Read(int edit) const { return EditInteger(texts_.at(edit)); }

void ResolutionModel::SetUserDefined(bool on) { up_downs_.at(kResUserUpDown).enabled = on; }

void ResolutionModel::PixelsFromScaleAndResolution() {
  SetPosition(kResWidthPxUpDown, std::ceil(scale_ * 0.01 * width_mm_ * resolution_ * kInchPerMm));
  SetPosition(kResHeightPxUpDown, std::ceil(scale_ * 0.01 * height_mm_ * resolution_ * kInchPerMm));
}

void ResolutionModel::PixelsFromMillimetres() {
  SetPosition(kResWidthPxUpDown, std::ceil(Read(kResWidthMmEdit) * resolution_ * kInchPerMm));
  SetPosition(kResHeightPxUpDown, std::ceil(Read(kResHeightMmEdit) * resolution_ * kInchPerMm));
}

void ResolutionModel::DeriveResolution(int pixels, int mm) {
  const double derived = pixels / (mm * kInchPerMm);
  if (!std::isfinite(derived) || derived <= 0.0) return;
  resolution_ = std::max(derived, 1.0);
}

void ResolutionModel::ClickRadio(int choice) {
  switch (choice) {
    case 0:
      resolution_ = display_dpi_;
      break;
    case 1:
      resolution_ = printer_dpi_;
      break;
    default:
      // The field may hold a typed number outside 1 ... P; the choice takes
      // it as typing would.
      resolution_ = std::clamp(static_cast<double>(Read(kResUserEdit)), 1.0, static_cast<double>(printer_dpi_));
      choice = 2;
      break;
  }
  choice_ = choice;
  radio_ = choice;
  SetUserDefined(choice == 2);
  PixelsFromScaleAndResolution();
}

void ResolutionModel::Step(int id, int delta) {
  UpDownState& state = up_downs_.at(id);
  if (!state.enabled) return;
  SetPosition(id, SteppedPosition(state, texts_.at(BuddyOf(id)), delta));
  switch (id) {
    case kResUserUpDown:
      resolution_ = Read(kResUserEdit);
      PixelsFromScaleAndResolution();
      break;
    case kResScaleUpDown:
      scale_ = Read(kResScaleEdit);
      SetPosition(kResWidthMmUpDown, std::ceil(scale_ * 0.01 * width_mm_));
      SetPosition(kResHeightMmUpDown, std::ceil(scale_ * 0.01 * height_mm_));
      PixelsFromMillimetres();
      break;
    case kResWidthMmUpDown:
      scale_ = static_cast<int>(std::ceil(Read(kResWidthMmEdit) * 100.0 / width_mm_));
      SetPosition(kResScaleUpDown, scale_);
      SetPosition(kResHeightMmUpDown, std::ceil(height_mm_ * scale_ * 0.01));
      PixelsFromMillimetres();
      break;
    case kResHeightMmUpDown:
      scale_ = static_cast<int>(std::ceil(Read(kResHeightMmEdit) * 100.0 / height_mm_));
      SetPosition(kResScaleUpDown, scale_);
      SetPosition(kResWidthMmUpDown, std::ceil(scale_ * width_mm_ * 0.01));
      PixelsFromMillimetres();
      break;
    case kResWidthPxUpDown:
    case kResHeightPxUpDown: {
      const bool width = id == kResWidthPxUpDown;
      choice_ = 2;
      radio_ = 2;
      SetUserDefined(true);
      DeriveResolution(Read(width ? kResWidthPxEdit : kResHeightPxEdit), Read(width ? kResWidthMmEdit : kResHeightMmEdit));
      SetPosition(kResUserUpDown, std::trunc(resolution_));
      const int other_mm = Read(width ? kResHeightMmEdit : kResWidthMmEdit);
      SetPosition(width ? kResHeightPxUpDown : kResWidthPxUpDown, std::ceil(other_mm * resolution_ * kInchPerMm));
      break;
    }
    default:
      break;
  }
}

void ResolutionModel::Type(int id, const std::string& text) {
  texts_.at(id) = text;
  const int value = EditInteger(text);
  switch (id) {
    case kResUserEdit:
      resolution_ = std::clamp(static_cast<double>(value), 1.0, static_cast<double>(printer_dpi_));
      break;
    case kResWidthMmEdit:
    case kResHeightMmEdit: {
      const int mm = id == kResWidthMmEdit ? width_mm_ : height_mm_;
      scale_ = static_cast<int>(std::clamp(std::ceil(value * 100.0 / mm), 1.0, 300.0));
      break;
    }
    case kResWidthPxEdit:
    case kResHeightPxEdit: {
      const bool width = id == kResWidthPxEdit;
      choice_ = 2;
      // The up-down takes the number; the text stays as typed.
      UpDownState& state = up_downs_.at(width ? kResWidthPxUpDown : kResHeightPxUpDown);
      state.position = ClampToRange(state, value);
      DeriveResolution(value, Read(width ? kResWidthMmEdit : kResHeightMmEdit));
      SetUserDefined(true);
      break;
    }
    case kResScaleEdit:
      scale_ = std::clamp(value, 1, 300);
      break;
    default:
      break;
  }
}

}  // namespace pw::dialogs
