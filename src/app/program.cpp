#include "app/program.h"

#include "app/language.h"
#include "settings/favoritesmodel.h"
#include "settings/inilocation.h"
#include "ui/about.h"
#include "ui/autoconnect.h"
#include "ui/options.h"
#include "ui/pass.h"
#include "ui/scangames.h"
#include "ui/singleinstance.h"
#include "ui/transparency.h"
#include "buildinfo.h"

#include <QApplication>
#include <QTextStream>

Program::Program() : ini(IniLocation::forThisProgram())
{
    if (VANTOR_UPDATE_CHECK) {
        updateFetch = std::make_unique<HttpFetch>();
        updates = std::make_unique<UpdateChecker>(
            UpdateChecker::Services{*updateFetch, prompter, shell, settings, [] { return QDate::currentDate(); }},
            QUrl(QStringLiteral(VANTOR_UPDATE_URL)), QStringLiteral(VANTOR_VERSION));
    }
}

Program::~Program() = default;

void Program::closeWindows()
{
    // Reverse order of creation: the password prompt writes its section as
    // it goes, then the settings are saved, while the main window still
    // exists. A refused write is reported on stderr: by now nobody may be
    // looking, and a box would keep the program from ending.
    static QTextStream errors(stderr);
    prompter.writeTo(&errors);
    autoDialog.reset();
    pass.reset();
    about.reset();
    settingsDialog->saveSettings();
    settingsDialog.reset();
    form1.reset();
}

int Program::run()
{
    // Every window takes its texts in the chosen language as it is built.
    Language::installFor(SettingsModel::readLanguage(ini));
    const QString title = TForm1::applicationTitle();
    SingleInstance instance(title);
    if (!instance.isFirst()) {
        instance.notifyFirst();
        return 0;
    }

    form1 = std::make_unique<TForm1>(TForm1::Services{settings, autoConnect, launch, prompter, shell, localAddress, networkCards});
    prompter.setParentWindow(form1.get());
    QObject::connect(&instance, &SingleInstance::showRequested, form1.get(), &TForm1::bringToFront);

    settingsDialog = std::make_unique<TSettings>(settings, ini, prompter, networkCards);
    settingsDialog->loadSettings();
    form1->servers().shareSortColumn(sortColumn);
    settingsDialog->favorites().shareSortColumn(sortColumn);
    form1->setFavorites(&settingsDialog->favorites());
    QObject::connect(settingsDialog.get(), &TSettings::favoritesScanSwitched, form1.get(),
                     &TForm1::favoritesScanSwitched);
    QObject::connect(settingsDialog.get(), &TSettings::favoritesIntervalChanged, form1.get(),
                     &TForm1::favoritesIntervalChanged);
    form1->applySettings();
    form1->setIniFile(&ini);
    about = std::make_unique<TFormAbout>(settings, updates.get(), shell);
    pass = std::make_unique<TFormPass>(settings, ini, prompter, launch);
    autoDialog = std::make_unique<TFormAuto>(settings, form1->autoConnector());

    QObject::connect(form1.get(), &TForm1::optionsRequested, settingsDialog.get(), [this] {
        settingsDialog->show();
        settingsDialog->raise();
    });
    QObject::connect(form1.get(), &TForm1::aboutRequested, about.get(), [this] {
        about->show();
        about->raise();
    });
    QObject::connect(form1.get(), &TForm1::passwordRequested, pass.get(), [this] {
        pass->show();
        pass->raise();
        pass->activateWindow();
    });
    QObject::connect(pass.get(), &TFormPass::playRequested, form1.get(), &TForm1::SBPlayClick);
    if (updates)
        QObject::connect(form1.get(), &TForm1::activated, updates.get(), &UpdateChecker::automaticTrigger);
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, form1.get(), &TForm1::sessionEnding);
    QObject::connect(settingsDialog.get(), &TSettings::transparencyChanged, form1.get(), [this] {
        // Hidden windows take the setting when they are next shown.
        const std::initializer_list<QWidget *> windows = {form1.get(), settingsDialog.get(), about.get(), pass.get(),
                                                          autoDialog.get()};
        for (QWidget *window : windows) {
            if (window->isVisible())
                applyTransparency(window, settings);
        }
    });

    form1->show();
    const int exitCode = QApplication::exec();
    closeWindows();
    return exitCode;
}
