#include "update/updatechecker.h"

#include "desktop/shell.h"
#include "net/httpfetch.h"
#include "update/updaterecord.h"
#include "desktop/prompter.h"
#include "settings/settingsmodel.h"

#include <QCoreApplication>
#include <QLocale>

UpdateChecker::UpdateChecker(const Services &services, const QUrl &updateAddress, const QString &ownVersion,
                             QObject *parent)
    : QObject(parent)
    , fetch(services.fetch)
    , prompter(services.prompter)
    , shell(services.shell)
    , settings(services.settings)
    , today(services.today)
    , address(updateAddress)
    , own(ownVersion)
{
    connect(&fetch, &HttpFetch::finished, this, &UpdateChecker::fetched);
}

void UpdateChecker::check(bool manual)
{
    manualReport = manualReport || manual;
    if (running)
        return;
    running = true;
    fetch.get(address, UpdateRecord::MaxSize);
}

void UpdateChecker::automaticTrigger()
{
    if (settings.checkUpdates && dateText(today()) != settings.lastUpdateDate)
        check(false);
}

QString UpdateChecker::downloadQuestion(const QString &releaseVersion, const QString &ownVersion)
{
    return QCoreApplication::translate("AboutBox", "Current release version: %1").arg(releaseVersion)
        + QLatin1Char('\r') + QCoreApplication::translate("AboutBox", "You have: %1").arg(ownVersion)
        + QStringLiteral("\r\r")
        + QCoreApplication::translate("AboutBox", "Download new version ?");
}

QString UpdateChecker::dateText(const QDate &date)
{
    return QLocale::system().toString(date, QLocale::ShortFormat);
}

void UpdateChecker::fetched(bool ok, const QByteArray &body)
{
    const bool manual = manualReport;
    const std::optional<UpdateRecord> record = ok ? parseUpdateRecord(body) : std::nullopt;
    if (!record) {
        if (manual)
            prompter.error(QCoreApplication::translate("AboutBox", "Connection error"));
    } else {
        release = record->version;
        if (release == own) {
            if (manual)
                prompter.information(QCoreApplication::translate("AboutBox", "Information"),
                                     QCoreApplication::translate("AboutBox", "You have last version"));
        } else {
            // Message boxes on Linux and macOS break lines at '\n' only.
            QString question = downloadQuestion(release, own);
            question.replace(QLatin1Char('\r'), QLatin1Char('\n'));
            const QString download = record->address;
            prompter.question(question, [this, download](bool yes) {
                if (yes)
                    shell.openUrl(download);
            });
        }
    }
    settings.lastUpdateDate = dateText(today());
    running = false;
    manualReport = false;
    emit finished();
}
