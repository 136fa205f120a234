#include "pages/CCal9ViewDlg.h"

namespace zorvane {

CCal9ViewDlg::CCal9ViewDlg(QWidget* parent, TargetPointerFactory) : QDialog(parent) {}

void CCal9ViewDlg::Start() {}

}  // namespace zorvane
