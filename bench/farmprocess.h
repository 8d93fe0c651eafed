#pragma once

#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

// An emulated LAN in a vantor-testserver process of its own, so that
// answering does not share the benchmark's event loop. Ready when constructed
// (throws BenchError otherwise), stopped when destroyed.
class FarmProcess
{
public:
    // `port` only names the port in the error when the emulator cannot start.
    FarmProcess(const QJsonObject &config, int port);
    ~FarmProcess();

private:
    QTemporaryDir dir;
    QProcess process;
};
