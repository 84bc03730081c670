#pragma once
// Running a program to its end and taking what it printed, for the
// desktop's own command-line tools (xdg-mime, gsettings, …).
#include <optional>
#include <string>
#include <vector>

namespace pw::platform {

struct ProgramResult {
  int exit_code = -1;
  std::string output;  // standard output; standard error is dropped
};

// The program is found on PATH unless it names a path. Nothing when it
// cannot be started, crashes or is still running after timeout_ms (it is
// then killed).
std::optional<ProgramResult> RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                                        int timeout_ms = 10000);

// Whether a program of that name is on PATH.
bool ProgramOnPath(const std::string& program);

}  // namespace pw::platform
