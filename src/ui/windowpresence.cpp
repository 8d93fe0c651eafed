#include "ui/windowpresence.h"

#include "join/scansession.h"
#include "ui/globalhotkey.h"
#include "ui/iconlibrary.h"
#include "ui/trayicon.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QMenu>
#include <QShowEvent>
#include <QWindowStateChangeEvent>

namespace {

// The translation context of the main window's texts.
struct MainWindow
{
    Q_DECLARE_TR_FUNCTIONS(MainWindow)
};

} // namespace

WindowPresence::WindowPresence(QMainWindow &window, ScanSession &session)
    : QObject(&window), m_window(window), m_session(session), m_tray(new TrayIcon(this))
{
    m_tray->setIcons(IconLibrary::trayIcon(0), IconLibrary::trayIcon(1));
    auto *menu = new QMenu(&window);
    menu->setObjectName(QStringLiteral("PMTray"));
    menu->addAction(MainWindow::tr("Show  (Shift+Alt+S)"), this, &WindowPresence::showRestored);
    menu->addAction(MainWindow::tr("Exit"), &window, &QWidget::close);
    m_tray->setMenu(menu);
    connect(m_tray, &TrayIcon::doubleClicked, this, &WindowPresence::toggle);
    if (m_tray->available()) {
        m_tray->show();
        // With a tray icon to come back by, the window needs no taskbar button.
        window.setWindowFlag(Qt::Tool, true);
    }
    window.installEventFilter(this);
}

WindowPresence::~WindowPresence()
{
    m_window.removeEventFilter(this);
}

void WindowPresence::registerHotkey()
{
    m_hotkey = std::make_unique<GlobalHotkey>(1, Qt::ShiftModifier | Qt::AltModifier, Qt::Key_S);
    if (m_hotkey->registered()) {
        connect(m_hotkey.get(), &GlobalHotkey::activated, this, [this](int id) {
            if (id == 1)
                toggle();
        });
    } else {
        // In the message panel: a status-bar message would cover the panels.
        m_session.addNote(m_hotkey->failureText());
    }
}

void WindowPresence::hideWindow()
{
    // Without a tray icon to bring it back, a hidden window would be out of
    // reach: it minimises and keeps its taskbar entry instead.
    if (m_tray->available())
        m_window.hide();
    else
        m_window.showMinimized();
}

void WindowPresence::showRestored()
{
    if (m_window.isMinimized())
        m_window.setWindowState(m_window.windowState() & ~Qt::WindowMinimized);
    m_window.show();
    m_window.raise();
    m_window.activateWindow();
}

void WindowPresence::toggle()
{
    if (m_window.isVisible() && !m_window.isMinimized())
        hideWindow();
    else
        showRestored();
}

bool WindowPresence::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != &m_window)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Show:
        // A restore by the window system follows no hiding of ours.
        if (!event->spontaneous())
            m_session.windowShown(!m_window.isMinimized());
        break;
    case QEvent::Hide:
        if (!event->spontaneous())
            m_session.windowShown(false);
        break;
    case QEvent::WindowStateChange: {
        // Minimising hides the window when the tray icon can bring it back;
        // without a tray the window minimises as usual and stays in the
        // taskbar, which stands for hidden: the auto-scan rests.
        const bool wasMinimized = static_cast<QWindowStateChangeEvent *>(event)->oldState() & Qt::WindowMinimized;
        if (m_window.isMinimized() && m_tray->available()) {
            m_window.setWindowState(m_window.windowState() & ~Qt::WindowMinimized);
            m_window.hide();
        } else if (m_window.isMinimized()) {
            m_session.windowShown(false);
        } else if (wasMinimized) {
            m_session.windowShown(m_window.isVisible());
        }
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
