#pragma once

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QSize>

#include <functional>

class QEvent;
class QScreen;
class QWidget;
class QWindow;

namespace zorvane {

// Tells `report` the size of the screen that holds a top-level widget: at once, and again whenever
// the widget's native window is made or remade, moves to another screen, or that screen's geometry
// changes, each new size once. UI thread only; `window` must outlive this.
class ScreenOfWindow : public QObject {
public:
    ScreenOfWindow(QWidget& window, std::function<void(QSize)> report);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FollowNativeWindow();
    void Watch(QScreen* screen);
    void Report();

    QWidget& window_;
    const std::function<void(QSize)> report_;
    QPointer<QWindow> nativeWindow_;
    QPointer<QScreen> screen_;
    QMetaObject::Connection screenMoves_;
    QMetaObject::Connection geometryChanges_;
    QSize reported_;
};

}  // namespace zorvane
