// The main window against the in-process simulated grid operator, with its
// settings in a temporary store and fakes for the exit question, the sound
// and the browser.
#include "app/conversions.h"
#include "app/download/download_channel.h"
#include "gridsim/grid_sim.h"
#include "platform/recording_browser_opener.h"
#include "platform/recording_sound_player.h"
#include "settings/qsettings_registry.h"
#include "settings/registry_operations.h"
#include "status/tray_click_protocol.h"
#include "ui/exit_prompt.h"
#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <qcoro/qcorosignal.h>

#include <cmath>
#include <memory>

using namespace voltwise;
using namespace voltwise::gridsim;
using namespace std::chrono_literals;

namespace {

const QLocale kEnglishUs(QLocale::English, QLocale::UnitedStates);
const QDateTime kAfternoon(QDate(2001, 8, 13), QTime(14, 25, 3));

const QStringList kWindowSettingKeys{u"AlwaysOnTop"_qs, u"AutoCheck"_qs,     u"AutoUpdate"_qs,
                                     u"GraphValues"_qs, u"PlaySound"_qs,     u"ShowAtStartup"_qs,
                                     u"ShowDetails"_qs, u"UpdateInterval"_qs};

const QStringList kAllPaths{kStatusCsvPath.toString(), kLoadPicturePath.toString(),
                            kOutlookPagePath.toString(), kForecastPagePath.toString(),
                            kStatusPagePath.toString()};

// " 31,456 MW", spelled out for US English rather than through the program's helper.
QString UsMegawatts(double value)
{
    return u" "_qs + kEnglishUs.toString(qint64(std::llround(value))) + u" MW"_qs;
}

QString UsDate(const QDateTime &time)
{
    return FormatGeneralDate(OleDate::fromDateTime(time), kEnglishUs);
}

// Answers the exit question at once, or holds it until answer() is called.
class ScriptedExitPrompt final : public QObject, public ExitPrompt
{
    Q_OBJECT

public:
    QCoro::Task<bool> confirmExit(QWidget *) override
    {
        ++asked;
        if (!hold)
            co_return yes;
        pending = true;
        const bool answer = co_await qCoro(this, &ScriptedExitPrompt::answered);
        co_return answer;
    }

    void answer(bool answerYes)
    {
        pending = false;
        Q_EMIT answered(answerYes);
    }

    bool yes = false;
    bool hold = false;
    bool pending = false;
    int asked = 0;

Q_SIGNALS:
    void answered(bool yes);
};

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QSettingsRegistryBackend> m_store;
    std::unique_ptr<GridSim> m_sim;
    RecordingSoundPlayer m_sound;
    RecordingBrowserOpener m_browser;
    ScriptedExitPrompt m_prompt;
    int m_quits = 0;
    std::unique_ptr<MainWindow> m_window;
    QList<QPointer<QWidget>> m_notices;

    MainWindow *makeWindow(bool trayAvailable = true)
    {
        MainWindowServices services;
        services.store = m_store.get();
        services.servers = {m_sim->baseUrl(), m_sim->baseUrl(), m_sim->baseUrl()};
        services.locale = kEnglishUs;
        services.exitPrompt = &m_prompt;
        services.sound = &m_sound;
        services.browser = &m_browser;
        services.trayAvailable = trayAvailable;
        services.publishOnBus = false;
        services.quit = [this] {
            ++m_quits;
        };
        m_window = std::make_unique<MainWindow>(services);
        connect(m_window.get(), &MainWindow::noticeRaised, this,
                [this](QWidget *notice) { m_notices << notice; });
        return m_window.get();
    }

    MainWindow *loadWindow(bool trayAvailable = true)
    {
        MainWindow *window = makeWindow(trayAvailable);
        QCoro::waitFor(window->Form_Load());
        return window;
    }

    void storeSetting(const QString &key, const QString &value)
    {
        QVERIFY(SaveSetting(*m_store, u"Voltwise"_qs, u"Settings"_qs, key, value));
    }

    QString storedSetting(const QString &key) const
    {
        return GetSetting(*m_store, u"Voltwise"_qs, u"Settings"_qs, key, u"<missing>"_qs);
    }

    QString storedPlacement() const
    {
        return GetSetting(*m_store, u"Voltwise"_qs, u"WindowSettings"_qs, u"frmMain"_qs, QString());
    }

    template <typename T>
    T *child(const QString &name) const
    {
        T *found = m_window->findChild<T *>(name);
        if (!found)
            qWarning("no child %s", qPrintable(name));
        return found;
    }

    QString text(const QString &label) const { return child<QLabel>(label)->text(); }

    // What a refresh leaves on screen, to tell whether anything changed.
    QStringList shownTexts() const
    {
        QStringList texts{text(u"lblStatusText"_qs)};
        for (int i = 0; i < 7; ++i)
            texts << text(u"lblCurrentCondition(%1)"_qs.arg(i));
        for (int i = 0; i < 8; ++i)
            texts << text(u"lblLoadReduction(%1)"_qs.arg(i));
        texts << child<QPlainTextEdit>(u"rtbNotices"_qs)->toPlainText()
              << child<QPlainTextEdit>(u"rtbForecasts"_qs)->toPlainText();
        return texts;
    }

    int litLevelLabel() const
    {
        int lit = -1;
        for (int i = 0; i < 6; ++i) {
            if (child<QLabel>(u"lblStatus(%1)"_qs.arg(i))->property("lit").toBool())
                lit = lit == -1 ? i : -2; // two lit labels is a fault of its own
        }
        return lit;
    }

    bool triggersEnabled() const
    {
        return child<QAction>(u"mnuFileUpdate"_qs)->isEnabled() &&
               child<QTimer>(u"tmrMinute"_qs)->isActive();
    }

    bool triggersDisabled() const
    {
        return !child<QAction>(u"mnuFileUpdate"_qs)->isEnabled() &&
               !child<QTimer>(u"tmrMinute"_qs)->isActive();
    }

    int csvRequests() const { return m_sim->requestCount(kStatusCsvPath); }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_store = std::make_unique<QSettingsRegistryBackend>(
            RegistryDirectories{m_dir->filePath(u"user"_qs), {m_dir->filePath(u"machine"_qs)}});
        m_sim = std::make_unique<GridSim>();
        QVERIFY(m_sim->listen(QHostAddress::LocalHost, 0));
        m_sim->setClock([] { return kAfternoon; });
        m_sound.played.clear();
        m_browser.opened.clear();
        m_prompt.yes = false;
        m_prompt.hold = false;
        m_prompt.asked = 0;
        m_quits = 0;
        m_notices.clear();
    }

    void cleanup()
    {
        if (m_prompt.pending)
            m_prompt.answer(false);
        for (const QPointer<QWidget> &notice : std::as_const(m_notices))
            delete notice.data();
        m_window.reset();
        m_sim.reset();
        m_store.reset();
        m_dir.reset();
        // Replies and sockets go with deleteLater.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    // --- the load step ---

    void loadAppliesTheStoredSettings_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("detailsChecked");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<bool>("onTop");

        QTest::newRow("nothing stored") << QString() << QString() << true << true << false;
        QTest::newRow("ShowDetails False")
            << u"ShowDetails"_qs << u"False"_qs << false << true << false;
        QTest::newRow("ShowAtStartup False")
            << u"ShowAtStartup"_qs << u"False"_qs << true << false << false;
        QTest::newRow("AlwaysOnTop True")
            << u"AlwaysOnTop"_qs << u"True"_qs << true << true << true;
    }

    void loadAppliesTheStoredSettings()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(bool, detailsChecked);
        QFETCH(bool, visible);
        QFETCH(bool, onTop);
        if (!key.isEmpty())
            storeSetting(key, value);

        MainWindow *window = loadWindow();

        auto *details = child<QCheckBox>(u"chkDetails"_qs);
        QCOMPARE(details->isChecked(), detailsChecked);
        QCOMPARE(window->isVisible(), visible);
        QCOMPARE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint), onTop);

        // The short layout is shorter than the detailed one, and the check box
        // switches between them and remembers the choice.
        const int height = window->height();
        details->setChecked(!detailsChecked);
        QCOMPARE(window->settings().ShowDetails, !detailsChecked);
        QVERIFY2(detailsChecked ? window->height() < height : window->height() > height,
                 qPrintable(u"%1 -> %2"_qs.arg(height).arg(window->height())));
    }

    void loadReadsNumbersFromTheStore()
    {
        storeSetting(u"UpdateInterval"_qs, u"7"_qs);
        storeSetting(u"GraphValues"_qs, u"5"_qs);
        storeSetting(u"PlaySound"_qs, u"False"_qs);
        MainWindow *window = loadWindow();
        QCOMPARE(window->settings().UpdateInterval, 7);
        QCOMPARE(window->settings().GraphValues, 5);
        QCOMPARE(window->settings().PlaySound, false);
    }

    void statusIsUnknownUntilTheFirstRefreshEnds()
    {
        m_sim->setFault(kStatusCsvPath, Fault{.delay = 200ms});
        MainWindow *window = makeWindow();
        QSignalSpy finished(window, &MainWindow::refreshFinished);

        QCoro::Task<> load = window->Form_Load();

        QVERIFY(!load.isReady());
        QVERIFY(window->isRefreshing());
        QCOMPARE(text(u"lblStatusText"_qs), u"Status Unknown"_qs);
        QCOMPARE(litLevelLabel(), -1);
        QCOMPARE(child<QSystemTrayIcon>(u"trayIcon"_qs)->toolTip(), u"Status Unknown"_qs);
        QCOMPARE(text(u"lblCurrentCondition(0)"_qs), u"Not updated"_qs);

        QCoro::waitFor(load);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(text(u"lblStatusText"_qs), u"System Normal"_qs);
    }

    void firstRefreshFillsTheWindow_data()
    {
        QTest::addColumn<int>("walkStep");
        QTest::addColumn<QString>("statusText");
        QTest::addColumn<QString>("condition");
        QTest::addColumn<int>("litLabel");

        QTest::newRow("normal") << 0 << u"System Normal"_qs << u"System Normal"_qs << 0;
        QTest::newRow("alert") << 1 << u"Alert Notice"_qs << u"Alert Notice"_qs << 1;
        QTest::newRow("stage 3") << 5 << u"Stage 3 Emergency"_qs << u"Stage 3 Emergency"_qs << 5;
        QTest::newRow("load interruptions")
            << 6 << u"Rolling Blackouts"_qs << u"Emergency Load Reductions"_qs << 5;
    }

    void firstRefreshFillsTheWindow()
    {
        QFETCH(int, walkStep);
        QFETCH(QString, statusText);
        QFETCH(QString, condition);
        QFETCH(int, litLabel);
        m_sim->setScenario(ScenarioKind::Walk);
        for (int i = 0; i < walkStep; ++i)
            m_sim->advance();
        const GridSnapshot s = m_sim->snapshot();

        MainWindow *window = loadWindow();

        QCOMPARE(text(u"lblStatusText"_qs), statusText);
        QCOMPARE(litLevelLabel(), litLabel);
        QCOMPARE(child<QSystemTrayIcon>(u"trayIcon"_qs)->toolTip(),
                 condition + u": "_qs + UsMegawatts(s.actualDemand).mid(1));
        QVERIFY(!child<QLabel>(u"imgGraph"_qs)->pixmap().isNull());

        QCOMPARE(text(u"lblCurrentCondition(0)"_qs), u"Updated: "_qs + UsDate(s.measured));
        QCOMPARE(text(u"lblCurrentCondition(1)"_qs), UsMegawatts(s.availableResources));
        QCOMPARE(text(u"lblCurrentCondition(2)"_qs), UsMegawatts(s.actualDemand));
        QCOMPARE(text(u"lblCurrentCondition(3)"_qs),
                 UsMegawatts(s.availableResources - s.actualDemand));
        QCOMPARE(text(u"lblCurrentCondition(4)"_qs), UsMegawatts(s.peakDemandToday));
        QCOMPARE(text(u"lblCurrentCondition(5)"_qs), UsMegawatts(s.forecastPeakToday));
        QCOMPARE(text(u"lblCurrentCondition(6)"_qs), UsMegawatts(s.forecastPeakTomorrow));

        QCOMPARE(text(u"lblLoadReduction(0)"_qs), u"Current Load Reductions"_qs);
        if (s.level == LevelLoadInterruptions) {
            const TerritoryInterruptions &cut = s.interruptions;
            QCOMPARE(text(u"lblLoadReduction(1)"_qs),
                     UsDate(s.levelStart) + u" to "_qs + UsDate(s.levelEnd));
            QCOMPARE(text(u"lblLoadReduction(2)"_qs), UsMegawatts(cut.total()));
            QCOMPARE(text(u"lblLoadReduction(3)"_qs), UsMegawatts(cut.pge));
            QCOMPARE(text(u"lblLoadReduction(4)"_qs), UsMegawatts(cut.sce));
            QCOMPARE(text(u"lblLoadReduction(5)"_qs), UsMegawatts(cut.sdge));
            QCOMPARE(text(u"lblLoadReduction(6)"_qs), UsMegawatts(cut.pasadena));
            QCOMPARE(text(u"lblLoadReduction(7)"_qs), UsMegawatts(cut.vernon));
        } else {
            QCOMPARE(text(u"lblLoadReduction(1)"_qs), u"None Required"_qs);
            for (int i = 2; i < 8; ++i)
                QCOMPARE(text(u"lblLoadReduction(%1)"_qs.arg(i)), u" 0 MW"_qs);
        }

        const QString notices = child<QPlainTextEdit>(u"rtbNotices"_qs)->toPlainText();
        for (const QString &notice : s.activeNotices + s.pendingNotices)
            QVERIFY2(notices.contains(notice.section(u'\n', 0, 0)), qPrintable(notices));
        const QString forecasts = child<QPlainTextEdit>(u"rtbForecasts"_qs)->toPlainText();
        if (s.forecastNotice)
            QVERIFY2(forecasts.contains(s.forecastNotice->keyword), qPrintable(forecasts));

        QVERIFY(!window->isRefreshing());
        QCOMPARE(child<QLabel>(u"sbStatusBar"_qs)->text(), QString());
        QVERIFY(triggersEnabled());
    }

    // --- the refresh ---

    void refreshDisablesItsTriggersWhileItRuns()
    {
        MainWindow *window = loadWindow();
        m_sim->setFault(kOutlookPagePath, Fault{.delay = 400ms});
        QStringList barAtEachState;
        connect(window->downloadChannel(), &DownloadChannel::stateChanged, this,
                [&] { barAtEachState << child<QLabel>(u"sbStatusBar"_qs)->text(); });
        QSignalSpy progress(window->downloadChannel(), &DownloadChannel::progressText);
        QSignalSpy finished(window, &MainWindow::refreshFinished);

        child<QAction>(u"mnuFileUpdate"_qs)->trigger();

        QVERIFY(window->isRefreshing());
        QVERIFY(triggersDisabled());
        QTRY_COMPARE(m_sim->requestCount(kOutlookPagePath), 2);
        QVERIFY(triggersDisabled());
        QVERIFY(!child<QLabel>(u"sbStatusBar"_qs)->text().isEmpty());

        QVERIFY(finished.wait(5000));
        QCOMPARE(barAtEachState.value(0), u"Updating..."_qs);
        QVERIFY(progress.size() > 1); // the downloads' progress reached the bar
        QVERIFY(barAtEachState.contains(progress.first().at(0).toString()));
        QCOMPARE(child<QLabel>(u"sbStatusBar"_qs)->text(), QString());
        QVERIFY(triggersEnabled());
    }

    void refreshWhileOneRunsDoesNothing()
    {
        MainWindow *window = loadWindow();
        m_sim->setFault(kStatusCsvPath, Fault{.delay = 400ms});
        QSignalSpy finished(window, &MainWindow::refreshFinished);
        const int before = csvRequests();

        QCoro::Task<> first = window->RefreshAll();
        QTRY_COMPARE(csvRequests(), before + 1);
        QCoro::Task<> second = window->RefreshAll();
        window->mnuFileUpdate_Click();

        QVERIFY(second.isReady());
        QVERIFY(!first.isReady());
        QCoro::waitFor(first);
        QCOMPARE(finished.size(), 1);
        QTest::qWait(50);
        QCOMPARE(csvRequests(), before + 1);
        QVERIFY(triggersEnabled());
    }

    void failedRefreshKeepsTheLastGoodData_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::newRow("simulator gone") << u"gone"_qs;
        QTest::newRow("every transfer times out") << u"stall"_qs;
        QTest::newRow("not found") << u"status:404"_qs;
        QTest::newRow("empty answers") << u"empty"_qs;
    }

    void failedRefreshKeepsTheLastGoodData()
    {
        QFETCH(QString, failure);
        m_sim->setScenario(ScenarioKind::Walk);
        m_sim->advance(); // alert: notices, forecasts and a lit scale label
        MainWindow *window = loadWindow();
        const GridStatus status = window->gridData().Status;
        const QStringList shown = shownTexts();
        QCOMPARE(m_notices.size(), 1);

        m_sim->advance(); // what a working server would now say differs
        if (failure == u"gone") {
            m_sim.reset();
        } else {
            const Fault fault = *ParseFault(failure);
            for (const QString &path : kAllPaths)
                m_sim->setFault(path, fault);
            window->downloadChannel()->setTimeout(100ms);
        }

        QCoro::waitFor(window->RefreshAll());

        QCOMPARE(window->gridData().Status, status);
        QCOMPARE(shownTexts(), shown);
        QCOMPARE(litLevelLabel(), 1);
        QCOMPARE(m_notices.size(), 1);
        QCOMPARE(child<QLabel>(u"sbStatusBar"_qs)->text(), QString());
        QVERIFY(triggersEnabled());
    }

    void minuteTicksRefreshEveryInterval_data()
    {
        QTest::addColumn<QString>("autoCheck");
        QTest::addColumn<QString>("interval");
        QTest::addColumn<int>("updateNowAfterTick"); // 0: never
        QTest::addColumn<QList<int>>("refreshTicks");

        QTest::newRow("every 3 minutes") << u"True"_qs << u"3"_qs << 0 << QList<int>{1, 4, 7};
        QTest::newRow("every minute")
            << u"True"_qs << u"1"_qs << 0 << QList<int>{1, 2, 3, 4, 5, 6, 7};
        QTest::newRow("automatic checks off") << u"False"_qs << u"3"_qs << 0 << QList<int>{};
        QTest::newRow("update now keeps the count")
            << u"True"_qs << u"3"_qs << 2 << QList<int>{1, 4, 7};
        QTest::newRow("update now right after a refresh")
            << u"True"_qs << u"3"_qs << 4 << QList<int>{1, 4, 7};
    }

    void minuteTicksRefreshEveryInterval()
    {
        QFETCH(QString, autoCheck);
        QFETCH(QString, interval);
        QFETCH(int, updateNowAfterTick);
        QFETCH(QList<int>, refreshTicks);
        storeSetting(u"AutoCheck"_qs, autoCheck);
        storeSetting(u"UpdateInterval"_qs, interval);
        MainWindow *window = loadWindow();
        QCOMPARE(csvRequests(), 1);

        QList<int> refreshed;
        for (int tick = 1; tick <= 7; ++tick) {
            const int before = csvRequests();
            QCoro::waitFor(window->tmrMinute_Timer());
            if (csvRequests() > before)
                refreshed << tick;
            if (tick == updateNowAfterTick) {
                QSignalSpy finished(window, &MainWindow::refreshFinished);
                window->mnuFileUpdate_Click();
                QVERIFY(finished.wait(5000));
            }
        }
        QCOMPARE(refreshed, refreshTicks);
    }

    // --- closing, minimising, unloading ---

    void closeBoxKeepsTheProgramRunning_data()
    {
        QTest::addColumn<bool>("tray");
        QTest::newRow("with a notification area") << true;
        QTest::newRow("without one") << false;
    }

    void closeBoxKeepsTheProgramRunning()
    {
        QFETCH(bool, tray);
        MainWindow *window = loadWindow(tray);
        QVERIFY(window->isVisible());

        QCloseEvent event;
        QCoreApplication::sendEvent(window, &event);
        QVERIFY(!event.isAccepted());
        // Saved as it was before the close: closing is not remembered as minimising.
        QVERIFY2(storedPlacement().endsWith(u",0"_qs), qPrintable(storedPlacement()));
        QVERIFY(!window->close());
        QCoreApplication::processEvents();

        if (tray) {
            QVERIFY(!window->isVisible());
            QVERIFY(child<QSystemTrayIcon>(u"trayIcon"_qs)->isVisible());
        } else {
            QVERIFY(window->isVisible());
            QVERIFY(window->isMinimized());
        }
        QCOMPARE(m_prompt.asked, 0);
        QVERIFY(!window->isUnloaded());
        QCOMPARE(m_quits, 0);
        QCOMPARE(storedSetting(u"AutoCheck"_qs), u"<missing>"_qs);
        QVERIFY(!storedPlacement().isEmpty());

        // Still alive: the next refresh runs.
        const int before = csvRequests();
        QCoro::waitFor(window->RefreshAll());
        QCOMPARE(csvRequests(), before + 1);
    }

    void scaleColoursFollowTheUsersScheme()
    {
        QPalette scheme = QApplication::palette();
        scheme.setColor(QPalette::Active, QPalette::WindowText, QColor(10, 20, 30));
        scheme.setColor(QPalette::Disabled, QPalette::WindowText, QColor(200, 100, 50));
        QApplication::setPalette(scheme);
        loadWindow();
        QApplication::setPalette(QPalette());

        const auto colour = [this](const QString &name) {
            return child<QLabel>(name)->palette().color(QPalette::Active, QPalette::WindowText);
        };
        QCOMPARE(colour(u"lblStatus(0)"_qs), QColor(10, 20, 30)); // normal: lit
        QCOMPARE(colour(u"lblStatus(1)"_qs), QColor(200, 100, 50));
        QCOMPARE(colour(u"lblForecast(0)"_qs), QColor(200, 100, 50));
    }

    void graphPictureOnlyInPictureMode_data()
    {
        QTest::addColumn<bool>("pictureMode");
        QTest::newRow("chart chosen") << false;
        QTest::newRow("picture chosen") << true;
    }

    void graphPictureOnlyInPictureMode()
    {
        QFETCH(bool, pictureMode);
        storeSetting(u"CAISOGraph"_qs, pictureMode ? u"True"_qs : u"False"_qs);
        MainWindow *window = loadWindow();
        auto *picture = child<QLabel>(u"imgGraph"_qs);
        QVERIFY(!picture->pixmap().isNull()); // downloaded and loaded either way
        QCOMPARE(picture->isVisibleTo(window), pictureMode);
    }

    void minimisingHidesOnlyWithANotificationArea_data()
    {
        QTest::addColumn<bool>("tray");
        QTest::newRow("with a notification area") << true;
        QTest::newRow("without one") << false;
    }

    void minimisingHidesOnlyWithANotificationArea()
    {
        QFETCH(bool, tray);
        MainWindow *window = loadWindow(tray);

        window->showMinimized();

        if (tray) {
            QTRY_VERIFY(!window->isVisible());
        } else {
            QTest::qWait(20);
            QVERIFY(window->isVisible());
        }
        QVERIFY(!window->isUnloaded());

        // Details brings it back from either.
        window->showDetails();
        QVERIFY(window->isVisible());
        QVERIFY(!window->isMinimized());
    }

    void closeMenuHides()
    {
        MainWindow *window = loadWindow();
        child<QAction>(u"mnuFileClose"_qs)->trigger();
        QVERIFY(!window->isVisible());
        QVERIFY(!window->isUnloaded());
        QCOMPARE(m_prompt.asked, 0);
        QCOMPARE(storedSetting(u"AutoCheck"_qs), u"<missing>"_qs);
        QCOMPARE(m_quits, 0);
    }

    void unloadRequests_data()
    {
        QTest::addColumn<QString>("request");
        QTest::addColumn<bool>("answerYes");
        QTest::addColumn<int>("questions");
        QTest::addColumn<bool>("unloads");

        QTest::newRow("Exit, No") << u"exit"_qs << false << 1 << false;
        QTest::newRow("Exit, Yes") << u"exit"_qs << true << 1 << true;
        QTest::newRow("icon menu Exit, Yes") << u"icon exit"_qs << true << 1 << true;
        QTest::newRow("session end") << u"session end"_qs << false << 0 << true;
    }

    void unloadRequests()
    {
        QFETCH(QString, request);
        QFETCH(bool, answerYes);
        QFETCH(int, questions);
        QFETCH(bool, unloads);
        MainWindow *window = loadWindow();
        // What the user changed while the program ran is what gets saved.
        window->settings().UpdateInterval = 7;
        window->settings().PlaySound = false;
        window->settings().GraphValues = 9;
        window->settings().CAISOGraph = true;
        m_prompt.yes = answerYes;
        QSignalSpy unloaded(window, &MainWindow::unloaded);

        if (request == u"exit")
            child<QAction>(u"mnuFileExit"_qs)->trigger();
        else if (request == u"icon exit")
            child<QAction>(u"mnuSysTrayExit"_qs)->trigger();
        else
            window->requestUnload(UnloadMode::SessionEnd);
        QCoreApplication::processEvents();

        QCOMPARE(m_prompt.asked, questions);
        QVERIFY(!storedPlacement().isEmpty());
        QCOMPARE(window->isUnloaded(), unloads);
        QCOMPARE(unloaded.size(), unloads ? 1 : 0);
        QCOMPARE(m_quits, unloads ? 1 : 0);
        QCOMPARE(window->isVisible(), !unloads);
        QCOMPARE(child<QSystemTrayIcon>(u"trayIcon"_qs)->isVisible(), !unloads);
        if (!unloads) {
            for (const QString &key : kWindowSettingKeys)
                QCOMPARE(storedSetting(key), u"<missing>"_qs);
            QVERIFY(child<QTimer>(u"tmrMinute"_qs)->isActive());
            return;
        }
        const QStringList saved{u"False"_qs, u"True"_qs, u"True"_qs, u"9"_qs,
                                u"False"_qs, u"True"_qs, u"True"_qs, u"7"_qs};
        for (int i = 0; i < kWindowSettingKeys.size(); ++i)
            QCOMPARE(storedSetting(kWindowSettingKeys[i]), saved[i]);
        QCOMPARE(storedSetting(u"CAISOGraph"_qs), u"<missing>"_qs);
        QVERIFY(!child<QTimer>(u"tmrMinute"_qs)->isActive());

        // An unloaded window takes no more requests.
        const int before = csvRequests();
        QCoro::waitFor(window->RefreshAll());
        QCOMPARE(csvRequests(), before);
        QVERIFY(!QCoro::waitFor(window->requestUnload(UnloadMode::SessionEnd)));
        QCOMPARE(m_quits, 1);
    }

    void sessionEndWhileTheExitQuestionIsOpen_data()
    {
        QTest::addColumn<bool>("answerYes");
        QTest::newRow("then No") << false;
        QTest::newRow("then Yes") << true;
    }

    void sessionEndWhileTheExitQuestionIsOpen()
    {
        QFETCH(bool, answerYes);
        MainWindow *window = loadWindow();
        m_prompt.hold = true;
        QSignalSpy unloaded(window, &MainWindow::unloaded);
        window->mnuFileExit_Click();
        QVERIFY(m_prompt.pending);

        QVERIFY(QCoro::waitFor(window->requestUnload(UnloadMode::SessionEnd)));

        QVERIFY(window->isUnloaded());
        QCOMPARE(storedSetting(u"UpdateInterval"_qs), u"3"_qs);
        QCOMPARE(m_quits, 1);

        // The late answer changes nothing.
        SaveSetting(*m_store, u"Voltwise"_qs, u"Settings"_qs, u"UpdateInterval"_qs, u"5"_qs);
        m_prompt.answer(answerYes);
        QCoreApplication::processEvents();
        QVERIFY(window->isUnloaded());
        QCOMPARE(unloaded.size(), 1);
        QCOMPARE(m_quits, 1);
        QCOMPARE(storedSetting(u"UpdateInterval"_qs), u"5"_qs);
    }

    void exitWhileARefreshRuns_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("fault");
        QTest::newRow("status file delayed") << kStatusCsvPath.toString() << u"delay:3000"_qs;
        QTest::newRow("outlook page stalled") << kOutlookPagePath.toString() << u"stall"_qs;
        QTest::newRow("status page stalled") << kStatusPagePath.toString() << u"stall"_qs;
    }

    void exitWhileARefreshRuns()
    {
        QFETCH(QString, path);
        QFETCH(QString, fault);
        MainWindow *window = loadWindow();
        const QStringList shown = shownTexts();
        m_sim->advance();
        m_sim->setFault(path, *ParseFault(fault));
        QSignalSpy finished(window, &MainWindow::refreshFinished);
        QSignalSpy unloaded(window, &MainWindow::unloaded);
        QSignalSpy progress(window->downloadChannel(), &DownloadChannel::progressText);
        window->mnuFileUpdate_Click();
        QTRY_COMPARE(m_sim->requestCount(path), 2);
        QVERIFY(window->isRefreshing());

        m_prompt.yes = true;
        window->mnuFileExit_Click();

        QCOMPARE(unloaded.size(), 1);
        QVERIFY(window->isUnloaded());
        QTRY_VERIFY(!window->isRefreshing());
        QCOMPARE(finished.size(), 1);
        QTRY_COMPARE(m_quits, 1);
        QVERIFY(progress.contains({u"Error #5: Operation canceled"_qs}));
        QCOMPARE(storedSetting(u"AutoCheck"_qs), u"True"_qs);
        QVERIFY(!storedPlacement().isEmpty());
        QVERIFY(!child<QTimer>(u"tmrMinute"_qs)->isActive());
        QCOMPARE(shownTexts(), shown); // a refresh cut short shows nothing
        QCOMPARE(m_notices.size(), 1);

        // Nothing more is downloaded once the program is ending.
        QList<int> requests;
        for (const QString &p : kAllPaths)
            requests << m_sim->requestCount(p);
        QTest::qWait(50);
        for (int i = 0; i < kAllPaths.size(); ++i)
            QCOMPARE(m_sim->requestCount(kAllPaths[i]), requests[i]);
        QCOMPARE(m_quits, 1);
    }

    void sessionEndDuringTheFirstRefresh()
    {
        m_sim->setFault(kOutlookPagePath, Fault{.stall = true});
        MainWindow *window = makeWindow();
        QCoro::Task<> load = window->Form_Load();
        QTRY_COMPARE(m_sim->requestCount(kOutlookPagePath), 1);

        QVERIFY(QCoro::waitFor(window->requestUnload(UnloadMode::SessionEnd)));

        QTRY_VERIFY(load.isReady());
        QVERIFY(window->isUnloaded());
        QVERIFY(!window->isVisible());
        QCOMPARE(m_quits, 1);
        QCOMPARE(m_prompt.asked, 0);
        QCOMPARE(storedSetting(u"ShowDetails"_qs), u"True"_qs);
        QCOMPARE(m_sim->requestCount(kForecastPagePath), 0);
    }

    void exitQuestionOutlivesARefresh_data()
    {
        QTest::addColumn<bool>("answerYes");
        QTest::newRow("No") << false;
        QTest::newRow("Yes") << true;
    }

    void exitQuestionOutlivesARefresh()
    {
        QFETCH(bool, answerYes);
        MainWindow *window = loadWindow();
        m_sim->setFault(kStatusCsvPath, Fault{.delay = 100ms});
        m_prompt.hold = true;
        QSignalSpy finished(window, &MainWindow::refreshFinished);
        window->mnuFileUpdate_Click();
        window->mnuFileExit_Click();
        QVERIFY(finished.wait(5000));
        QVERIFY(!window->isUnloaded());
        QCOMPARE(m_quits, 0);

        QVERIFY(child<QTimer>(u"tmrMinute"_qs)->isActive());

        m_prompt.answer(answerYes);
        QCoreApplication::processEvents();

        QCOMPARE(window->isUnloaded(), answerYes);
        QCOMPARE(m_quits, answerYes ? 1 : 0);
        QCOMPARE(storedSetting(u"AutoCheck"_qs), answerYes ? u"True"_qs : u"<missing>"_qs);
        QCOMPARE(child<QTimer>(u"tmrMinute"_qs)->isActive(), !answerYes);
        // The question is closed: the next Exit asks again.
        window->mnuFileExit_Click();
        QCOMPARE(m_prompt.asked, answerYes ? 1 : 2);
    }

    void destroyingTheWindowDuringARefresh()
    {
        MainWindow *window = loadWindow();
        m_sim->setFault(kOutlookPagePath, Fault{.stall = true});
        window->mnuFileUpdate_Click();
        QTRY_COMPARE(m_sim->requestCount(kOutlookPagePath), 2);

        m_window.reset();

        // The cut transfer ends later, from the event loop; nothing of the
        // window may be touched then, and no further download starts.
        QTest::qWait(100);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(m_sim->requestCount(kForecastPagePath), 1);
        QCOMPARE(m_quits, 0);
    }

    // --- the change alert ---

    void changedStatusRaisesOneNotice_data()
    {
        QTest::addColumn<bool>("playSound");
        QTest::newRow("with sound") << true;
        QTest::newRow("silent") << false;
    }

    void changedStatusRaisesOneNotice()
    {
        QFETCH(bool, playSound);
        storeSetting(u"PlaySound"_qs, playSound ? u"True"_qs : u"False"_qs);
        m_sim->setScenario(ScenarioKind::Walk);
        const double demand = m_sim->snapshot().actualDemand;

        MainWindow *window = loadWindow();

        QCOMPARE(m_notices.size(), 1);
        QVERIFY(m_notices[0]);
        QCOMPARE(m_notices[0]->findChild<QLabel *>(u"lblNoticeHeader"_qs)->text(),
                 u"System Normal: "_qs + UsMegawatts(demand).mid(1));
        QCOMPARE(m_sound.played.size(), playSound ? 1 : 0);
        if (playSound)
            QCOMPARE(QFileInfo(m_sound.played[0]).fileName(), u"notice.wav"_qs);

        QCoro::waitFor(window->RefreshAll());
        QCOMPARE(m_notices.size(), 1);
        QCOMPARE(m_sound.played.size(), playSound ? 1 : 0);

        m_sim->advance();
        QCoro::waitFor(window->RefreshAll());
        QCOMPARE(m_notices.size(), 2);
        QVERIFY(m_notices[1]);
        QVERIFY(m_notices[1] != m_notices[0]);
        QVERIFY(m_notices[1]
                    ->findChild<QLabel *>(u"lblNoticeHeader"_qs)
                    ->text()
                    .startsWith(u"Alert Notice: "_qs));
        QCOMPARE(m_sound.played.size(), playSound ? 2 : 0);
    }

    void unknownLevelHoldsTheNoticeBack()
    {
        // A status file without a status row leaves the level unknown.
        m_sim->setFault(kStatusCsvPath, Fault{.status = 404});
        MainWindow *window = loadWindow();
        QCOMPARE(text(u"lblStatusText"_qs), u"Status Unknown"_qs);
        QCOMPARE(m_notices.size(), 0);
        QVERIFY(m_sound.played.isEmpty());

        m_sim->clearFaults();
        QCoro::waitFor(window->RefreshAll());
        QCOMPARE(m_notices.size(), 1);
    }

    // --- the notification-area icon ---

    void trayClicksWithoutANotificationArea()
    {
        MainWindow *window = loadWindow(false);
        QVERIFY(!window->findChild<QSystemTrayIcon *>());
        window->hide();
        auto *clicks = child<TrayClickProtocol>(u"tmrLeftButtonClick"_qs);
        QVERIFY(clicks);

        clicks->handle(TrayMouseEvent::LeftButtonDown);
        clicks->handle(TrayMouseEvent::LeftButtonDoubleClick);

        QVERIFY(window->isVisible());
        QVERIFY(!window->isMinimized());
        QVERIFY(!child<QMenu>(u"mnuSysTray"_qs)->isVisible());
        QCoro::waitFor(window->RefreshAll()); // nothing of the missing icon is touched
        QCOMPARE(text(u"lblStatusText"_qs), u"System Normal"_qs);
    }

    void trayIconActivation_data()
    {
        QTest::addColumn<QList<int>>("reasons");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("menu");

        QTest::newRow("double click")
            << QList<int>{QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick} << true << false;
        QTest::newRow("single click") << QList<int>{QSystemTrayIcon::Trigger} << false << true;
        QTest::newRow("context menu") << QList<int>{QSystemTrayIcon::Context} << false << true;
    }

    void trayIconActivation()
    {
        QFETCH(QList<int>, reasons);
        QFETCH(bool, shown);
        QFETCH(bool, menu);
        MainWindow *window = loadWindow(true);
        window->hide();
        auto *tray = child<QSystemTrayIcon>(u"trayIcon"_qs);
        auto *trayMenu = child<QMenu>(u"mnuSysTray"_qs);

        for (int reason : reasons)
            Q_EMIT tray->activated(QSystemTrayIcon::ActivationReason(reason));

        if (menu)
            QTRY_VERIFY_WITH_TIMEOUT(trayMenu->isVisible(), 2000);
        else
            QTest::qWait(int(TrayClickProtocol::kSingleClickDelay.count()) + 100);
        QCOMPARE(trayMenu->isVisible(), menu);
        QCOMPARE(window->isVisible(), shown);
        trayMenu->hide();
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
