#include "app/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace {

const QString English = QStringLiteral("en");

// Kept for the whole run: the application only holds pointers to them.
std::unique_ptr<QTranslator> &ownTranslator()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

std::unique_ptr<QTranslator> &qtTranslator()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

// Puts the translator of a file in the slot's place; an empty name leaves the slot empty.
void replace(std::unique_ptr<QTranslator> &slot, const QString &file, const QString &folder)
{
    if (slot)
        QCoreApplication::removeTranslator(slot.get());
    slot.reset();
    if (file.isEmpty())
        return;
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(file, folder) && QCoreApplication::installTranslator(translator.get()))
        slot = std::move(translator);
}

} // namespace

QStringList Language::translated()
{
    return {QStringLiteral("de"), QStringLiteral("ru")};
}

QString Language::pick(const QString &setting, const QStringList &uiLanguages)
{
    if (setting == English)
        return QString();
    if (translated().contains(setting))
        return setting;
    for (const QString &name : uiLanguages) {
        const QLocale locale(name);
        // "C" and "POSIX" are the untranslated texts, that is English.
        if (locale.language() == QLocale::English || locale.language() == QLocale::C)
            return QString();
        const QString code = QLocale::languageToCode(locale.language());
        if (translated().contains(code))
            return code;
    }
    return QString();
}

void Language::install(const QString &language)
{
    const bool english = language.isEmpty();
    replace(ownTranslator(), english ? QString() : QStringLiteral("vantor_") + language, QStringLiteral(":/i18n"));
    // Qt's own texts (standard buttons, the file dialog) come with Qt's translations package, where installed.
    replace(qtTranslator(), english ? QString() : QStringLiteral("qtbase_") + language,
            QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

void Language::installFor(const QString &setting)
{
    install(pick(setting, QLocale::system().uiLanguages()));
}
