#pragma once
// Starting another program, detached from this one, as the shell's "open"
// verb does.
#include <functional>
#include <string>
#include <vector>

namespace pw::platform {

// Starts `program` with `arguments` in a process of its own that outlives
// this one; true when the program could be started.
bool StartDetachedProcess(const std::string& program, const std::vector<std::string>& arguments);

// The main program beside the running one: the `pagewick` file in the
// folder of /proc/self/exe.
std::string SiblingProgramPath(const std::string& name = "pagewick");

// How StartProgram starts programs; tests install a recording launcher.
using ProgramLauncher = std::function<bool(const std::string& program, const std::vector<std::string>& arguments)>;
void SetProgramLauncher(ProgramLauncher launcher);

// Starts a program through the installed launcher (StartDetachedProcess
// unless one was set).
bool StartProgram(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace pw::platform
