#pragma once

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>

class QUrl;

// One HTTP GET at a time of asking, without blocking the event loop: the
// answer arrives later through finished(). The body is read only as far as
// the caller needs, so a huge or endless reply costs nothing.
class HttpFetch : public QObject
{
    Q_OBJECT

public:
    static constexpr int TimeoutMs = 15000;

    explicit HttpFetch(QObject *parent = nullptr);

    // Starts a GET with the user agent "MyApp". The body handed to finished()
    // holds at most maxBytes + 1 bytes, so that a longer body can be told
    // apart from one of exactly maxBytes.
    void get(const QUrl &address, qsizetype maxBytes);

signals:
    // ok is false when the server could not be reached, answered with an HTTP
    // error or did not finish within TimeoutMs.
    void finished(bool ok, const QByteArray &body);

private:
    QNetworkAccessManager m_manager;
};
