#pragma once

#include "desktop/today.h"

#include <QDate>
#include <QObject>
#include <QString>
#include <QUrl>
#include <functional>

class HttpFetch;
class Prompter;
class SettingsModel;
class Shell;

// Tells the user about a newer (or just different) release: on request from
// the About box and, at most once a calendar day, when the main window becomes
// active. The fetch runs in the background; the answer comes as message boxes.
class UpdateChecker : public QObject
{
    Q_OBJECT

public:
    struct Services
    {
        HttpFetch &fetch;
        Prompter &prompter;
        Shell &shell;
        SettingsModel &settings;
        Today today;
    };

    UpdateChecker(const Services &services, const QUrl &updateAddress, const QString &ownVersion,
                  QObject *parent = nullptr);

    const QString &ownVersion() const { return own; }
    // From the last successful fetch; empty until then.
    const QString &releaseVersion() const { return release; }
    bool isRunning() const { return running; }

    // The whole check. A manual check reports every outcome; an automatic one
    // only a release that differs. A request while a check runs joins it (and
    // makes it report like a manual one when either was manual).
    void check(bool manual);
    // Each activation of the main window: a check when the flag is on and the
    // last one was not today.
    void automaticTrigger();

    // The download question, with the record's carriage returns as line breaks.
    static QString downloadQuestion(const QString &releaseVersion, const QString &ownVersion);
    // A date as the last-check date is stored: the system's short date format.
    static QString dateText(const QDate &date);

signals:
    // The check is over and every message box of it is closed.
    void finished();

private:
    void fetched(bool ok, const QByteArray &body);

    HttpFetch &fetch;
    Prompter &prompter;
    Shell &shell;
    SettingsModel &settings;
    Today today;
    QUrl address;
    QString own;
    QString release;
    bool running = false;
    bool manualReport = false;
};
