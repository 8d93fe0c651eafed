#include "ui/iconlibrary.h"

#include "scan/listicons.h"

#include <QGuiApplication>
#include <QString>
#include <QVector>

// The resources sit in a static library, so nothing registers them unless
// asked; the macro must be used outside any namespace.
static void registerIconResources()
{
    Q_INIT_RESOURCE(icons);
}

namespace {

struct Icons
{
    QVector<QIcon> list;
    QVector<QIcon> big;
    QVector<QIcon> tray;
    QVector<QIcon> tabs;
    QIcon app;
};

QIcon fromResource(const QString &name)
{
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(name));
}

QVector<QIcon> numbered(const QString &prefix, int count, int digits)
{
    QVector<QIcon> icons;
    for (int i = 0; i < count; ++i)
        icons.append(fromResource(QStringLiteral("%1_%2").arg(prefix).arg(i, digits, 10, QLatin1Char('0'))));
    return icons;
}

const Icons &icons()
{
    static const Icons all = [] {
        registerIconResources();
        Icons built;
        built.list = numbered(QStringLiteral("list"), ListIconCount, 2);
        built.big = numbered(QStringLiteral("big"), BigIconCount, 2);
        built.tray = numbered(QStringLiteral("tray"), IconLibrary::TrayIconCount, 1);
        built.tabs = {fromResource(QStringLiteral("tab_players")), fromResource(QStringLiteral("tab_rules"))};
        built.app = fromResource(QStringLiteral("app"));
        return built;
    }();
    return all;
}

QIcon at(const QVector<QIcon> &icons, int index)
{
    return index >= 0 && index < icons.size() ? icons.at(index) : QIcon();
}

} // namespace

QIcon IconLibrary::listIcon(int index)
{
    return at(icons().list, index);
}

QPixmap IconLibrary::bigIcon(int index)
{
    const QIcon icon = at(icons().big, index);
    if (icon.isNull())
        return QPixmap();
    return icon.pixmap(QSize(32, 32), qGuiApp->devicePixelRatio());
}

QIcon IconLibrary::trayIcon(int index)
{
    return at(icons().tray, index);
}

QIcon IconLibrary::appIcon()
{
    return icons().app;
}

QIcon IconLibrary::tabIcon(int page)
{
    return at(icons().tabs, page);
}
