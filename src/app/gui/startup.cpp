#include "app/gui/startup.h"

#include "app/information_options.h"
#include "platform/chime_process_output.h"
#include "platform/data_files.h"
#include "platform/gui/desktop_browser_opener.h"
#include "platform/gui/desktop_notifier.h"
#include "platform/gui/desktop_tray_icon.h"
#include "platform/gui/program_icon.h"
#include "platform/heap_tuning.h"
#include "platform/single_instance.h"
#include "platform/sound_player.h"
#include "platform/startup_entry.h"
#include "platform/termination_signals.h"
#include "platform/translations.h"
#include "platform/visual_styles.h"
#include "settings/app_settings.h"
#include "settings/legacy_import.h"
#include "settings/qsettings_registry.h"
#include "settings/server_settings.h"
#include "ui/gui/exit_prompt.h"
#include "ui/gui/main_window.h"
#include "ui/gui/update_checker.h"
#include "update/version.h"

#include <QApplication>
#include <QDBusConnection>
#include <QPointer>
#include <QTimer>

namespace voltwise {

namespace {

struct Program
{
    QSettingsRegistryBackend store{RegistryDirectoriesFromEnvironment()};
    MessageBoxExitPrompt exitPrompt;
    DesktopBrowserOpener browser;
    XdgAutostartEntry startupEntry{XdgAutostartEntry::defaultDirectory(),
                                   QCoreApplication::applicationFilePath()};
    std::unique_ptr<SoundPlayer> sound =
        std::make_unique<WaveSoundPlayer>(std::make_unique<ChimeProcessOutput>(
            ChimeProgramPath(QCoreApplication::applicationDirPath())));
    DesktopNotifier notifier{QDBusConnection::sessionBus(), browser};
    std::unique_ptr<MainWindow> window;
};

// Runs beside the window: neither its showing nor its refreshes wait for it.
QCoro::Task<> startupUpdateCheck(QPointer<MainWindow> window)
{
    const bool downloadChosen =
        co_await window->updateChecker()->run(UpdateChecker::Trigger::Startup);
    if (downloadChosen && window)
        co_await window->requestUnload(UnloadMode::ProgramRequest);
}

QCoro::Task<> runStartup(Program *program, SingleInstance *instance)
{
    // Migrate the settings of older versions before anything reads them.
    ImportLegacySettingsAtStartup(program->store);
    NoThemeLibraryPlatform themes;
    if (IsThemeLibraryLoaded(themes))
        InitVisualStyles(themes);

    MainWindowServices services;
    services.store = &program->store;
    services.servers = LoadServerUrls(program->store);
    services.exitPrompt = &program->exitPrompt;
    services.sound = program->sound.get();
    services.browser = &program->browser;
    services.notifier = &program->notifier;
    services.startupEntry = &program->startupEntry;
    // The icon follows the panels as they come and go (an autostart at login
    // often starts before its panel). Until one is there, closing and
    // minimising keep the window reachable.
    services.makeTray = [](QMenu *menu, QObject *parent) -> TrayIcon * {
        return new DesktopTrayIcon(QDBusConnection::sessionBus(), menu, parent);
    };
    // End-to-end tests shorten the minute so that they need not wait for it.
    bool shortMinute = false;
    const int minute = qEnvironmentVariableIntValue("VOLTWISE_TEST_MINUTE_MS", &shortMinute);
    if (shortMinute && minute > 0)
        services.minuteMilliseconds = minute;
    program->window = std::make_unique<MainWindow>(services);
    MainWindow *window = program->window.get();

    QObject::connect(instance, &SingleInstance::activationRequested, window,
                     &MainWindow::showDetails);
    auto *termination = new TerminationSignals(window);
    QObject::connect(termination, &TerminationSignals::terminationRequested, window,
                     [window] { window->requestUnload(UnloadMode::SessionEnd); });
    // The session manager may still cancel a logout: keep what matters now,
    // and end when the session really ends (it terminates the program).
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, window,
                     &MainWindow::commitSettings);

    QPointer<MainWindow> guard(window);
    co_await window->Form_Load();
    if (guard && !window->isUnloaded() && window->settings().AutoUpdate)
        startupUpdateCheck(window);
    if (guard && !window->isUnloaded() && window->settings().ShowAtStartup)
        window->show();
}

} // namespace

int Main(int argc, char **argv)
{
    SetBuildStage(128);
    KeepLargeBuffersOffTheHeap();
    if (const auto exitStatus = AnswerInformationOption(argc, argv))
        return *exitStatus;

    QApplication app(argc, argv);
    QApplication::setApplicationName(u"Voltwise"_qs);
    QApplication::setOrganizationName(u"Ternwood"_qs);
    QApplication::setApplicationVersion(VersionString());
    QApplication::setQuitOnLastWindowClosed(false);
    // Lets the desktop match the windows with the launcher and its icon.
    QGuiApplication::setDesktopFileName(kProgramIconName.toString());
    InstallTranslations(QLocale::system());

    SingleInstance instance(SingleInstance::defaultRuntimeDirectory(),
                            SingleInstance::defaultKey());
    if (!instance.tryBecomePrimary())
        return instance.activatePrimary() ? 0 : 1;

    QApplication::setWindowIcon(ProgramIcon());
    // An installation without the chime shows at start, not at the first alert.
    DataFilePath(u"notice.wav"_qs);

    Program program;
    QTimer::singleShot(0, &app, [&] { runStartup(&program, &instance); });
    const int result = app.exec();
    program.window.reset();
    // A notice still sliding owns itself; it ends with the program.
    QList<QPointer<QWidget>> windows;
    for (QWidget *window : QApplication::topLevelWidgets())
        if (!window->parentWidget())
            windows.append(window);
    for (const QPointer<QWidget> &window : std::as_const(windows))
        delete window.data();
    return result;
}

} // namespace voltwise
