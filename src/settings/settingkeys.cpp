#include "settings/settingkeys.h"

#include "settings/inifile.h"

#include <algorithm>

QString indexedKey(const char *prefix, int index)
{
    return QLatin1String(prefix) + QString::number(index);
}

namespace {

void readValue(IniFile &ini, const QString &section, const QString &key, QString &target, const QString &defaultValue)
{
    target = ini.readString(section, key, defaultValue);
}

void readValue(IniFile &ini, const QString &section, const QString &key, bool &target, bool defaultValue)
{
    target = ini.readBool(section, key, defaultValue);
}

void writeValue(IniFile &ini, const QString &section, const QString &key, const QString &value)
{
    ini.writeString(section, key, value);
}

void writeValue(IniFile &ini, const QString &section, const QString &key, bool value)
{
    ini.writeBool(section, key, value);
}

int fitted(int value, int current, const IntKey &key)
{
    switch (key.rule) {
    case OutOfRange::Taken:
        return value;
    case OutOfRange::Clamped:
        return std::clamp(value, key.min, key.max);
    case OutOfRange::Default:
        return value >= key.min && value <= key.max ? value : key.defaultValue;
    case OutOfRange::KeptBelow:
        return value >= key.min ? std::min(value, key.max) : current;
    case OutOfRange::LowByte:
        return value & 0xFF;
    }
    return value;
}

} // namespace

void BoolKey::load(IniFile &ini, const QString &section, SettingsModel &model) const
{
    model.*member = ini.readBool(section, QLatin1String(name), defaultValue);
}

void BoolKey::save(IniFile &ini, const QString &section, const SettingsModel &model) const
{
    ini.writeBool(section, QLatin1String(name), model.*member);
}

void IntKey::load(IniFile &ini, const QString &section, SettingsModel &model) const
{
    model.*member = fitted(ini.readInteger(section, QLatin1String(name), defaultValue), model.*member, *this);
}

void IntKey::save(IniFile &ini, const QString &section, const SettingsModel &model) const
{
    ini.writeInteger(section, QLatin1String(name), model.*member);
}

QString TextKey::read(IniFile &ini, const QString &section) const
{
    const QString value = ini.readString(section, QLatin1String(name), QLatin1String(defaultValue));
    return kind == Choice ? value.trimmed() : value;
}

void TextKey::load(IniFile &ini, const QString &section, SettingsModel &model) const
{
    model.*member = read(ini, section);
}

void TextKey::save(IniFile &ini, const QString &section, const SettingsModel &model) const
{
    if (kind == Plain || !(model.*member).isEmpty())
        ini.writeString(section, QLatin1String(name), model.*member);
}

void LaunchKeys::load(IniFile &ini, const QString &section, SettingsModel &model) const
{
    const LaunchTable defaults = defaultLaunchTable();
    for (int i = 0; i < LaunchGameCount; ++i) {
        for (const LaunchField &field : fields)
            std::visit([&](auto member) {
                readValue(ini, section, indexedKey(field.prefix, i), model.games[i].*member, defaults[i].*member);
            }, field.member);
    }
}

void LaunchKeys::save(IniFile &ini, const QString &section, const SettingsModel &model) const
{
    for (int i = 0; i < LaunchGameCount; ++i) {
        for (const LaunchField &field : fields)
            std::visit([&](auto member) { writeValue(ini, section, indexedKey(field.prefix, i), model.games[i].*member); },
                       field.member);
    }
}

void KeyTable::load(IniFile &ini, SettingsModel &model) const
{
    for (const SettingKey &key : keys)
        std::visit([&](const auto &k) { k.load(ini, section, model); }, key);
}

void KeyTable::save(IniFile &ini, const SettingsModel &model) const
{
    for (const SettingKey &key : keys)
        std::visit([&](const auto &k) { k.save(ini, section, model); }, key);
}
