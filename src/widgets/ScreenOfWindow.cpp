#include "widgets/ScreenOfWindow.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <utility>

namespace zorvane {

ScreenOfWindow::ScreenOfWindow(QWidget& window, std::function<void(QSize)> report)
    : window_(window)
    , report_(std::move(report))
{
    window_.installEventFilter(this);
    FollowNativeWindow();
}

// A widget gets its native window only when first shown (or made), and gets a new one when it is
// recreated; only the native window says when it moves to another screen.
bool ScreenOfWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &window_ && event->type() == QEvent::WinIdChange)
        FollowNativeWindow();
    return false;
}

void ScreenOfWindow::FollowNativeWindow()
{
    QWindow* const native = window_.windowHandle();
    if (native != nativeWindow_) {
        QObject::disconnect(screenMoves_);
        nativeWindow_ = native;
        if (native)
            screenMoves_ = connect(native, &QWindow::screenChanged, this, [this](QScreen* screen) { Watch(screen); });
    }
    Watch(window_.screen());
}

void ScreenOfWindow::Watch(QScreen* screen)
{
    if (screen != screen_) {
        QObject::disconnect(geometryChanges_);
        screen_ = screen;
        if (screen)
            geometryChanges_ = connect(screen, &QScreen::geometryChanged, this, [this] { Report(); });
    }
    Report();
}

void ScreenOfWindow::Report()
{
    if (!screen_ || screen_->size() == reported_)
        return;
    reported_ = screen_->size();
    report_(reported_);
}

}  // namespace zorvane
