#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One message of a Qt Linguist translation file (.ts).
struct TsMessage
{
    QString context;
    QString source;
    QString comment; // the disambiguation, part of the message's key
    bool numerus = false;
    QString type; // of the translation: empty when finished
    QStringList forms; // the translation, or its plural forms
};

// The messages of a .ts file, and its language when asked; none when it cannot be read.
QList<TsMessage> readTsFile(const QString &path, QString *language = nullptr);
