#pragma once
// Access to the compiled-in resources; a missing one gives a null image,
// never a failure.
#include <QIcon>
#include <QPixmap>

namespace pw::res {

QIcon MainIcon();           // icon 128
QPixmap SplashBitmap();     // bitmap 196, 400 x 300 pixels
QPixmap ButtonBitmap(int id);  // bitmaps 172 to 185, 43 x 32 pixels
QPixmap HandCursorImage();  // cursor 132, 32 x 32 pixels, hot spot (10, 1)

}  // namespace pw::res
