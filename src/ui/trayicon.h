#pragma once

#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>
#include <QTimer>

#include <array>
#include <functional>

class QMenu;

// The notification-area icon: hint "Vantor", a menu, a double-click signal
// and two icons (0 normal, 1 clock) that take turns while something waits.
class TrayIcon : public QObject
{
    Q_OBJECT
public:
    static constexpr int cycleIntervalMs = 1000;

    explicit TrayIcon(QObject *parent = nullptr);

    void setIcons(const QIcon &normal, const QIcon &clock);
    void setMenu(QMenu *menu);
    bool available() const { return systemTrayAvailable(); }
    // Whether the desktop shows tray icons; tests answer it.
    std::function<bool()> systemTrayAvailable = &QSystemTrayIcon::isSystemTrayAvailable;
    void show();
    void hide();
    // A message balloon by the icon; nothing where the desktop has no tray.
    void notify(const QString &title, const QString &text);
    // Shows the balloon; tests record it instead.
    std::function<void(const QString &title, const QString &text)> showMessage;

    void startCycling();
    // Ends the cycling on icon 0.
    void stopCycling();
    bool cycling() const { return timer.isActive(); }
    int currentIcon() const { return current; }

public slots:
    void cycleTick();

signals:
    void doubleClicked();

private:
    void showIcon(int index);

    QSystemTrayIcon tray;
    QTimer timer;
    std::array<QIcon, 2> icons;
    int current = 0;
};
