#include "app/program.h"
#include "app/startoptions.h"
#include "buildinfo.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    if (const std::optional<int> code = StartOptions::answerBeforeQt(argc, argv))
        return *code;
    // QApplication takes Qt's own options out of argv.
    QApplication app(argc, argv);
    if (const std::optional<int> code = StartOptions::refuseLeftovers(QApplication::arguments().mid(1)))
        return *code;
    QApplication::setApplicationName(QStringLiteral("Vantor"));
    QApplication::setApplicationVersion(QStringLiteral(VANTOR_VERSION));
    // Lets the desktop match the windows to the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(VANTOR_DESKTOP_ID));
    QApplication::setQuitOnLastWindowClosed(false);
    Program program;
    return program.run();
}
