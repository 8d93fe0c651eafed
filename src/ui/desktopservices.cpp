#include "ui/desktopservices.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QProcess>
#include <QTextStream>
#include <QUrl>

bool MessageBoxPrompter::written(const QString &text)
{
    if (!messages)
        return false;
    *messages << "vantor: " << text << Qt::endl;
    return true;
}

void MessageBoxPrompter::warning(const QString &text)
{
    if (written(text))
        return;
    QMessageBox::warning(parent, QApplication::applicationName(), text, QMessageBox::Ok);
}

void MessageBoxPrompter::error(const QString &text)
{
    if (written(text))
        return;
    QMessageBox::critical(parent, QCoreApplication::translate("MessageBox", "Error"), text, QMessageBox::Ok);
}

void MessageBoxPrompter::information(const QString &caption, const QString &text)
{
    if (written(text))
        return;
    QMessageBox::information(parent, caption, text, QMessageBox::Ok);
}

bool MessageBoxPrompter::question(const QString &text)
{
    if (written(text))
        return false;
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
