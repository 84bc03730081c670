#include "platform/fonts/face_match.h"

#include <fontconfig/fontconfig.h>

#include <QDir>
#include <QFileInfo>
#include <QString>

#include <memory>
#include <mutex>

namespace pw::platform {
namespace {

struct ConfigDeleter {
  void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};
struct PatternDeleter {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

// The system's fonts and Wine's, loaded once.
FcConfig* Config() {
  static const std::unique_ptr<FcConfig, ConfigDeleter> config([] {
    FcConfig* c = FcInitLoadConfigAndFonts();
    if (c == nullptr) return c;
    // File by file: a folder added whole goes through the system's rules,
    // which turn bitmap faces away.
    for (const char* dir : kWineFontDirs) {
      for (const QFileInfo& file : QDir(QString::fromUtf8(dir)).entryInfoList(QDir::Files)) {
        FcConfigAppFontAddFile(c, reinterpret_cast<const FcChar8*>(file.absoluteFilePath().toUtf8().constData()));
      }
    }
    return c;
  }());
  return config.get();
}

}  // namespace

std::optional<FaceMatch> MatchFace(const QString& face, double points) {
  static std::mutex mutex;  // an FcConfig is not safe to share between threads
  const std::lock_guard lock(mutex);
  FcConfig* config = Config();
  if (config == nullptr) return std::nullopt;
  const PatternPtr pattern(FcPatternCreate());
  const QByteArray family = face.toUtf8();
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.constData()));
  FcPatternAddDouble(pattern.get(), FC_SIZE, points);
  FcPatternAddDouble(pattern.get(), FC_DPI, 96.0);
  FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  const PatternPtr match(FcFontMatch(config, pattern.get(), &result));
  if (!match) return std::nullopt;
  FcChar8* matched_family = nullptr;
  FcChar8* file = nullptr;
  FaceMatch out;
  if (FcPatternGetString(match.get(), FC_FAMILY, 0, &matched_family) != FcResultMatch ||
      FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch ||
      FcPatternGetDouble(match.get(), FC_PIXEL_SIZE, 0, &out.pixel_size) != FcResultMatch) {
    return std::nullopt;
  }
  out.family = QString::fromUtf8(reinterpret_cast<const char*>(matched_family));
  out.file = QString::fromUtf8(reinterpret_cast<const char*>(file));
  return out;
}

}  // namespace pw::platform
