#include "benchwindow.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <QWindow>

BenchWindow::BenchWindow()
{
    prompter.answerYes = false;
    session = std::make_unique<ScanSession>(ScanSession::Services{settings, prompter, shell, localAddress, cards, 0});
    form = std::make_unique<TForm1>(*session, shell, false);
}

BenchWindow::~BenchWindow() = default;

void BenchWindow::show()
{
    form->show();
    processEventsUntil([this] { return form->windowHandle() && form->windowHandle()->isExposed(); }, 5000);
    QCoreApplication::processEvents();
}

bool processEventsUntil(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs) {
        // A short nested loop sleeps until events come, instead of spinning.
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return done();
}

namespace {

qint64 statusBytes(const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return 0;
}

} // namespace

qint64 peakResidentBytes()
{
    return statusBytes("VmHWM:");
}

qint64 residentBytes()
{
    return statusBytes("VmRSS:");
}

void resetPeakResident()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5");
}

qint64 droppedDatagrams(int port)
{
    QFile table(QStringLiteral("/proc/net/udp"));
    if (!table.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray local = ':' + QByteArray::number(port, 16).toUpper().rightJustified(4, '0');
    for (const QByteArray &line : table.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() > 2 && fields[1].endsWith(local))
            return fields.last().toLongLong();
    }
    return -1;
}
