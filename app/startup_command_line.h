#pragma once
// The one command word the program knows.
#include <QStringList>

namespace pw::app {

// The first plain parameter: the first argument after the program name
// that is not a switch (starting with '-' or '/'); empty when there is none.
QString FirstPlainParameter(const QStringList& arguments);

// True only when the first plain parameter is exactly "quick" (case
// matters, the whole word).
bool AsksForQuickStart(const QStringList& arguments);

}  // namespace pw::app
