#include "settings/inilocation.h"
#include "buildinfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString FileName = QStringLiteral("vantor.ini");

bool isSameOrBelow(const QString &folder, const QString &top)
{
    return folder == top || folder.startsWith(top + u'/');
}

} // namespace

QString IniLocation::choose(const QString &executableFolder, const QString &configFolder, bool installed,
                            const FolderWritable &folderWritable)
{
    const QString beside = QDir(executableFolder).filePath(FileName);
    if (QFileInfo::exists(beside) || (!installed && folderWritable(executableFolder)))
        return beside;
    return QDir(configFolder).filePath(FileName);
}

bool IniLocation::isInstalled(const QString &executableFolder, const QString &installFolder)
{
    const QString folder = QDir::cleanPath(executableFolder);
    return folder == QDir::cleanPath(installFolder) || isSameOrBelow(folder, QStringLiteral("/usr"))
        || isSameOrBelow(folder, QStringLiteral("/opt"));
}

QString IniLocation::forThisProgram()
{
    // Not AppConfigLocation: that folder takes the application name, "Vantor",
    // and a lower-case folder is what the user expects to find.
    const QString generic = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const QString executableFolder = QCoreApplication::applicationDirPath();
    // The install folder as the system names it, so that a link to it matches.
    const QFileInfo installFolder(QStringLiteral(VANTOR_INSTALL_BINDIR));
    const QString install =
        installFolder.exists() ? installFolder.canonicalFilePath() : installFolder.absoluteFilePath();
    return choose(executableFolder, QDir(generic).filePath(QStringLiteral("vantor")),
                  isInstalled(executableFolder, install),
                  [](const QString &folder) { return QFileInfo(folder).isWritable(); });
}
