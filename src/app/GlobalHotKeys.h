#pragma once

#include <Qt>

#include <functional>
#include <memory>

class QWidget;

namespace zorvane {

class X11HotKeys;

// Alt+key hot keys that act for as long as their window exists: key grabs on the X11 root window where
// the display is X11 (they act whichever program has the focus), application-wide shortcuts elsewhere and
// for a combination that another X11 client holds already.
class GlobalHotKeys {
public:
    GlobalHotKeys(QWidget* window, std::function<void(int id)> onHotKey);
    ~GlobalHotKeys();
    GlobalHotKeys(const GlobalHotKeys&) = delete;
    GlobalHotKeys& operator=(const GlobalHotKeys&) = delete;

    // Alt + `key` (a letter or a function key) reports `id`.
    void Register(int id, Qt::Key key);

private:
    QWidget* const window_;
    const std::function<void(int)> onHotKey_;
    std::unique_ptr<X11HotKeys> x11_;
};

}  // namespace zorvane
