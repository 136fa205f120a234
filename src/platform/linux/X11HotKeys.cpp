#include "platform/linux/X11HotKeys.h"

#include <xcb/xcb_keysyms.h>

#include <QByteArray>

#include <array>
#include <cstdlib>
#include <memory>

namespace zorvane {
namespace {

// Caps Lock and Num Lock change the modifier state; the grab has to cover each combination of them.
constexpr std::uint16_t kNumLock = XCB_MOD_MASK_2;
constexpr std::array<std::uint16_t, 4> kLockVariants{0, XCB_MOD_MASK_LOCK, kNumLock, XCB_MOD_MASK_LOCK | kNumLock};
constexpr std::uint16_t kHotKeyModifier = XCB_MOD_MASK_1;  // Alt
constexpr std::uint16_t kModifiersThatCount =
    XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4;

xcb_keycode_t KeycodeOf(xcb_connection_t* connection, xcb_keysym_t keysym)
{
    const std::unique_ptr<xcb_key_symbols_t, decltype(&xcb_key_symbols_free)> symbols(xcb_key_symbols_alloc(connection),
                                                                                     xcb_key_symbols_free);
    if (!symbols)
        return XCB_NO_SYMBOL;
    const std::unique_ptr<xcb_keycode_t, decltype(&std::free)> codes(
        xcb_key_symbols_get_keycode(symbols.get(), keysym), std::free);
    return codes ? codes.get()[0] : static_cast<xcb_keycode_t>(XCB_NO_SYMBOL);
}

}  // namespace

X11HotKeys::X11HotKeys(xcb_connection_t* connection, xcb_window_t root, std::function<void(int id)> onHotKey)
    : connection_(connection)
    , root_(root)
    , onHotKey_(std::move(onHotKey))
{
}

X11HotKeys::~X11HotKeys()
{
    for (const Grabbed& grabbed : grabbed_) {
        for (const std::uint16_t locks : kLockVariants)
            xcb_ungrab_key(connection_, grabbed.keycode, root_, kHotKeyModifier | locks);
    }
    xcb_flush(connection_);
}

bool X11HotKeys::Grab(int id, xcb_keysym_t keysym)
{
    const xcb_keycode_t keycode = KeycodeOf(connection_, keysym);
    if (keycode == XCB_NO_SYMBOL)
        return false;
    bool refused = false;
    for (const std::uint16_t locks : kLockVariants) {
        const auto cookie = xcb_grab_key_checked(connection_, 0, root_, kHotKeyModifier | locks, keycode,
                                                 XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        if (xcb_generic_error_t* error = xcb_request_check(connection_, cookie)) {
            refused = true;
            std::free(error);
        }
    }
    if (refused) {
        for (const std::uint16_t locks : kLockVariants)
            xcb_ungrab_key(connection_, keycode, root_, kHotKeyModifier | locks);
        xcb_flush(connection_);
        return false;
    }
    grabbed_.push_back({id, keycode});
    return true;
}

bool X11HotKeys::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const auto type = event->response_type & ~0x80;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
        return false;
    const auto* key = static_cast<const xcb_key_press_event_t*>(message);
    if ((key->state & kModifiersThatCount) != kHotKeyModifier)
        return false;
    for (const Grabbed& grabbed : grabbed_) {
        if (grabbed.keycode != key->detail)
            continue;
        if (type == XCB_KEY_PRESS)
            onHotKey_(grabbed.id);
        return true;  // the release belongs to the hot key as well
    }
    return false;
}

}  // namespace zorvane
