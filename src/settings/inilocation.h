#pragma once

#include <QString>

#include <functional>

// Where vantor.ini lives. A copy that keeps its settings beside itself stays
// portable: a vantor.ini already there wins, and so does a folder the user may
// write to, unless the copy runs from an installed place (/usr/bin, say).
// There root may write too, but a file it made would hide every user's own
// settings, so an installed copy keeps them in the user's configuration folder.
class IniLocation
{
public:
    // Tells whether the user may create files in a folder.
    using FolderWritable = std::function<bool(const QString &folder)>;

    static QString choose(const QString &executableFolder, const QString &configFolder, bool installed,
                          const FolderWritable &folderWritable);

    // Whether a folder is where an install puts programs: the folder the build
    // installs them to, or anywhere below /usr or /opt, whatever the prefix
    // (a package installs to /usr whatever the build's own).
    static bool isInstalled(const QString &executableFolder, const QString &installFolder);

    // The choice for the running executable: $XDG_CONFIG_HOME/vantor on
    // Linux, the local application data folder's vantor on Windows.
    static QString forThisProgram();
};
