#include "ui/desktopservices.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>

void MessageBoxPrompter::warning(const QString &text)
{
    QMessageBox::warning(parent, QApplication::applicationName(), text, QMessageBox::Ok);
}

void MessageBoxPrompter::error(const QString &text)
{
    QMessageBox::critical(parent, QCoreApplication::translate("MessageBox", "Error"), text, QMessageBox::Ok);
}

void MessageBoxPrompter::information(const QString &caption, const QString &text)
{
    QMessageBox::information(parent, caption, text, QMessageBox::Ok);
}

bool MessageBoxPrompter::question(const QString &text)
{
    return QMessageBox::question(parent, QApplication::applicationName(), text, QMessageBox::Yes | QMessageBox::No)
        == QMessageBox::Yes;
}

void MessageBoxPrompter::beep()
{
    QApplication::beep();
}

bool DesktopShell::openUrl(const QString &address)
{
    return QDesktopServices::openUrl(QUrl(address));
}

bool DesktopShell::startDetached(const QString &program, const QStringList &arguments)
{
    return QProcess::startDetached(program, arguments);
}
