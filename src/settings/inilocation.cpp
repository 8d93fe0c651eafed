#include "settings/inilocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString FileName = QStringLiteral("vantor.ini");

} // namespace

QString IniLocation::choose(const QString &executableFolder, const QString &configFolder,
                            const FolderWritable &folderWritable)
{
    const QString beside = QDir(executableFolder).filePath(FileName);
    if (QFileInfo::exists(beside) || folderWritable(executableFolder) || configFolder.isEmpty())
        return beside;
    return QDir(configFolder).filePath(FileName);
}

QString IniLocation::forThisProgram()
{
    // Not AppConfigLocation: that folder takes the application name, "Vantor",
    // and a lower-case folder is what the user expects to find.
    const QString generic = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const QString config = generic.isEmpty() ? QString() : QDir(generic).filePath(QStringLiteral("vantor"));
    return choose(QCoreApplication::applicationDirPath(), config,
                  [](const QString &folder) { return QFileInfo(folder).isWritable(); });
}
