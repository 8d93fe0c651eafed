#include "net/httpfetch.h"

#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>
#include <memory>

HttpFetch::HttpFetch(QObject *parent) : QObject(parent)
{
    // The proxy the user set up for the whole system, as a browser would use it.
    QNetworkProxyFactory::setUseSystemConfiguration(true);
}

void HttpFetch::get(const QUrl &address, qsizetype maxBytes)
{
    QNetworkRequest request(address);
    request.setHeader(QNetworkRequest::UserAgentHeader, QByteArrayLiteral("MyApp"));
    request.setTransferTimeout(TimeoutMs);
    QNetworkReply *reply = m_manager.get(request);
    const qsizetype cap = maxBytes + 1;
    auto body = std::make_shared<QByteArray>();

    connect(reply, &QNetworkReply::readyRead, this, [this, reply, body, cap] {
        body->append(reply->read(cap - body->size()));
        if (body->size() < cap)
            return;
        // Enough to know the body is too long: stop the transfer quietly.
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
        emit finished(true, *body);
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply, body, cap] {
        reply->deleteLater();
        if (reply->error() != QNetworkReply::NoError) {
            emit finished(false, QByteArray());
            return;
        }
        body->append(reply->read(cap - body->size()));
        emit finished(true, *body);
    });
}

// Its own moc object, so that programs without HTTP do not link Qt Network.
#include "moc_httpfetch.cpp"
