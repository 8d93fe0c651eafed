#pragma once

#include <QString>

#include <functional>

// Where vantor.ini lives. A copy that can keep its settings beside itself
// stays portable: a vantor.ini already there wins, and so does a folder the
// user may write to. An installed copy (in /usr/bin, say) cannot save there,
// so its file goes to the user's configuration folder instead.
class IniLocation
{
public:
    // Tells whether the user may create files in a folder.
    using FolderWritable = std::function<bool(const QString &folder)>;

    static QString choose(const QString &executableFolder, const QString &configFolder,
                          const FolderWritable &folderWritable);

    // The choice for the running executable: $XDG_CONFIG_HOME/vantor on
    // Linux, the local application data folder's vantor on Windows.
    static QString forThisProgram();
};
