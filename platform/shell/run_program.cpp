#include "platform/shell/run_program.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace pw::platform {

std::optional<ProgramResult> RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                                        int timeout_ms) {
  QStringList words;
  for (const std::string& argument : arguments) words << QString::fromStdString(argument);
  QProcess process;
  process.setStandardInputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  process.start(QString::fromStdString(program), words);
  if (!process.waitForStarted(timeout_ms)) return std::nullopt;
  if (!process.waitForFinished(timeout_ms)) {
    process.kill();
    process.waitForFinished(1000);
    return std::nullopt;
  }
  if (process.exitStatus() != QProcess::NormalExit) return std::nullopt;
  return ProgramResult{process.exitCode(), process.readAllStandardOutput().toStdString()};
}

bool ProgramOnPath(const std::string& program) {
  return !QStandardPaths::findExecutable(QString::fromStdString(program)).isEmpty();
}

}  // namespace pw::platform
