#include "ui/trayicon.h"

TrayIcon::TrayIcon(QObject *parent) : QObject(parent)
{
    tray.setToolTip(QStringLiteral("Vantor"));
    showMessage = [this](const QString &title, const QString &text) {
        tray.showMessage(title, text, QSystemTrayIcon::Information);
    };
    timer.setInterval(cycleIntervalMs);
    connect(&timer, &QTimer::timeout, this, &TrayIcon::cycleTick);
    connect(&tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick)
            emit doubleClicked();
    });
}

void TrayIcon::setIcons(const QIcon &normal, const QIcon &clock)
{
    icons = {normal, clock};
    showIcon(current);
}

void TrayIcon::setMenu(QMenu *menu)
{
    tray.setContextMenu(menu);
}

void TrayIcon::show()
{
    tray.show();
}

void TrayIcon::hide()
{
    tray.hide();
}

void TrayIcon::notify(const QString &title, const QString &text)
{
    if (available())
        showMessage(title, text);
}

void TrayIcon::startCycling()
{
    if (!timer.isActive())
        timer.start();
}

void TrayIcon::stopCycling()
{
    timer.stop();
    showIcon(0);
}

void TrayIcon::cycleTick()
{
    showIcon((current + 1) % int(icons.size()));
}

void TrayIcon::showIcon(int index)
{
    current = index;
    tray.setIcon(icons[index]);
}
