#include "farmprocess.h"

#include "benchutil.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>

namespace {

constexpr int ReadyTimeoutMs = 60000;

} // namespace

FarmProcess::FarmProcess(const QJsonObject &config, int port)
{
    if (!dir.isValid())
        throw BenchError("no temporary directory");
    const QString configPath = dir.filePath(QStringLiteral("lan.json"));
    QFile file(configPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(config).toJson()) <= 0)
        throw BenchError("cannot write the emulator's configuration");
    file.close();

    process.setProgram(QStringLiteral(VANTOR_TESTSERVER_TOOL));
    process.setArguments({configPath, QStringLiteral("--quiet")});
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start();
    QByteArray out;
    QElapsedTimer timer;
    timer.start();
    while (!out.contains("ready") && timer.elapsed() < ReadyTimeoutMs) {
        if (!process.waitForReadyRead(1000) && process.state() != QProcess::Running)
            throw BenchError(QStringLiteral("vantor-testserver ended with exit code %1 (port %2 taken?)")
                                 .arg(process.exitCode())
                                 .arg(port)
                                 .toStdString());
        out += process.readAllStandardOutput();
    }
    if (!out.contains("ready"))
        throw BenchError("vantor-testserver did not get ready");
}

FarmProcess::~FarmProcess()
{
    process.terminate();
    if (!process.waitForFinished(5000))
        process.kill();
    process.waitForFinished(1000);
}
