#pragma once

#include <QColor>

namespace zorvane::palette {

// The colours every window shares: the four drawing colours (blue is also the title bar's), the page
// background and the line colour.
inline const QColor kRed{240, 64, 30};
inline const QColor kGreen{92, 193, 24};
inline const QColor kOrange{250, 138, 18};
inline const QColor kBlue{25, 134, 199};
inline const QColor kPageBackground{241, 248, 252};
inline const QColor kLine{216, 224, 230};

}  // namespace zorvane::palette
