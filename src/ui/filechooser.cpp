#include "ui/filechooser.h"

#include "settings/exefilter.h"

#include <QFileDialog>

QString DialogFileChooser::openFile(QWidget *parent, const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Open"), QString(), dialogNameFilters(filter));
}
