#include "net/datagramsocket.h"

#ifdef Q_OS_UNIX

#include "net/arrivalstamp.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QThreadPool>
#include <QUrl>

#include <arpa/inet.h>
#include <cerrno>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <vector>

namespace {

// The IPv4 address of a name, or 0; blocks, so it runs off the event loop's thread.
quint32 resolveName(const QByteArray &name)
{
    if (name.isEmpty())
        return 0;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo *found = nullptr;
    if (::getaddrinfo(name.constData(), nullptr, &hints, &found) != 0 || !found)
        return 0;
    const quint32 address = ntohl(reinterpret_cast<const sockaddr_in *>(found->ai_addr)->sin_addr.s_addr);
    ::freeaddrinfo(found);
    return address;
}

sockaddr_in socketAddress(quint32 address, quint16 port)
{
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(address);
    to.sin_port = htons(port);
    return to;
}

// A non-blocking IPv4 UDP socket of the system, watched by the event loop.
class PlainDatagramSocket : public DatagramSocket
{
public:
    ~PlainDatagramSocket() override { close(); }

    bool bind(quint16 port) override
    {
        close();
        m_fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (m_fd < 0) {
            m_error = errno;
            return false;
        }
        const int on = 1;
        ::setsockopt(m_fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
        // No SO_REUSEADDR: a port in use fails the bind instead of being shared.
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(INADDR_ANY);
        local.sin_port = htons(port);
        if (::bind(m_fd, reinterpret_cast<const sockaddr *>(&local), sizeof local) != 0) {
            m_error = errno;
            close();
            return false;
        }
        socklen_t length = sizeof local;
        ::getsockname(m_fd, reinterpret_cast<sockaddr *>(&local), &length);
        m_bound = ntohs(local.sin_port);
        // A sweep can draw thousands of replies at once; give the kernel room for them.
        const int room = 4 * 1024 * 1024;
        ::setsockopt(m_fd, SOL_SOCKET, SO_RCVBUF, &room, sizeof room);
        ArrivalStamp::enable(m_fd);
        m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(), [this] {
            if (onReadyRead)
                onReadyRead();
        });
        return true;
    }

    int localPort() const override { return m_bound; }
    int errorCode() const override { return m_error; }

    bool send(const char *data, int length, quint32 address, quint16 port) override
    {
        if (m_fd < 0)
            return false;
        const sockaddr_in to = socketAddress(address, port);
        return ::sendto(m_fd, data, size_t(length), 0, reinterpret_cast<const sockaddr *>(&to), sizeof to) >= 0;
    }

#ifdef Q_OS_LINUX
    void sendBatch(OutgoingDatagram *datagrams, int count) override
    {
        // One system call for many datagrams: a sweep costs a fraction of a
        // send per address.
        constexpr int MaxPerCall = 256;
        if (m_fd < 0) {
            for (int i = 0; i < count; ++i)
                datagrams[i].taken = false;
            return;
        }
        sockaddr_in to[MaxPerCall];
        iovec parts[MaxPerCall];
        mmsghdr messages[MaxPerCall];
        while (count > 0) {
            const int n = qMin(count, MaxPerCall);
            for (int i = 0; i < n; ++i) {
                to[i] = socketAddress(datagrams[i].address, datagrams[i].port);
                parts[i].iov_base = const_cast<char *>(datagrams[i].data);
                parts[i].iov_len = size_t(datagrams[i].length);
                messages[i] = mmsghdr{};
                messages[i].msg_hdr.msg_name = &to[i];
                messages[i].msg_hdr.msg_namelen = sizeof to[i];
                messages[i].msg_hdr.msg_iov = &parts[i];
                messages[i].msg_hdr.msg_iovlen = 1;
            }
            // A datagram the system refuses is skipped, as a single send would lose it.
            int done = 0;
            while (done < n) {
                const int taken = ::sendmmsg(m_fd, messages + done, unsigned(n - done), 0);
                if (taken > 0) {
                    for (int i = done; i < done + taken; ++i)
                        datagrams[i].taken = true;
                    done += taken;
                } else {
                    datagrams[done++].taken = false;
                }
            }
            datagrams += n;
            count -= n;
        }
    }
#endif

    bool read(ReceivedDatagram &datagram) override
    {
        if (m_fd < 0)
            return false;
        if (m_buffer.size() < MaxDatagram)
            m_buffer.resize(MaxDatagram);
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const ssize_t n = ::recvfrom(m_fd, m_buffer.data(), size_t(m_buffer.size()), 0,
                                     reinterpret_cast<sockaddr *>(&from), &length);
        if (n < 0)
            return false;
        datagram.data = QByteArray(m_buffer.constData(), qsizetype(n));
        datagram.sender = ntohl(from.sin_addr.s_addr);
        datagram.port = ntohs(from.sin_port);
        datagram.waitNs = ArrivalStamp::waitOfLast(m_fd);
        return true;
    }

    void close() override
    {
        m_notifier.reset();
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
        m_bound = 0;
    }

    void lookupHost(const QString &host, std::function<void(quint32 address)> done) override
    {
        // What is no host name at all is refused here rather than sent to a name server.
        const QByteArray name = QUrl::toAce(host);
        // The answer comes back through the event loop, and only while the socket lives.
        std::weak_ptr<char> alive = m_lifetime;
        QThreadPool::globalInstance()->start([name, alive, done = std::move(done)] {
            const quint32 address = resolveName(name);
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [alive, done, address] {
                    if (!alive.expired())
                        done(address);
                },
                Qt::QueuedConnection);
        });
    }

private:
    int m_fd = -1;
    int m_error = 0;
    quint16 m_bound = 0;
    QByteArray m_buffer;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::shared_ptr<char> m_lifetime = std::make_shared<char>();
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
