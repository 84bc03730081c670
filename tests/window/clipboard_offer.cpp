// Offers data on the desktop's clipboard until it is ended: for each pair
// FORMAT FILE the file's bytes under that format. Writes READY_FILE once
// the clipboard is set. A stand-in for another program that copied something.
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>

#include <cstdio>
#include <memory>

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  const QStringList arguments = QGuiApplication::arguments();
  if (arguments.size() < 4 || arguments.size() % 2 != 0) {
    std::fprintf(stderr, "usage: clipboard-offer READY_FILE FORMAT FILE [FORMAT FILE...]\n");
    return 2;
  }
  auto data = std::make_unique<QMimeData>();
  for (qsizetype i = 2; i + 1 < arguments.size(); i += 2) {
    QFile file(arguments[i + 1]);
    if (!file.open(QIODevice::ReadOnly)) {
      std::fprintf(stderr, "clipboard-offer: %s cannot be read\n", qPrintable(arguments[i + 1]));
      return 1;
    }
    data->setData(arguments[i], file.readAll());
  }
  QGuiApplication::clipboard()->setMimeData(data.release());
  QFile ready(arguments[1]);
  if (!ready.open(QIODevice::WriteOnly)) return 1;
  ready.close();
  return QGuiApplication::exec();
}
