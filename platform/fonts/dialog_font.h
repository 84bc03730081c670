#pragma once
// The font of the dialog templates, "MS Sans Serif" 8, as fontconfig
// matches it. Controls are sized in dialog units of 6 x 13 pixels, the base
// units of that face at 96 dpi.
#include <QFont>

namespace pw::platform {

// Needs a Qt application. When the matched font is not among Qt's families
// (Wine's fonts are not), its file is registered with Qt first. Without any
// match it is the application's font at 11 pixels.
QFont DialogFont();

}  // namespace pw::platform
