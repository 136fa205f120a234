#include "pages/CCalViewDlg.h"

namespace zorvane {

CCalViewDlg::CCalViewDlg(QWidget* parent, TargetPointerFactory) : QDialog(parent) {}

void CCalViewDlg::Start() {}

}  // namespace zorvane
