#pragma once

#include <QIcon>

namespace zorvane {

// The program icon (resource 128) in every size a window or desktop entry asks for.
QIcon ProgramIconSet();

}  // namespace zorvane
