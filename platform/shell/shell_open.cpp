#include "platform/shell/shell_open.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include <mutex>

namespace pw::platform {
namespace {

std::mutex g_mutex;
std::function<bool(const std::string&)> g_opener;

bool XdgOpen(const std::string& target) {
  return QProcess::startDetached("xdg-open", QStringList{QString::fromStdString(target)});
}

}  // namespace

bool ShellOpen(const std::string& target) {
  std::function<bool(const std::string&)> opener;
  {
    std::lock_guard lock(g_mutex);
    opener = g_opener;
  }
  return opener ? opener(target) : XdgOpen(target);
}

void SetShellOpener(std::function<bool(const std::string&)> opener) {
  std::lock_guard lock(g_mutex);
  g_opener = std::move(opener);
}

}  // namespace pw::platform
