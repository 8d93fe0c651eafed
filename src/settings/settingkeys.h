#pragma once

#include "settings/settingsmodel.h"

#include <QString>
#include <variant>
#include <vector>

class IniFile;

// Keys of the settings file, each tied to the model value it holds: what the
// load reads when the key is missing or out of range, and how the save writes
// it. Load and save both go through a table of these, so a key is named once.

struct BoolKey
{
    const char *name;
    bool SettingsModel::*member;
    bool defaultValue;

    void load(IniFile &ini, const QString &section, SettingsModel &model) const;
    void save(IniFile &ini, const QString &section, const SettingsModel &model) const;
};

// What the load makes of a number outside min..max, as the control showing it would.
enum class OutOfRange {
    Taken,     // there is no range
    Clamped,   // the nearer end of the range
    Default,   // the default (an index that selects nothing)
    KeptBelow, // below it the value stays as it was, above it the value is max
    LowByte,   // only the low eight bits count
};

struct IntKey
{
    const char *name;
    int SettingsModel::*member;
    int defaultValue;
    OutOfRange rule = OutOfRange::Taken;
    int min = 0;
    int max = 0;

    void load(IniFile &ini, const QString &section, SettingsModel &model) const;
    void save(IniFile &ini, const QString &section, const SettingsModel &model) const;
};

struct TextKey
{
    // A choice reads without blanks and is written only once made, so the file
    // of a user who never chose stays as it was.
    enum Kind { Plain, Choice };

    const char *name;
    QString SettingsModel::*member;
    const char *defaultValue = "";
    Kind kind = Plain;

    QString read(IniFile &ini, const QString &section) const;
    void load(IniFile &ini, const QString &section, SettingsModel &model) const;
    void save(IniFile &ini, const QString &section, const SettingsModel &model) const;
};

// A key of a numbered row: the prefix and the row's index ("RangeFrom0").
QString indexedKey(const char *prefix, int index);

// A value that every game of the launch table has, under the prefix and the
// game's index ("ExePath0"); its default is the launch table's.
struct LaunchField
{
    const char *prefix;
    std::variant<QString LaunchEntry::*, bool LaunchEntry::*> member;
};

// Launch fields that the save writes game by game: ExePath0, Param0, ExePath1, ...
struct LaunchKeys
{
    std::vector<LaunchField> fields;

    void load(IniFile &ini, const QString &section, SettingsModel &model) const;
    void save(IniFile &ini, const QString &section, const SettingsModel &model) const;
};

using SettingKey = std::variant<BoolKey, IntKey, TextKey, LaunchKeys>;

// The keys of one section in the order the save writes them.
struct KeyTable
{
    QString section;
    std::vector<SettingKey> keys;

    void load(IniFile &ini, SettingsModel &model) const;
    void save(IniFile &ini, const SettingsModel &model) const;
};
