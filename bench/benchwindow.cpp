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
    form = std::make_unique<TForm1>(
        TForm1::Services{settings, autoConnect, launch, prompter, shell, localAddress, 0, false});
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

qint64 peakResidentBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return 0;
}
