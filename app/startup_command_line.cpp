#include "app/startup_command_line.h"

#include <QFile>
#include <QFileInfo>

namespace pw::app {

QString FirstPlainParameter(const QStringList& arguments) {
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (argument.startsWith(u'-') || argument.startsWith(u'/')) continue;
    return argument;
  }
  return {};
}

bool AsksForQuickStart(const QStringList& arguments) {
  return FirstPlainParameter(arguments) == QLatin1String("quick");
}

std::vector<std::string> FileArguments(const QStringList& arguments) {
  std::vector<std::string> files;
  if (AsksForQuickStart(arguments)) return files;
  // An absolute path starts with '/', which is no switch here.
  for (qsizetype i = 1; i < arguments.size(); ++i)
    if (!arguments[i].startsWith(u'-')) files.push_back(QFile::encodeName(QFileInfo(arguments[i]).absoluteFilePath()).toStdString());
  return files;
}

}  // namespace pw::app
