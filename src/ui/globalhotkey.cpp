#include "ui/globalhotkey.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QKeySequence>
#include <QStringList>

#if defined(Q_OS_WIN)
#include <qt_windows.h>
#ifndef MOD_NOREPEAT
#define MOD_NOREPEAT 0x4000
#endif
#elif QT_CONFIG(xcb)
#include <QGuiApplication>
#include <algorithm>
#include <cstdlib>
#include <vector>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
#endif

namespace {

[[maybe_unused]] QString unavailableText()
{
    return GlobalHotkey::tr("Global hotkeys are not available on this desktop (Wayland or no X11 display)");
}

[[maybe_unused]] QString takenText(const QString &keys)
{
    return GlobalHotkey::tr("The hotkey %1 is used by another program").arg(keys);
}

[[maybe_unused]] QString noKeyText(const QString &keys)
{
    return GlobalHotkey::tr("The key of the hotkey %1 is not on this keyboard").arg(keys);
}

// Only keys that stand for a Latin-1 character are mapped to the system's key codes.
[[maybe_unused]] bool isCharacterKey(Qt::Key key)
{
    return key >= 0x20 && key <= 0xff;
}

} // namespace

#if defined(Q_OS_WIN)

// A thread hotkey (no window): WM_HOTKEY arrives in the thread's queue, where
// Qt's event dispatcher shows it to the native event filters.
class GlobalHotkey::NativeGrab : public QAbstractNativeEventFilter
{
public:
    static std::unique_ptr<NativeGrab> create(GlobalHotkey *hotkey, Qt::KeyboardModifiers keyModifiers,
                                              Qt::Key key, QString *failure)
    {
        const QString keys = keyText(keyModifiers, key);
        const SHORT scan = isCharacterKey(key) ? VkKeyScanW(wchar_t(key)) : SHORT(-1);
        if (scan == -1) {
            *failure = noKeyText(keys);
            return {};
        }
        // Holding the keys down must not toggle the window over and over.
        UINT mods = MOD_NOREPEAT;
        if (keyModifiers & Qt::ShiftModifier)
            mods |= MOD_SHIFT;
        if (keyModifiers & Qt::ControlModifier)
            mods |= MOD_CONTROL;
        if (keyModifiers & Qt::AltModifier)
            mods |= MOD_ALT;
        if (keyModifiers & Qt::MetaModifier)
            mods |= MOD_WIN;
        if (!RegisterHotKey(nullptr, hotkey->id(), mods, LOBYTE(scan))) {
            *failure = takenText(keys);
            return {};
        }
        return std::unique_ptr<NativeGrab>(new NativeGrab(hotkey));
    }

    ~NativeGrab() override
    {
        UnregisterHotKey(nullptr, owner->id());
        if (QCoreApplication *app = QCoreApplication::instance())
            app->removeNativeEventFilter(this);
    }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
        if (eventType != "windows_generic_MSG")
            return false;
        const MSG *msg = static_cast<const MSG *>(message);
        if (msg->message != WM_HOTKEY || msg->hwnd != nullptr || int(msg->wParam) != owner->id())
            return false;
        emit owner->activated(owner->id());
        return true;
    }

private:
    explicit NativeGrab(GlobalHotkey *hotkey) : owner(hotkey)
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }

    GlobalHotkey *owner;
};

#elif QT_CONFIG(xcb)

namespace {

// CapsLock and NumLock must not keep the combination from working, so every
// grab is repeated with them.
constexpr uint16_t lockVariants[] = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2,
                                     XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};
constexpr uint16_t modifierMask = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4;

uint16_t x11Modifiers(Qt::KeyboardModifiers modifiers)
{
    uint16_t mods = 0;
    if (modifiers & Qt::ShiftModifier)
        mods |= XCB_MOD_MASK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        mods |= XCB_MOD_MASK_CONTROL;
    if (modifiers & Qt::AltModifier)
        mods |= XCB_MOD_MASK_1;
    if (modifiers & Qt::MetaModifier)
        mods |= XCB_MOD_MASK_4;
    return mods;
}

std::vector<xcb_keycode_t> keycodesOf(xcb_connection_t *connection, Qt::Key key)
{
    std::vector<xcb_keycode_t> keycodes;
    if (!isCharacterKey(key))
        return keycodes;
    // Latin-1 keysyms equal their characters; letters are found as lower case.
    const xcb_keysym_t keysym = QChar(key).toLower().unicode();
    xcb_key_symbols_t *symbols = xcb_key_symbols_alloc(connection);
    if (xcb_keycode_t *found = xcb_key_symbols_get_keycode(symbols, keysym)) {
        for (const xcb_keycode_t *code = found; *code != XCB_NO_SYMBOL; ++code)
            keycodes.push_back(*code);
        std::free(found);
    }
    xcb_key_symbols_free(symbols);
    return keycodes;
}

std::vector<xcb_window_t> rootWindows(xcb_connection_t *connection)
{
    std::vector<xcb_window_t> roots;
    for (auto it = xcb_setup_roots_iterator(xcb_get_setup(connection)); it.rem; xcb_screen_next(&it))
        roots.push_back(it.data->root);
    return roots;
}

template <typename T>
bool contains(const std::vector<T> &values, T value)
{
    return std::find(values.begin(), values.end(), value) != values.end();
}

} // namespace

// A passive key grab on every root window; the key events then come to Qt's
// own connection and are picked out of it by the native event filter.
class GlobalHotkey::NativeGrab : public QAbstractNativeEventFilter
{
public:
    static std::unique_ptr<NativeGrab> create(GlobalHotkey *hotkey, Qt::KeyboardModifiers keyModifiers,
                                              Qt::Key key, QString *failure)
    {
        auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
        if (!x11) {
            *failure = unavailableText();
            return {};
        }
        const QString keys = keyText(keyModifiers, key);
        xcb_connection_t *x11Connection = x11->connection();
        std::vector<xcb_keycode_t> codes = keycodesOf(x11Connection, key);
        if (codes.empty()) {
            *failure = noKeyText(keys);
            return {};
        }
        std::unique_ptr<NativeGrab> grab(
            new NativeGrab(hotkey, x11Connection, x11Modifiers(keyModifiers), std::move(codes)));
        const uint8_t error = grab->grabAll();
        if (error == XCB_ACCESS) {
            *failure = takenText(keys);
            return {};
        }
        if (error != 0) {
            *failure =
                GlobalHotkey::tr("The hotkey %1 could not be registered (X11 error %2)").arg(keys).arg(error);
            return {};
        }
        QCoreApplication::instance()->installNativeEventFilter(grab.get());
        return grab;
    }

    // Also undoes the part of a failed grabAll() that succeeded: an ungrab
    // touches only this client's own grabs.
    ~NativeGrab() override
    {
        if (!qGuiApp)
            return;
        qGuiApp->removeNativeEventFilter(this);
        for (xcb_window_t root : roots)
            for (xcb_keycode_t keycode : keycodes)
                for (uint16_t lock : lockVariants)
                    xcb_ungrab_key(connection, keycode, root, modifiers | lock);
        // A round trip: once it returns, the server has released the keys, so
        // another program (or a new grab) that asks right after gets them.
        std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        const uint8_t type = event->response_type & 0x7f;
        if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
            return false;
        const auto *keyEvent = reinterpret_cast<const xcb_key_press_event_t *>(event);
        if (!contains(roots, keyEvent->event) || !contains(keycodes, keyEvent->detail))
            return false;
        // The release may come with other modifiers (Shift let go first), so
        // only the press is matched against them. Presses repeated while the
        // key is held are swallowed, so holding it does not toggle the window.
        if (type == XCB_KEY_RELEASE) {
            held = false;
            return true;
        }
        if ((keyEvent->state & modifierMask) != modifiers)
            return false;
        if (!held) {
            held = true;
            emit owner->activated(owner->id());
        }
        return true;
    }

private:
    NativeGrab(GlobalHotkey *hotkey, xcb_connection_t *x11Connection, uint16_t mask,
               std::vector<xcb_keycode_t> codes)
        : owner(hotkey), connection(x11Connection), modifiers(mask), keycodes(std::move(codes)),
          roots(rootWindows(x11Connection))
    {
    }

    // Returns 0, or the X error code of the first grab that was refused
    // (XCB_ACCESS when another client holds the combination).
    uint8_t grabAll()
    {
        std::vector<xcb_void_cookie_t> cookies;
        for (xcb_window_t root : roots)
            for (xcb_keycode_t keycode : keycodes)
                for (uint16_t lock : lockVariants)
                    cookies.push_back(xcb_grab_key_checked(connection, 0, root, modifiers | lock, keycode,
                                                           XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        uint8_t firstError = 0;
        for (xcb_void_cookie_t cookie : cookies) {
            if (xcb_generic_error_t *error = xcb_request_check(connection, cookie)) {
                if (firstError == 0)
                    firstError = error->error_code;
                std::free(error);
            }
        }
        return firstError;
    }

    GlobalHotkey *owner;
    xcb_connection_t *connection;
    uint16_t modifiers;
    std::vector<xcb_keycode_t> keycodes;
    std::vector<xcb_window_t> roots;
    bool held = false;
};

#else

class GlobalHotkey::NativeGrab
{
public:
    static std::unique_ptr<NativeGrab> create(GlobalHotkey *, Qt::KeyboardModifiers, Qt::Key,
                                              QString *failure)
    {
        *failure = unavailableText();
        return {};
    }
};

#endif

GlobalHotkey::GlobalHotkey(int id, Qt::KeyboardModifiers modifiers, Qt::Key key, QObject *parent)
    : QObject(parent), hotkeyId(id)
{
    grab = NativeGrab::create(this, modifiers, key, &failure);
}

GlobalHotkey::~GlobalHotkey() = default;

QString GlobalHotkey::keyText(Qt::KeyboardModifiers modifiers, Qt::Key key)
{
    QStringList parts;
    if (modifiers & Qt::ShiftModifier)
        parts << QStringLiteral("Shift");
    if (modifiers & Qt::ControlModifier)
        parts << QStringLiteral("Ctrl");
    if (modifiers & Qt::AltModifier)
        parts << QStringLiteral("Alt");
    if (modifiers & Qt::MetaModifier)
        parts << QStringLiteral("Meta");
    parts << QKeySequence(key).toString(QKeySequence::PortableText);
    return parts.join(QLatin1Char('+'));
}
