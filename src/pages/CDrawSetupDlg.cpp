#include "pages/CDrawSetupDlg.h"

namespace zorvane {

CDrawSetupDlg::CDrawSetupDlg(const DrawSettings& settings, QWidget* parent) : QDialog(parent), settings_(settings)
{
}

std::optional<DrawSettings> RunDrawSetup(QWidget* parent, const DrawSettings& settings)
{
    CDrawSetupDlg dialog(settings, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.settings();
}

}  // namespace zorvane
