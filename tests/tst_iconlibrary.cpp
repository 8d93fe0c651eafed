#include "scan/listicons.h"
#include "ui/iconlibrary.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QImage>
#include <QSet>
#include <QSvgRenderer>
#include <QtTest>

namespace {

// Share of the pixels that are not fully transparent.
double coverage(const QImage &picture)
{
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    int painted = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            painted += qAlpha(image.pixel(x, y)) > 0;
    return double(painted) / (image.width() * image.height());
}

QByteArray pixelsOf(const QImage &picture)
{
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    return QByteArray(reinterpret_cast<const char *>(image.constBits()), int(image.sizeInBytes()));
}

} // namespace

class TstIconLibrary : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void iconsRender_data();
    void iconsRender();
    void bigIconsRender_data();
    void bigIconsRender();
    void outsideTheRangeIsEmpty_data();
    void outsideTheRangeIsEmpty();
    void picturesDifferFromEachOther();
    void everyResourceIsValidSvg();
};

void TstIconLibrary::initTestCase()
{
    // The resources are registered by the first use of the library.
    QVERIFY(!IconLibrary::appIcon().isNull());
}

void TstIconLibrary::iconsRender_data()
{
    QTest::addColumn<QIcon>("icon");
    for (int i = 0; i < ListIconCount; ++i)
        QTest::addRow("list %d", i) << IconLibrary::listIcon(i);
    for (int i = 0; i < IconLibrary::TrayIconCount; ++i)
        QTest::addRow("tray %d", i) << IconLibrary::trayIcon(i);
    QTest::newRow("app") << IconLibrary::appIcon();
    QTest::newRow("players tab") << IconLibrary::tabIcon(IconLibrary::PlayersTab);
    QTest::newRow("rules tab") << IconLibrary::tabIcon(IconLibrary::RulesTab);
}

void TstIconLibrary::iconsRender()
{
    QFETCH(QIcon, icon);
    QVERIFY(!icon.isNull());
    for (const int extent : {16, 32}) {
        const QPixmap pixmap = icon.pixmap(extent);
        QCOMPARE(pixmap.deviceIndependentSize(), QSizeF(extent, extent));
        QVERIFY2(coverage(pixmap.toImage()) > 0.05, qPrintable(QStringLiteral("blank at %1 px").arg(extent)));
    }
}

void TstIconLibrary::bigIconsRender_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < BigIconCount; ++i)
        QTest::addRow("big %d", i) << i;
}

void TstIconLibrary::bigIconsRender()
{
    QFETCH(int, index);
    const QPixmap pixmap = IconLibrary::bigIcon(index);
    QVERIFY(!pixmap.isNull());
    QCOMPARE(pixmap.deviceIndependentSize(), QSizeF(32, 32));
    QVERIFY(coverage(pixmap.toImage()) > 0.2);
}

void TstIconLibrary::outsideTheRangeIsEmpty_data()
{
    QTest::addColumn<bool>("empty");
    QTest::newRow("list -1") << IconLibrary::listIcon(-1).isNull();
    QTest::newRow("list 27") << IconLibrary::listIcon(ListIconCount).isNull();
    QTest::newRow("big -1") << IconLibrary::bigIcon(-1).isNull();
    QTest::newRow("big 15") << IconLibrary::bigIcon(BigIconCount).isNull();
    QTest::newRow("tray -1") << IconLibrary::trayIcon(-1).isNull();
    QTest::newRow("tray 2") << IconLibrary::trayIcon(IconLibrary::TrayIconCount).isNull();
    QTest::newRow("tab -1") << IconLibrary::tabIcon(-1).isNull();
    QTest::newRow("tab 2") << IconLibrary::tabIcon(2).isNull();
}

void TstIconLibrary::outsideTheRangeIsEmpty()
{
    QFETCH(bool, empty);
    QVERIFY(empty);
}

// Two indices showing the same picture means a slot got the wrong file.
void TstIconLibrary::picturesDifferFromEachOther()
{
    QSet<QByteArray> list;
    for (int i = 0; i < ListIconCount; ++i)
        list.insert(pixelsOf(IconLibrary::listIcon(i).pixmap(16).toImage()));
    QCOMPARE(list.size(), int(ListIconCount));

    QSet<QByteArray> big;
    for (int i = 0; i < BigIconCount; ++i)
        big.insert(pixelsOf(IconLibrary::bigIcon(i).toImage()));
    QCOMPARE(big.size(), int(BigIconCount));
}

// Each picture is drawn on the pixel grid of the size it is shown at.
void TstIconLibrary::everyResourceIsValidSvg()
{
    int files = 0;
    QDirIterator it(QStringLiteral(":/icons"), {QStringLiteral("*.svg")}, QDir::Files);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = QFileInfo(path).baseName();
        QSvgRenderer renderer(path);
        QVERIFY2(renderer.isValid(), qPrintable(path));
        const int grid = name.startsWith(QLatin1String("big_")) || name == QLatin1String("app") ? 32 : 16;
        QCOMPARE(renderer.defaultSize(), QSize(grid, grid));
        ++files;
    }
    QCOMPARE(files, ListIconCount + BigIconCount + IconLibrary::TrayIconCount + 3);
}

QTEST_MAIN(TstIconLibrary)
#include "tst_iconlibrary.moc"
