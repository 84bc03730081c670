#pragma once
#include <QWidget>

namespace pw::ui {

// Centres a top-level window on the available area of its screen (the
// primary one before it is shown).
void CentreOnScreen(QWidget& window);

}  // namespace pw::ui
