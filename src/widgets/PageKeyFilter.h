#pragma once

class QWidget;

namespace zorvane {

// Escape and Enter that reach `page` (pressed on the page or on a control of it that leaves them) are
// swallowed, so neither key ends the page or the window it sits in.
void SwallowPageEndingKeys(QWidget& page);

}  // namespace zorvane
