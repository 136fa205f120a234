#include "app/GlobalHotKeys.h"

#include "platform/linux/X11HotKeys.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

namespace zorvane {
namespace {

// The X11 key symbol of a letter or function key: lower-case letters are their ASCII codes.
xcb_keysym_t KeysymOf(Qt::Key key)
{
    constexpr xcb_keysym_t kF1 = 0xFFBE;
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<xcb_keysym_t>('a' + (key - Qt::Key_A));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return static_cast<xcb_keysym_t>(kF1 + (key - Qt::Key_F1));
    return 0;
}

std::unique_ptr<X11HotKeys> RootWindowGrabs(std::function<void(int)> onHotKey)
{
    // Offscreen and other platforms may offer an X11 interface without a connection.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return nullptr;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    auto grabs = std::make_unique<X11HotKeys>(connection, root, std::move(onHotKey));
    QCoreApplication::instance()->installNativeEventFilter(grabs.get());
    return grabs;
}

}  // namespace

GlobalHotKeys::GlobalHotKeys(QWidget* window, std::function<void(int id)> onHotKey)
    : window_(window)
    , onHotKey_(std::move(onHotKey))
    , x11_(RootWindowGrabs(onHotKey_))
{
}

GlobalHotKeys::~GlobalHotKeys()
{
    if (x11_)
        QCoreApplication::instance()->removeNativeEventFilter(x11_.get());
}

void GlobalHotKeys::Register(int id, Qt::Key key)
{
    if (x11_ && x11_->Grab(id, KeysymOf(key)))
        return;
    auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | key), window_);  // owned by the window
    shortcut->setContext(Qt::ApplicationShortcut);
    QObject::connect(shortcut, &QShortcut::activated, window_, [onHotKey = onHotKey_, id] { onHotKey(id); });
}

}  // namespace zorvane
