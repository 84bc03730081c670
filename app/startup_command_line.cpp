#include "app/startup_command_line.h"

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

}  // namespace pw::app
