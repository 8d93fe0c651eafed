#pragma once

#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

// Emulated game servers (vantor-testserver) in a process of their own, so that
// answering does not share the benchmark's event loop. Ready once built;
// stopped when destroyed. Throws BenchError when it does not get ready.
class EmulatorProcess
{
public:
    // `ports` names the ports in the message when the emulator cannot start.
    EmulatorProcess(const QJsonObject &config, const QString &ports);
    ~EmulatorProcess();

private:
    QTemporaryDir dir;
    QProcess process;
};
