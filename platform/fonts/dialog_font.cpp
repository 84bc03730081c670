#include "platform/fonts/dialog_font.h"

#include <QFontDatabase>
#include <QGuiApplication>

#include <cmath>

#include "platform/fonts/face_match.h"

namespace pw::platform {
namespace {

struct Choice {
  QString family;  // empty: the application's own
  int pixel_size = 11;
};

Choice MatchedChoice() {
  const std::optional<FaceMatch> match = MatchFace(QStringLiteral("MS Sans Serif"), 8.0);
  if (!match) return {};
  QString family = match->family;
  if (!QFontDatabase::hasFamily(family)) {
    const QStringList added = QFontDatabase::applicationFontFamilies(QFontDatabase::addApplicationFont(match->file));
    if (added.isEmpty()) return {};
    family = added.front();
  }
  return {family, static_cast<int>(std::lround(match->pixel_size))};
}

}  // namespace

QFont DialogFont() {
  static const Choice choice = MatchedChoice();
  QFont font = QGuiApplication::font();
  if (!choice.family.isEmpty()) font.setFamily(choice.family);
  font.setPixelSize(choice.pixel_size);
  return font;
}

}  // namespace pw::platform
