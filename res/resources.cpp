#include "res/resources.h"

#include "res/resource_ids.h"

namespace pw::res {

QIcon MainIcon() { return QIcon(QString::fromLatin1(kMainIconPath)); }

QPixmap SplashBitmap() { return QPixmap(QString::fromLatin1(kSplashBitmapPath)); }

QPixmap ButtonBitmap(int id) {
  if (id < kFirstButtonBitmap || id > kLastButtonBitmap) return {};
  return QPixmap(QStringLiteral(":/pagewick/bitmaps/button%1.png").arg(id));
}

QPixmap HandCursorImage() { return QPixmap(QString::fromLatin1(kHandCursorPath)); }

}  // namespace pw::res
