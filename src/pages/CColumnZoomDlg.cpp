#include "pages/CColumnZoomDlg.h"

#include "signal/StartAcquisition.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

namespace zorvane {

CColumnZoomDlg::CColumnZoomDlg(QWidget* parent)
    : CTestViewBaseDlg(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("CColumnZoomDlg"));
}

void CColumnZoomDlg::OnInitDialog()
{
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    const QScreen* screen = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen->geometry();
    setGeometry(area);
    setWindowState(Qt::WindowFullScreen);
    chart().Layout(area.width(), area.height());
    PrepareChart(chart());
    StartWorker();
}

void CColumnZoomDlg::done(int result)
{
    StopWorker();
    CTestViewBaseDlg::done(result);
}

void CColumnZoomDlg::OnLeftDoubleClick(QPoint) { accept(); }

void CColumnZoomDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return;
    CTestViewBaseDlg::keyPressEvent(event);  // Esc rejects
}

}  // namespace zorvane
