#pragma once

#include <QString>
#include <QStringList>

// The language of the texts: the program's own translations, embedded under
// :/i18n, and Qt's for its standard buttons and dialogs where installed.
namespace Language {

// The codes of the translations the program carries (English is the source).
QStringList translated();

// The translation to load for a setting: "en" is English, a carried code is
// that language, anything else (empty) follows the user's languages in order
// of preference (QLocale::uiLanguages), English when none is carried before
// an English one. The empty result means English.
QString pick(const QString &setting, const QStringList &uiLanguages);

// Installs the translators of a language picked above on the application, in
// place of any installed before; nothing for English.
void install(const QString &language);

// pick() for the stored setting and the system's languages, then install().
void installFor(const QString &setting);

} // namespace Language
