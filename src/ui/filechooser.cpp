#include "ui/filechooser.h"

#include "settings/exefilter.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QOperatingSystemVersion>

void DialogFileChooser::openFile(QWidget *parent, const QString &filter,
                                 std::function<void(const QString &path)> chosen)
{
    const bool windows = QOperatingSystemVersion::currentType() == QOperatingSystemVersion::Windows;
    // Opened without an event loop of its own; it goes away when closed.
    auto *dialog = new QFileDialog(parent, QCoreApplication::translate("SettingsDialog", "Open"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setNameFilter(dialogNameFilters(filter));
    dialog->selectNameFilter(initialNameFilter(filter, windows));
    QObject::connect(dialog, &QFileDialog::fileSelected, dialog, std::move(chosen));
    dialog->open();
}
