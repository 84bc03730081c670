#include "platform/shell/process_launch.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <mutex>

namespace pw::platform {
namespace {

std::mutex g_launcher_mutex;
ProgramLauncher g_launcher;

}  // namespace

bool StartDetachedProcess(const std::string& program, const std::vector<std::string>& arguments) {
  // Everything exec needs is made before fork: only async-signal-safe calls
  // happen in the children.
  std::vector<std::string> words;
  words.push_back(program);
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (auto& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  // The grandchild reports a failed exec through a close-on-exec pipe: an
  // empty read means the program started.
  int status_pipe[2];
  if (::pipe2(status_pipe, O_CLOEXEC) != 0) return false;

  const pid_t child = ::fork();
  if (child < 0) {
    ::close(status_pipe[0]);
    ::close(status_pipe[1]);
    return false;
  }
  if (child == 0) {
    ::close(status_pipe[0]);
    ::setsid();
    const pid_t grandchild = ::fork();
    if (grandchild == 0) {
      ::execv(program.c_str(), argv.data());
      const int error = errno;
      (void)::write(status_pipe[1], &error, sizeof error);
      ::_exit(127);
    }
    ::_exit(grandchild < 0 ? 1 : 0);
  }
  ::close(status_pipe[1]);
  int child_status = 0;
  while (::waitpid(child, &child_status, 0) < 0 && errno == EINTR) {
  }
  int exec_error = 0;
  ssize_t n;
  do {
    n = ::read(status_pipe[0], &exec_error, sizeof exec_error);
  } while (n < 0 && errno == EINTR);
  ::close(status_pipe[0]);
  return WIFEXITED(child_status) && WEXITSTATUS(child_status) == 0 && n == 0;
}

std::string SiblingProgramPath(const std::string& name) {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return name;
  return (self.parent_path() / name).string();
}

void SetProgramLauncher(ProgramLauncher launcher) {
  std::lock_guard lock(g_launcher_mutex);
  g_launcher = std::move(launcher);
}

bool StartProgram(const std::string& program, const std::vector<std::string>& arguments) {
  ProgramLauncher launcher;
  {
    std::lock_guard lock(g_launcher_mutex);
    launcher = g_launcher;
  }
  return launcher ? launcher(program, arguments) : StartDetachedProcess(program, arguments);
}

}  // namespace pw::platform
