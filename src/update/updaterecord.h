#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The release record served at the update address: "!@", the release version,
// one blank, the download address.
struct UpdateRecord
{
    static constexpr qsizetype MaxSize = 1024;

    QString version;
    QString address;
};

// The record in a reply, or nothing when the reply is no usable record: longer
// than MaxSize, without the "!@" marker or the blank, or with a download
// address that is not an http:// or https:// address (the record travels
// unprotected, so it must not be able to start local programs). The address
// ends at the first zero byte; trailing blanks and line ends are dropped.
std::optional<UpdateRecord> parseUpdateRecord(const QByteArray &reply);

// Whether an address may be handed to the desktop: a valid http or https URL
// with a host.
bool isWebAddress(const QString &address);
