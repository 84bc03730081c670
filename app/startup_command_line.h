#pragma once
// The one command word the program knows, and the files it opens.
#include <QStringList>

#include <string>
#include <vector>

namespace pw::app {

// The first plain parameter: the first argument after the program name
// that is not a switch (starting with '-' or '/'); empty when there is none.
QString FirstPlainParameter(const QStringList& arguments);

// True only when the first plain parameter is exactly "quick" (case
// matters, the whole word).
bool AsksForQuickStart(const QStringList& arguments);

// The files to open: every argument after the program name that is not a
// switch (starting with '-'), made absolute; none when the command word is
// "quick", which keeps its meaning.
std::vector<std::string> FileArguments(const QStringList& arguments);

}  // namespace pw::app
