#pragma once
// Access to the compiled-in resources; a missing one gives a null image,
// never a failure.
#include <QIcon>
#include <QPixmap>

namespace pw::res {

QIcon MainIcon();           // icon 128
QPixmap SplashBitmap();     // bitmap 196, 400 x 300 pixels

}  // namespace pw::res
