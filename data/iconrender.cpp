// Renders the application's SVG icon as the PNG sizes that icon themes want.
// usage: vantor-iconrender SVG FOLDER SIZE... writes FOLDER/SIZE.png
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

int main(int argc, char *argv[])
{
    if (argc < 4) {
        QTextStream(stderr) << "usage: vantor-iconrender SVG FOLDER SIZE...\n";
        return 2;
    }
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        QTextStream(stderr) << "vantor-iconrender: cannot read " << argv[1] << '\n';
        return 1;
    }
    const QString folder = QString::fromLocal8Bit(argv[2]);
    for (int i = 3; i < argc; ++i) {
        const int size = QString::fromLatin1(argv[i]).toInt();
        if (size <= 0) {
            QTextStream(stderr) << "vantor-iconrender: bad size " << argv[i] << '\n';
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
        painter.end();
        const QString path = QStringLiteral("%1/%2.png").arg(folder).arg(size);
        if (!image.save(path, "PNG")) {
            QTextStream(stderr) << "vantor-iconrender: cannot write " << path << '\n';
            return 1;
        }
    }
    return 0;
}
