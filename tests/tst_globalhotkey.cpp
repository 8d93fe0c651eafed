#include "ui/globalhotkey.h"

#include <QGuiApplication>
#include <QtTest>

#include <memory>

#if QT_CONFIG(xcb)
#include <cstdlib>
#include <vector>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

namespace {

constexpr uint16_t ShiftAlt = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_1;

// Another program on the same display: a connection of its own that tries
// to take Shift+Alt+S for itself.
class OtherClient
{
public:
    OtherClient() : connection(xcb_connect(nullptr, nullptr))
    {
        root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
        xcb_key_symbols_t *symbols = xcb_key_symbols_alloc(connection);
        xcb_keycode_t *codes = xcb_key_symbols_get_keycode(symbols, 's');
        keycode = codes ? codes[0] : XCB_NO_SYMBOL;
        std::free(codes);
        xcb_key_symbols_free(symbols);
    }
    ~OtherClient() { xcb_disconnect(connection); }

    bool grab(uint16_t lock = 0)
    {
        xcb_void_cookie_t cookie = xcb_grab_key_checked(connection, 0, root, ShiftAlt | lock, keycode,
                                                        XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        xcb_generic_error_t *error = xcb_request_check(connection, cookie);
        std::free(error);
        return error == nullptr;
    }

    void ungrabAll()
    {
        xcb_ungrab_key(connection, keycode, root, XCB_MOD_MASK_ANY);
        xcb_flush(connection);
    }

    bool usable() const { return !xcb_connection_has_error(connection) && keycode != XCB_NO_SYMBOL; }

private:
    xcb_connection_t *connection;
    xcb_window_t root = 0;
    xcb_keycode_t keycode = 0;
};

} // namespace
#endif

class TestGlobalHotkey : public QObject
{
    Q_OBJECT

private slots:
    void keyText();
    void refusedWithoutX11();
    void registersOnX11();
    void takenCombinationIsRefused();
};

void TestGlobalHotkey::keyText()
{
    QCOMPARE(GlobalHotkey::keyText(Qt::ShiftModifier | Qt::AltModifier, Qt::Key_S),
             QStringLiteral("Shift+Alt+S"));
}

void TestGlobalHotkey::refusedWithoutX11()
{
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        QSKIP("an X11 display is available");
    GlobalHotkey hotkey(1, Qt::ShiftModifier | Qt::AltModifier, Qt::Key_S);
    QVERIFY(!hotkey.registered());
    QVERIFY(!hotkey.failureText().isEmpty());
}

void TestGlobalHotkey::registersOnX11()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X11 display (QT_QPA_PLATFORM=xcb)");
    GlobalHotkey hotkey(1, Qt::ShiftModifier | Qt::AltModifier, Qt::Key_S);
    QVERIFY2(hotkey.registered(), qPrintable(hotkey.failureText()));
    QCOMPARE(hotkey.id(), 1);
    QVERIFY(hotkey.failureText().isEmpty());
}

void TestGlobalHotkey::takenCombinationIsRefused()
{
#if QT_CONFIG(xcb)
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X11 display (QT_QPA_PLATFORM=xcb)");
    OtherClient other;
    QVERIFY(other.usable());

    auto hotkey = std::make_unique<GlobalHotkey>(1, Qt::ShiftModifier | Qt::AltModifier, Qt::Key_S);
    QVERIFY(hotkey->registered());
    QVERIFY(!other.grab());
    QVERIFY2(!other.grab(XCB_MOD_MASK_2), "NumLock must not keep the hotkey from working");
    hotkey.reset();
    QVERIFY2(other.grab(), "the combination must be free again once the hotkey is gone");

    GlobalHotkey refused(1, Qt::ShiftModifier | Qt::AltModifier, Qt::Key_S);
    QVERIFY(!refused.registered());
    QCOMPARE(refused.failureText(), QStringLiteral("The hotkey Shift+Alt+S is used by another program"));
    // A refused attempt must not keep the lock variants that it did get.
    QVERIFY(other.grab(XCB_MOD_MASK_2));
    QVERIFY(other.grab(XCB_MOD_MASK_LOCK));
    other.ungrabAll();
    GlobalHotkey retry(1, Qt::ShiftModifier | Qt::AltModifier, Qt::Key_S);
    QVERIFY(retry.registered());
#else
    QSKIP("X11 only");
#endif
}

QTEST_MAIN(TestGlobalHotkey)
#include "tst_globalhotkey.moc"
