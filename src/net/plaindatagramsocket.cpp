#include "net/datagramsocket.h"

#ifdef Q_OS_UNIX

#include "net/arrivalstamp.h"

#include <QSocketNotifier>
#include <QUrl>

#include <arpa/inet.h>
#include <cerrno>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A non-blocking IPv4 UDP socket of the system, watched by the event loop.
class PlainDatagramSocket : public DatagramSocket
{
public:
    ~PlainDatagramSocket() override { close(); }

    bool bind(quint16 port) override
    {
        close();
        fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            error = errno;
            return false;
        }
        const int on = 1;
        ::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
        // No SO_REUSEADDR: a port in use fails the bind instead of being shared.
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(INADDR_ANY);
        local.sin_port = htons(port);
        if (::bind(fd, reinterpret_cast<const sockaddr *>(&local), sizeof local) != 0) {
            error = errno;
            close();
            return false;
        }
        socklen_t length = sizeof local;
        ::getsockname(fd, reinterpret_cast<sockaddr *>(&local), &length);
        bound = ntohs(local.sin_port);
        // A sweep can draw thousands of replies at once; give the kernel room for them.
        const int room = 4 * 1024 * 1024;
        ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &room, sizeof room);
        ArrivalStamp::enable(fd);
        notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, notifier.get(), [this] {
            if (onReadyRead)
                onReadyRead();
        });
        return true;
    }

    int localPort() const override { return bound; }
    int errorCode() const override { return error; }

    bool send(const char *data, int length, quint32 address, quint16 port) override
    {
        if (fd < 0)
            return false;
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = htonl(address);
        to.sin_port = htons(port);
        return ::sendto(fd, data, size_t(length), 0, reinterpret_cast<const sockaddr *>(&to), sizeof to) >= 0;
    }

    bool read(ReceivedDatagram &datagram) override
    {
        if (fd < 0)
            return false;
        if (buffer.size() < MaxDatagram)
            buffer.resize(MaxDatagram);
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const ssize_t n = ::recvfrom(fd, buffer.data(), size_t(buffer.size()), 0,
                                     reinterpret_cast<sockaddr *>(&from), &length);
        if (n < 0)
            return false;
        datagram.data = QByteArray(buffer.constData(), qsizetype(n));
        datagram.sender = ntohl(from.sin_addr.s_addr);
        datagram.port = ntohs(from.sin_port);
        datagram.waitNs = ArrivalStamp::waitOfLast(fd);
        return true;
    }

    void close() override
    {
        notifier.reset();
        if (fd >= 0)
            ::close(fd);
        fd = -1;
        bound = 0;
    }

    bool lookupHost(const QString &host, quint32 &address) override
    {
        // What is no host name at all is refused here rather than sent to a name server.
        const QByteArray name = QUrl::toAce(host);
        if (name.isEmpty())
            return false;
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_DGRAM;
        addrinfo *found = nullptr;
        if (::getaddrinfo(name.constData(), nullptr, &hints, &found) != 0 || !found)
            return false;
        address = ntohl(reinterpret_cast<const sockaddr_in *>(found->ai_addr)->sin_addr.s_addr);
        ::freeaddrinfo(found);
        return true;
    }

private:
    int fd = -1;
    int error = 0;
    quint16 bound = 0;
    QByteArray buffer;
    std::unique_ptr<QSocketNotifier> notifier;
};

} // namespace

std::unique_ptr<DatagramSocket> newPlainDatagramSocket()
{
    return std::make_unique<PlainDatagramSocket>();
}

#else

std::unique_ptr<DatagramSocket> newPlainDatagramSocket()
{
    return newQtDatagramSocket();
}

#endif
