#include "ui/filechooser.h"

#include "settings/exefilter.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QOperatingSystemVersion>

QString DialogFileChooser::openFile(QWidget *parent, const QString &filter)
{
    const bool windows = QOperatingSystemVersion::currentType() == QOperatingSystemVersion::Windows;
    QString selected = initialNameFilter(filter, windows);
    return QFileDialog::getOpenFileName(parent, QCoreApplication::translate("SettingsDialog", "Open"), QString(),
                                        dialogNameFilters(filter), &selected);
}
