#include "res/resources.h"

#include "res/resource_ids.h"

namespace pw::res {

QIcon MainIcon() { return QIcon(QString::fromLatin1(kMainIconPath)); }

QPixmap SplashBitmap() { return QPixmap(QString::fromLatin1(kSplashBitmapPath)); }

}  // namespace pw::res
