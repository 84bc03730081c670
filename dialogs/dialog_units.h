#pragma once
// The dialog-unit conversions of the resource templates, for the dialogs.
#include "platform/fonts/dialog_font.h"
#include "res/dialog_units.h"

namespace pw::dialogs {

using res::DluRect;
using res::DluSize;
using res::DluToPixelsX;
using res::DluToPixelsY;

// The templates' 8-point dialog font.
inline QFont TemplateFont() { return platform::DialogFont(); }

}  // namespace pw::dialogs
