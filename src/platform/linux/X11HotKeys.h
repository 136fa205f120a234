#pragma once

#include <QAbstractNativeEventFilter>

#include <xcb/xcb.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace zorvane {

// Global Alt+key hot keys on X11: key grabs on the root window, so they act whichever client has the
// focus. Install it as the application's native event filter; it takes the key presses it grabbed and
// hands their ids to `onHotKey`. Ungrabs everything when destroyed.
class X11HotKeys final : public QAbstractNativeEventFilter {
public:
    X11HotKeys(xcb_connection_t* connection, xcb_window_t root, std::function<void(int id)> onHotKey);
    ~X11HotKeys() override;
    X11HotKeys(const X11HotKeys&) = delete;
    X11HotKeys& operator=(const X11HotKeys&) = delete;

    // Grabs Alt + the key of `keysym` under `id`; false when no key carries the symbol or another
    // client holds the combination already.
    bool Grab(int id, xcb_keysym_t keysym);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    struct Grabbed {
        int id;
        xcb_keycode_t keycode;
    };

    xcb_connection_t* const connection_;
    const xcb_window_t root_;
    const std::function<void(int)> onHotKey_;
    std::vector<Grabbed> grabbed_;
};

}  // namespace zorvane
