#include "support/tsfile.h"

#include <QDebug>
#include <QFile>
#include <QXmlStreamReader>

QList<TsMessage> readTsFile(const QString &path, QString *language)
{
    QList<TsMessage> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return messages;
    QXmlStreamReader xml(&file);
    QString context;
    TsMessage current;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == u"message")
            messages << current;
        if (!xml.isStartElement())
            continue;
        const auto name = xml.name();
        if (name == u"TS" && language)
            *language = xml.attributes().value(QLatin1String("language")).toString();
        else if (name == u"name")
            context = xml.readElementText();
        else if (name == u"message") {
            current = TsMessage();
            current.context = context;
            current.numerus = xml.attributes().value(QLatin1String("numerus")) == u"yes";
        } else if (name == u"source")
            current.source = xml.readElementText();
        else if (name == u"comment")
            current.comment = xml.readElementText();
        else if (name == u"translation") {
            current.type = xml.attributes().value(QLatin1String("type")).toString();
            if (!current.numerus)
                current.forms << xml.readElementText();
        } else if (name == u"numerusform")
            current.forms << xml.readElementText();
    }
    if (xml.hasError())
        qWarning() << path << xml.errorString();
    return messages;
}
