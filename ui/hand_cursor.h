#pragma once
// The hand cursor (cursor 132) that the command panel, the thumbnail strip
// and the hatch settings dialog show over their active areas.
#include <QCursor>

namespace pw::ui {

// Loads the shared hand cursor; start-up does this once.
void LoadHandCursor();

// The shared hand cursor (loaded on first use if start-up has not).
const QCursor& HandCursor();

}  // namespace pw::ui
