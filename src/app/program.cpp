#include "app/program.h"

#include "app/language.h"
#include "join/autoconnect.h"
#include "join/scansession.h"
#include "net/udpendpoint.h"
#include "scan/serverlistmodel.h"
#include "settings/favoritesmodel.h"
#include "settings/inilocation.h"
#include "ui/aboutbox.h"
#include "ui/autoconnectdialog.h"
#include "ui/mainwindow.h"
#include "ui/passwordprompt.h"
#include "ui/settingsdialog.h"
#include "ui/singleinstance.h"
#include "ui/transparency.h"
#include "buildinfo.h"

#include <QApplication>
#include <QMessageBox>
#include <QTextStream>

namespace {

// Whether a person can see a message box: not on the platforms that draw nowhere.
bool displayShown()
{
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

QTextStream &errorStream()
{
    static QTextStream errors(stderr);
    return errors;
}

} // namespace

Program::Program() : Program(Options()) { }

Program::Program(Options options)
    : m_options(std::move(options))
    , m_ini(m_options.iniPath.isEmpty() ? IniLocation::forThisProgram() : m_options.iniPath)
{
    if (VANTOR_UPDATE_CHECK && m_options.updateCheck) {
        m_updateFetch = std::make_unique<HttpFetch>();
        m_updates = std::make_unique<UpdateChecker>(
            UpdateChecker::Services{*m_updateFetch, m_prompter, m_shell, m_settings,
                                    [] { return QDate::currentDate(); }},
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
    m_prompter.writeTo(&errorStream());
    m_autoDialog.reset();
    m_pass.reset();
    m_about.reset();
    if (m_settingsDialog)
        m_settingsDialog->saveSettings();
    m_settingsDialog.reset();
    m_form1.reset();
    m_session.reset();
}

bool Program::start()
{
    try {
        m_session = std::make_unique<ScanSession>(ScanSession::Services{
            m_settings, m_prompter, m_shell, m_localAddress, m_networkCards, m_options.localPort,
            m_options.newSocket});
    } catch (const SocketError &e) {
        //: At start, when no UDP socket can be had; %1 is the system's reason.
        const QString text = QCoreApplication::translate("Program", "Vantor cannot open its UDP socket (%1), so it "
                                                                    "cannot ask any server. It ends now.")
                                 .arg(e.message());
        if (displayShown()) {
            auto *box = new QMessageBox(QMessageBox::Critical,
                                        QCoreApplication::translate("MessageBox", "Error"), text, QMessageBox::Ok);
            box->setAttribute(Qt::WA_DeleteOnClose);
            QObject::connect(box, &QMessageBox::finished, qApp, [] { QCoreApplication::exit(1); });
            box->open();
        } else {
            errorStream() << "vantor: " << text << Qt::endl;
        }
        return false;
    }

    m_form1 = std::make_unique<TForm1>(*m_session, m_shell, m_options.registerHotkey);
    m_prompter.setParentWindow(m_form1.get());
    m_settingsDialog = std::make_unique<TSettings>(m_settings, m_ini, m_prompter, m_networkCards);
    m_settingsDialog->loadSettings();
    m_session->servers().shareSortColumn(m_sortColumn);
    m_settingsDialog->favorites().shareSortColumn(m_sortColumn);
    m_session->setFavorites(&m_settingsDialog->favorites());
    m_session->setIniFile(&m_ini);
    m_form1->applySettings();
    m_about = std::make_unique<TFormAbout>(m_settings, m_updates.get(), m_shell);
    m_pass = std::make_unique<TFormPass>(m_settings, m_ini, m_prompter, m_session->launcher());
    m_autoDialog = std::make_unique<TFormAuto>(m_settings, m_session->autoConnect());
    connectWindows();
    m_form1->show();
    return true;
}

void Program::connectWindows()
{
    TForm1 *form1 = m_form1.get();
    QObject::connect(m_settingsDialog.get(), &TSettings::favoritesScanSwitched, m_session.get(),
                     &ScanSession::switchFavoritesScan);
    QObject::connect(m_settingsDialog.get(), &TSettings::favoritesIntervalChanged, m_session.get(),
                     &ScanSession::setFavoritesInterval);
    QObject::connect(form1, &TForm1::optionsRequested, m_settingsDialog.get(), [this] {
        m_settingsDialog->show();
        m_settingsDialog->raise();
    });
    QObject::connect(form1, &TForm1::aboutRequested, m_about.get(), [this] {
        m_about->show();
        m_about->raise();
    });
    QObject::connect(form1, &TForm1::passwordRequested, m_pass.get(), [this] {
        m_pass->show();
        m_pass->raise();
        m_pass->activateWindow();
    });
    QObject::connect(m_pass.get(), &TFormPass::playRequested, m_session.get(), &ScanSession::play);
    if (m_updates)
        QObject::connect(form1, &TForm1::activated, m_updates.get(), &UpdateChecker::automaticTrigger);
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, form1, &TForm1::sessionEnding);
    QObject::connect(m_settingsDialog.get(), &TSettings::transparencyChanged, form1, [this] {
        // Hidden windows take the setting when they are next shown.
        const std::initializer_list<QWidget *> windows = {m_form1.get(), m_settingsDialog.get(), m_about.get(),
                                                          m_pass.get(), m_autoDialog.get()};
        for (QWidget *window : windows) {
            if (window->isVisible())
                applyTransparency(window, m_settings);
        }
    });
}

int Program::run()
{
    // Every window takes its texts in the chosen language as it is built.
    Language::installFor(SettingsModel::readLanguage(m_ini));
    const QString title = TForm1::applicationTitle();
    SingleInstance instance(title);
    if (!instance.isFirst()) {
        instance.notifyFirst();
        return 0;
    }
    if (!start())
        return displayShown() ? QApplication::exec() : 1;
    QObject::connect(&instance, &SingleInstance::showRequested, m_form1.get(), &TForm1::bringToFront);
    const int exitCode = QApplication::exec();
    closeWindows();
    return exitCode;
}
