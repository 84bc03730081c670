#include "platform/clipboard/desktop_clipboard.h"

#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QString>

#include <algorithm>

#include "platform/limits/limits.h"

namespace pw::clipboard {

tl::expected<std::vector<std::byte>, ClipboardProblem> ReadDesktopEnhMetafile() {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return tl::unexpected(ClipboardProblem::Empty);
  const QMimeData* offer = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
  if (!offer) return tl::unexpected(ClipboardProblem::Empty);
  for (std::string_view format : kDesktopEmfFormats) {
    const QString name = QString::fromLatin1(format.data(), static_cast<qsizetype>(format.size()));
    if (!offer->hasFormat(name)) continue;
    // The selection is transferred whole before its size is known; what
    // is past the bound is dropped here, before any copy of it is made.
    const QByteArray data = offer->data(name);
    if (data.isEmpty()) continue;
    if (data.size() > limits::kMetafileBytes.value) return tl::unexpected(ClipboardProblem::TooLarge);
    std::vector<std::byte> bytes(static_cast<std::size_t>(data.size()));
    std::transform(data.begin(), data.end(), bytes.begin(), [](char c) { return static_cast<std::byte>(c); });
    return bytes;
  }
  return tl::unexpected(ClipboardProblem::Empty);
}

}  // namespace pw::clipboard
