#include "ui/desktopservices.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QProcess>
#include <QTextStream>
#include <QUrl>

namespace {

// A box that opens without a local event loop and deletes itself when closed.
void openBox(QWidget *parent, QMessageBox::Icon icon, const QString &caption, const QString &text,
             QMessageBox::StandardButtons buttons, std::function<void(int button)> closed = {})
{
    auto *box = new QMessageBox(icon, caption, text, buttons, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    if (closed)
        QObject::connect(box, &QMessageBox::finished, box, std::move(closed));
    box->open();
}

} // namespace

bool MessageBoxPrompter::written(const QString &text)
{
    if (!messages)
        return false;
    *messages << "vantor: " << text << Qt::endl;
    return true;
}

void MessageBoxPrompter::warning(const QString &text, std::function<void()> closed)
{
    if (written(text)) {
        if (closed)
            closed();
        return;
    }
    openBox(parent, QMessageBox::Warning, QApplication::applicationName(), text, QMessageBox::Ok,
            closed ? [closed](int) { closed(); } : std::function<void(int)>());
}

void MessageBoxPrompter::error(const QString &text)
{
    if (written(text))
        return;
    openBox(parent, QMessageBox::Critical, QCoreApplication::translate("MessageBox", "Error"), text, QMessageBox::Ok);
}

void MessageBoxPrompter::information(const QString &caption, const QString &text)
{
    if (written(text))
        return;
    openBox(parent, QMessageBox::Information, caption, text, QMessageBox::Ok);
}

void MessageBoxPrompter::question(const QString &text, std::function<void(bool yes)> answered)
{
    if (written(text)) {
        answered(false);
        return;
    }
    openBox(parent, QMessageBox::Question, QApplication::applicationName(), text, QMessageBox::Yes | QMessageBox::No,
            [answered](int button) { answered(button == QMessageBox::Yes); });
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
