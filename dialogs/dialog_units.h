#pragma once
// The dialog-unit conversions of the resource templates, for the dialogs.
#include "res/dialog_units.h"

namespace pw::dialogs {

using res::DluRect;
using res::DluSize;
using res::DluToPixelsX;
using res::DluToPixelsY;
using res::TemplateFont;

}  // namespace pw::dialogs
