// The main window against the in-process simulated grid operator, with its
// settings in a temporary store and fakes for the exit question and the sound.
#include "core/conversions.h"
#include "core/copyright.h"
#include "core/download/download_channel.h"
#include "graph/chart_readout.h"
#include "graph/graph_panel.h"
#include "gridsim/current_feeds_writer.h"
#include "gridsim/grid_sim.h"
#include "platform/recording_browser_opener.h"
#include "platform/recording_sound_player.h"
#include "platform/startup_entry.h"
#include "settings/qsettings_registry.h"
#include "settings/registry_operations.h"
#include "settings/setting_keys.h"
#include "status/tray_click_protocol.h"
#include "support/manual_timers.h"
#include "ui/exit_prompt.h"
#include "ui/main_window.h"
#include "ui/options_dialog.h"
#include "update/version.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QChartView>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineSeries>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStackedWidget>
#include <QSystemTrayIcon>
#include <QTabBar>
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
const QStringList kAllPaths{kStatusCsvPath.toString(), kLoadPicturePath.toString(),
                            kOutlookPagePath.toString(), kForecastPagePath.toString(),
                            kStatusPagePath.toString()};
const SettingKey *const kSavedKeys[] = {
    &SettingKeys::AlwaysOnTop, &SettingKeys::AutoCheck,      &SettingKeys::AutoUpdate,
    &SettingKeys::GraphValues, &SettingKeys::PlaySound,      &SettingKeys::ShowAtStartup,
    &SettingKeys::ShowDetails, &SettingKeys::UpdateInterval, &SettingKeys::CAISOGraph};

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
    bool yes = false, hold = false, pending = false;
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
    std::unique_ptr<XdgAutostartEntry> m_autostart;
    ScriptedExitPrompt m_prompt;
    int m_quits = 0;
    testing::ManualTimers m_timers;
    std::unique_ptr<MainWindow> m_window;
    QList<QPointer<QWidget>> m_notices;
    FeedSource m_feeds = FeedSource::Classic;

    MainWindow *makeWindow(bool trayAvailable = true)
    {
        MainWindowServices services;
        services.store = m_store.get();
        const QUrl sim = m_sim->baseUrl();
        services.servers = {sim, sim, sim, sim, m_feeds};
        services.clock = [this] {
            return m_sim->snapshot().produced;
        };
        services.locale = kEnglishUs;
        services.exitPrompt = &m_prompt;
        services.sound = &m_sound;
        services.browser = &m_browser;
        services.startupEntry = m_autostart.get();
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
        QVERIFY(SaveSetting(*m_store, kApplicationTitle, kSettingsSection, key, value));
    }

    QString storedSetting(const QString &key) const
    {
        return GetSetting(*m_store, kApplicationTitle, kSettingsSection, key, u"<missing>"_qs);
    }

    QString storedPlacement() const
    {
        return GetSetting(*m_store, SettingKeys::MainWindowPlacement, QString());
    }

    template <typename T>
    T *child(const QString &name) const
    {
        return m_window->findChild<T *>(name);
    }

    QString text(const QString &label) const { return child<QLabel>(label)->text(); }

    QStringList labelTexts(const QString &array, int count) const
    {
        QStringList texts;
        for (int i = 0; i < count; ++i)
            texts << text(array + u'(' + QString::number(i) + u')');
        return texts;
    }

    // What a refresh leaves on screen, to tell whether anything changed.
    QStringList shownTexts() const
    {
        return QStringList{text(u"lblStatusText"_qs)} + labelTexts(u"lblCurrentCondition"_qs, 7) +
               labelTexts(u"lblLoadReduction"_qs, 8) +
               QStringList{child<QPlainTextEdit>(u"rtbNotices"_qs)->toPlainText(),
                           child<QPlainTextEdit>(u"rtbForecasts"_qs)->toPlainText()};
    }

    // What a screen reader is told.
    QString accessibleText(const QString &name, QAccessible::Text kind) const
    {
        return QAccessible::queryAccessibleInterface(child<QWidget>(name))->text(kind);
    }

    int litLevelLabel() const
    {
        int lit = -1;
        for (int i = 0; i < 6; ++i) {
            const QString label = u"lblStatus(%1)"_qs.arg(i);
            if (accessibleText(label, QAccessible::Description) == u"Current level"_qs)
                lit = lit == -1 ? i : -2; // two lit labels is a fault of its own
        }
        return lit;
    }

    // The condition as the status strip shows it and as its traffic light is named.
    QString condition() const
    {
        const QString name = accessibleText(u"picStatusIcon"_qs, QAccessible::Name);
        const QString shown = text(u"lblStatusText"_qs);
        return name == shown ? shown : shown + u" named "_qs + name;
    }

    bool timerOn() const { return child<QTimer>(u"tmrMinute"_qs)->isActive(); }

    // The Update menu and the minute timer together: 1 both on, 0 both off.
    int triggers() const
    {
        const bool menu = child<QAction>(u"mnuFileUpdate"_qs)->isEnabled();
        return menu == timerOn() ? int(menu) : -1;
    }

    int requests(QStringView path = kStatusCsvPath) const { return m_sim->requestCount(path); }

    int allRequests() const
    {
        int total = 0;
        for (const QString &path : kAllPaths)
            total += requests(path);
        return total;
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_store = std::make_unique<QSettingsRegistryBackend>(
            RegistryDirectories{m_dir->filePath(u"user"_qs), {m_dir->filePath(u"machine"_qs)}});
        m_sim = std::make_unique<GridSim>();
        QVERIFY(m_sim->listen(QHostAddress::LocalHost, 0));
        m_sim->setClock([] { return QDateTime(QDate(2001, 8, 13), QTime(14, 25, 3)); });
        m_feeds = FeedSource::Classic;
        m_sound.played.clear();
        m_browser.opened.clear();
        m_autostart = std::make_unique<XdgAutostartEntry>(m_dir->filePath(u"autostart"_qs),
                                                          u"/usr/bin/voltwise"_qs);
        m_prompt.yes = m_prompt.hold = false;
        m_prompt.asked = m_quits = 0;
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

    void loadAppliesTheStoredSettings_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("detailsChecked");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<bool>("onTop");
        QTest::addColumn<bool>("picture"); // the operator's picture rather than the chart
        QTest::newRow("nothing stored") << QString() << QString() << true << true << false << false;
        QTest::newRow("ShowDetails False")
            << u"ShowDetails"_qs << u"False"_qs << false << true << false << false;
        QTest::newRow("ShowAtStartup False")
            << u"ShowAtStartup"_qs << u"False"_qs << true << false << false << false;
        QTest::newRow("AlwaysOnTop True")
            << u"AlwaysOnTop"_qs << u"True"_qs << true << true << true << false;
        QTest::newRow("CAISOGraph True")
            << u"CAISOGraph"_qs << u"True"_qs << true << true << false << true;
    }

    void loadAppliesTheStoredSettings()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(bool, detailsChecked);
        QFETCH(bool, visible);
        QFETCH(bool, onTop);
        QFETCH(bool, picture);
        if (!key.isEmpty())
            storeSetting(key, value);
        QPalette scheme = QApplication::palette();
        scheme.setColor(QPalette::Active, QPalette::WindowText, QColor(10, 20, 30));
        scheme.setColor(QPalette::Disabled, QPalette::WindowText, QColor(200, 100, 50));
        QApplication::setPalette(scheme);
        MainWindow *window = loadWindow();
        QApplication::setPalette(QPalette());

        auto *details = child<QCheckBox>(u"chkDetails"_qs);
        QCOMPARE(details->isChecked(), detailsChecked);
        QCOMPARE(window->isVisible(), visible);
        QCOMPARE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint), onTop);
        auto *graphPicture = child<QLabel>(u"imgGraph"_qs);
        QVERIFY(!graphPicture->pixmap().isNull()); // downloaded and loaded either way
        QCOMPARE(graphPicture->isVisibleTo(window), picture);
        // The scale takes the user's colours: lit normal, the other levels dimmed.
        const auto colour = [this](const QString &name) {
            return child<QLabel>(name)->palette().color(QPalette::Active, QPalette::WindowText);
        };
        QCOMPARE(colour(u"lblStatus(0)"_qs), QColor(10, 20, 30));
        QCOMPARE(colour(u"lblStatus(1)"_qs), QColor(200, 100, 50));
        QCOMPARE(colour(u"lblForecast(0)"_qs), QColor(200, 100, 50));

        // The check box switches to the shorter or the longer layout and remembers the choice.
        const int height = window->height();
        details->setChecked(!detailsChecked);
        QCOMPARE(window->settings().ShowDetails, !detailsChecked);
        QVERIFY2(detailsChecked ? window->height() < height : window->height() > height,
                 qPrintable(u"%1 -> %2"_qs.arg(height).arg(window->height())));
    }

    void firstRefreshFillsTheWindow()
    {
        m_sim->setScenario(ScenarioKind::Walk);
        for (int i = 0; i < 6; ++i)
            m_sim->advance(); // load interruptions: every label has something to show
        const GridSnapshot s = m_sim->snapshot();
        QCOMPARE(s.level, LevelLoadInterruptions);

        loadWindow();

        QCOMPARE(condition(), u"Rolling Blackouts"_qs);
        QCOMPARE(litLevelLabel(), 5);
        QCOMPARE(child<QSystemTrayIcon>(u"trayIcon"_qs)->toolTip(),
                 u"Emergency Load Reductions: "_qs + UsMegawatts(s.actualDemand).mid(1));
        QCOMPARE(labelTexts(u"lblCurrentCondition"_qs, 7),
                 (QStringList{u"Updated: "_qs + UsDate(s.measured),
                              UsMegawatts(s.availableResources), UsMegawatts(s.actualDemand),
                              UsMegawatts(s.availableResources - s.actualDemand),
                              UsMegawatts(s.peakDemandToday), UsMegawatts(s.forecastPeakToday),
                              UsMegawatts(s.forecastPeakTomorrow)}));
        const TerritoryInterruptions &cut = s.interruptions;
        QStringList reductions{u"Current Load Reductions"_qs,
                               UsDate(s.levelStart) + u" to "_qs + UsDate(s.levelEnd)};
        for (double mw : {cut.total(), cut.pge, cut.sce, cut.sdge, cut.pasadena, cut.vernon})
            reductions << UsMegawatts(mw);
        QCOMPARE(labelTexts(u"lblLoadReduction"_qs, 8), reductions);

        const QString notices = child<QPlainTextEdit>(u"rtbNotices"_qs)->toPlainText();
        for (const QString &notice : s.activeNotices + s.pendingNotices)
            QVERIFY2(notices.contains(notice.section(u'\n', 0, 0)), qPrintable(notices));
        const QString forecasts = child<QPlainTextEdit>(u"rtbForecasts"_qs)->toPlainText();
        if (s.forecastNotice)
            QVERIFY2(forecasts.contains(s.forecastNotice->keyword), qPrintable(forecasts));
    }

    void refreshDisablesItsTriggersAndRunsOnce()
    {
        MainWindow *window = loadWindow();
        m_sim->setFault(kOutlookPagePath, Fault{.delay = 400ms});
        QStringList barAtEachState;
        connect(window->downloadChannel(), &DownloadChannel::stateChanged, this,
                [&] { barAtEachState << text(u"sbStatusBar"_qs); });
        QSignalSpy progress(window->downloadChannel(), &DownloadChannel::progressText);
        QSignalSpy finished(window, &MainWindow::refreshFinished);
        const int before = requests();

        child<QAction>(u"mnuFileUpdate"_qs)->trigger();
        QVERIFY(window->isRefreshing());
        QCOMPARE(triggers(), 0);
        QTRY_COMPARE(requests(kOutlookPagePath), 2);
        QCOMPARE(triggers(), 0);
        // Asked for again while it runs: returns at once and downloads nothing.
        QCoro::Task<> second = window->RefreshAll();
        QVERIFY(second.isReady());
        window->mnuFileUpdate_Click();

        QVERIFY(finished.wait(5000));
        QTest::qWait(50);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(requests(), before + 1);
        QCOMPARE(barAtEachState.value(0), u"Updating..."_qs);
        QVERIFY(progress.size() > 1); // the downloads' progress reached the bar
        QVERIFY(barAtEachState.contains(progress.first().at(0).toString()));
        QCOMPARE(text(u"sbStatusBar"_qs), QString());
        QCOMPARE(triggers(), 1);
    }

    void failedRefreshKeepsTheLastGoodData_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::newRow("simulator gone") << u"gone"_qs;
        QTest::newRow("every transfer times out") << u"stall"_qs;
        QTest::newRow("every answer an error page") << u"status:503"_qs;
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
            for (const QString &path : kAllPaths)
                m_sim->setFault(path, *ParseFault(failure));
        }
        // Each stalled answer runs into its time-out at once.
        window->downloadChannel()->setTimers(m_timers);
        if (m_sim)
            connect(m_sim.get(), &GridSim::requestReceived, this, [this] {
                QTimer::singleShot(0, this,
                                   [this] { m_timers.advance(DownloadChannel::kDefaultTimeout); });
            });
        QCoro::waitFor(window->RefreshAll());

        QCOMPARE(window->gridData().Status, status);
        QCOMPARE(shownTexts(), shown);
        QCOMPARE(litLevelLabel(), 1);
        QCOMPARE(m_notices.size(), 1);
        QCOMPARE(text(u"sbStatusBar"_qs), QString());
        QCOMPARE(triggers(), 1);
    }

    void minuteTicksRefreshEveryInterval_data()
    {
        QTest::addColumn<QString>("autoCheck");
        QTest::addColumn<QString>("interval");
        QTest::addColumn<int>("updateNowAfterTick"); // 0: never
        QTest::addColumn<QList<int>>("refreshTicks");
        QTest::newRow("every 3 minutes") << u"True"_qs << u"3"_qs << 0 << QList<int>{1, 4, 7};
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
        QCOMPARE(requests(), 1);

        QList<int> refreshed;
        for (int tick = 1; tick <= 7; ++tick) {
            const int before = requests();
            QCoro::waitFor(window->tmrMinute_Timer());
            if (requests() > before)
                refreshed << tick;
            if (tick == updateNowAfterTick) {
                QSignalSpy finished(window, &MainWindow::refreshFinished);
                window->mnuFileUpdate_Click();
                QVERIFY(finished.wait(5000));
            }
        }
        QCOMPARE(refreshed, refreshTicks);
    }

    void closeMinimiseAndExit_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("tray");
        QTest::addColumn<bool>("answerYes");
        QTest::addColumn<int>("questions");
        QTest::addColumn<bool>("unloads");
        QTest::newRow("close box") << u"close box"_qs << true << true << 0 << false;
        QTest::newRow("close box, no notification area")
            << u"close box"_qs << false << true << 0 << false;
        QTest::newRow("minimise") << u"minimise"_qs << true << true << 0 << false;
        QTest::newRow("minimise, no notification area")
            << u"minimise"_qs << false << true << 0 << false;
        QTest::newRow("Close") << u"mnuFileClose"_qs << true << true << 0 << false;
        QTest::newRow("Exit, No") << u"mnuFileExit"_qs << true << false << 1 << false;
        QTest::newRow("Exit, Yes") << u"mnuFileExit"_qs << true << true << 1 << true;
        QTest::newRow("icon menu Exit, Yes") << u"mnuSysTrayExit"_qs << true << true << 1 << true;
        QTest::newRow("session end") << u"session end"_qs << true << false << 0 << true;
    }

    void closeMinimiseAndExit()
    {
        QFETCH(QString, action);
        QFETCH(bool, tray);
        QFETCH(bool, answerYes);
        QFETCH(int, questions);
        QFETCH(bool, unloads);
        MainWindow *window = loadWindow(tray);
        // What the user changed while the program ran is what gets saved.
        window->settings().UpdateInterval = 7;
        window->settings().PlaySound = false;
        window->settings().GraphValues = 9;
        window->settings().CAISOGraph = true;
        m_prompt.yes = answerYes;
        QSignalSpy unloaded(window, &MainWindow::unloaded);

        if (action == u"close box")
            QVERIFY(!window->close());
        else if (action == u"minimise")
            window->showMinimized();
        else if (action == u"session end")
            window->requestUnload(UnloadMode::SessionEnd);
        else
            child<QAction>(action)->trigger();
        QTest::qWait(20);

        // Closing and minimising hide the window in the notification area, or
        // without one leave it minimised on the taskbar.
        const bool hidden = unloads || (tray && questions == 0);
        QTRY_COMPARE(window->isVisible(), !hidden);
        if (!tray)
            QVERIFY(window->isMinimized());
        if (tray)
            QCOMPARE(child<QSystemTrayIcon>(u"trayIcon"_qs)->isVisible(), !unloads);
        // Saved as it was before: a close is not remembered as minimising.
        if (action != u"minimise" && action != u"mnuFileClose")
            QVERIFY2(storedPlacement().endsWith(u",0"_qs), qPrintable(storedPlacement()));
        QCOMPARE(m_prompt.asked, questions);
        QCOMPARE(window->isUnloaded(), unloads);
        QCOMPARE(unloaded.size(), int(unloads));
        QCOMPARE(m_quits, int(unloads));
        QCOMPARE(timerOn(), !unloads);
        QStringList saved;
        for (const SettingKey *key : kSavedKeys)
            saved << storedSetting(key->name);
        QCOMPARE(saved.join(u' '), unloads ? u"False True True 9 False True True 7 <missing>"_qs
                                           : QStringList(9, u"<missing>"_qs).join(u' '));

        const int before = requests();
        QCoro::waitFor(window->RefreshAll());
        if (unloads) { // an unloaded window takes no more requests
            QCOMPARE(requests(), before);
            QVERIFY(!QCoro::waitFor(window->requestUnload(UnloadMode::SessionEnd)));
            QCOMPARE(m_quits, 1);
        } else { // still alive: the refresh ran, and Details brings the window back
            QCOMPARE(requests(), before + 1);
            window->showDetails();
            QVERIFY(window->isVisible());
            QVERIFY(!window->isMinimized());
        }
    }

    void openExitQuestion_data()
    {
        QTest::addColumn<bool>("sessionEnds");
        QTest::addColumn<bool>("answerYes");
        QTest::newRow("a refresh ends, then No") << false << false;
        QTest::newRow("a refresh ends, then Yes") << false << true;
        QTest::newRow("the session ends, then No") << true << false;
        QTest::newRow("the session ends, then Yes") << true << true;
    }

    void openExitQuestion()
    {
        QFETCH(bool, sessionEnds);
        QFETCH(bool, answerYes);
        MainWindow *window = loadWindow();
        m_prompt.hold = true;
        QSignalSpy unloaded(window, &MainWindow::unloaded);
        QSignalSpy finished(window, &MainWindow::refreshFinished);
        m_sim->setFault(kStatusCsvPath, Fault{.delay = 100ms});
        if (!sessionEnds)
            window->mnuFileUpdate_Click();
        window->mnuFileExit_Click();
        QVERIFY(m_prompt.pending);

        if (sessionEnds) {
            QVERIFY(QCoro::waitFor(window->requestUnload(UnloadMode::SessionEnd)));
            QVERIFY(window->isUnloaded());
            QCOMPARE(storedSetting(u"UpdateInterval"_qs), u"3"_qs);
            storeSetting(u"UpdateInterval"_qs, u"5"_qs); // to see whether the answer saves again
        } else {
            QVERIFY(finished.wait(5000));
            QVERIFY(!window->isUnloaded());
            QVERIFY(timerOn());
        }
        m_prompt.answer(answerYes);
        QCoreApplication::processEvents();

        const bool ends = sessionEnds || answerYes;
        QCOMPARE(window->isUnloaded(), ends);
        QCOMPARE(unloaded.size(), int(ends));
        QCOMPARE(m_quits, int(ends));
        QCOMPARE(timerOn(), !ends);
        QCOMPARE(storedSetting(u"UpdateInterval"_qs),
                 sessionEnds ? u"5"_qs : (answerYes ? u"3"_qs : u"<missing>"_qs));
        // The question is closed: the next Exit asks again, unless the window is gone.
        window->mnuFileExit_Click();
        QCOMPARE(m_prompt.asked, ends ? 1 : 2);
    }

    void endingDuringARefresh_data()
    {
        QTest::addColumn<QString>("ending");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("fault");
        QTest::newRow("Exit, status file delayed")
            << u"exit"_qs << kStatusCsvPath.toString() << u"delay:3000"_qs;
        QTest::newRow("Exit, outlook page stalled")
            << u"exit"_qs << kOutlookPagePath.toString() << u"stall"_qs;
        QTest::newRow("window destroyed")
            << u"destroy"_qs << kOutlookPagePath.toString() << u"stall"_qs;
    }

    void endingDuringARefresh()
    {
        QFETCH(QString, ending);
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
        QTRY_COMPARE(requests(path), 2);
        const int started = allRequests();

        if (ending == u"destroy") {
            m_window.reset();
            // The cut transfer ends later, from the event loop; nothing of the
            // window may be touched then, and no further download starts.
            QTest::qWait(100);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCOMPARE(allRequests(), started);
            QCOMPARE(m_quits, 0);
            return;
        }
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
        QVERIFY(!timerOn());
        QCOMPARE(shownTexts(), shown); // a refresh cut short shows nothing
        QCOMPARE(m_notices.size(), 1);
        // Nothing more is downloaded once the program is ending.
        QTest::qWait(50);
        QCOMPARE(allRequests(), started);
        QCOMPARE(m_quits, 1);
    }

    void sessionEndDuringTheFirstRefresh_data()
    {
        QTest::addColumn<bool>("hidden"); // at start, then shown while the refresh waits
        QTest::newRow("shown at start") << false;
        QTest::newRow("shown later") << true;
    }

    void sessionEndDuringTheFirstRefresh()
    {
        QFETCH(bool, hidden);
        if (hidden)
            storeSetting(u"ShowAtStartup"_qs, u"False"_qs);
        m_sim->setFault(kOutlookPagePath, Fault{.stall = true});
        MainWindow *window = makeWindow();
        QCoro::Task<> load = window->Form_Load();
        QTRY_COMPARE(requests(kOutlookPagePath), 1);
        if (hidden)
            window->showDetails();
        QVERIFY(child<QCheckBox>(u"chkDetails"_qs)->isChecked());
        // Nothing is known until the first refresh ends.
        QVERIFY(!load.isReady());
        QVERIFY(window->isRefreshing());
        QCOMPARE(condition(), u"Status Unknown"_qs);
        QCOMPARE(litLevelLabel(), -1);
        QCOMPARE(child<QSystemTrayIcon>(u"trayIcon"_qs)->toolTip(), u"Status Unknown"_qs);
        QCOMPARE(text(u"lblCurrentCondition(0)"_qs), u"Not updated"_qs);

        QVERIFY(QCoro::waitFor(window->requestUnload(UnloadMode::SessionEnd)));

        QTRY_VERIFY(load.isReady());
        QVERIFY(window->isUnloaded());
        QVERIFY(!window->isVisible());
        QCOMPARE(m_quits, 1);
        QCOMPARE(m_prompt.asked, 0);
        QCOMPARE(storedSetting(u"ShowDetails"_qs), u"True"_qs);
        QCOMPARE(requests(kForecastPagePath), 0);
    }

    void changeAlert_data()
    {
        QTest::addColumn<bool>("playSound");
        QTest::newRow("with sound") << true;
        QTest::newRow("silent") << false;
    }

    void changeAlert()
    {
        QFETCH(bool, playSound);
        storeSetting(u"PlaySound"_qs, playSound ? u"True"_qs : u"False"_qs);
        m_sim->setScenario(ScenarioKind::Walk);
        const double demand = m_sim->snapshot().actualDemand;
        const auto header = [this](int i) {
            return m_notices.value(i)
                       ? m_notices[i]->findChild<QLabel *>(u"lblNoticeHeader"_qs)->text()
                       : QString();
        };
        // A status file without a status row leaves the level unknown: no notice yet.
        m_sim->setFault(kStatusCsvPath, Fault{.status = 404});
        MainWindow *window = loadWindow();
        QCOMPARE(condition(), u"Status Unknown"_qs);
        QCOMPARE(m_notices.size(), 0);
        QVERIFY(m_sound.played.isEmpty());

        m_sim->clearFaults();
        QCoro::waitFor(window->RefreshAll());
        QCOMPARE(condition(), u"System Normal"_qs);
        QCOMPARE(m_notices.size(), 1);
        QCOMPARE(header(0), u"System Normal: "_qs + UsMegawatts(demand).mid(1));
        QCOMPARE(m_sound.played.size(), int(playSound));
        if (playSound)
            QCOMPARE(QFileInfo(m_sound.played[0]).fileName(), u"notice.wav"_qs);

        QCoro::waitFor(window->RefreshAll()); // unchanged
        QCOMPARE(m_notices.size(), 1);

        m_sim->advance();
        QCoro::waitFor(window->RefreshAll());
        QCOMPARE(m_notices.size(), 2);
        QVERIFY(header(1).startsWith(u"Alert Notice: "_qs));
        QCOMPARE(m_sound.played.size(), playSound ? 2 : 0);
    }

    // Hidden at start, the window builds its chart when first shown; the
    // Graph menu shows and hides series; the read-out goes to the status bar.
    void graphMenuChartAndReadout()
    {
        storeSetting(u"GraphValues"_qs, u"0"_qs);
        storeSetting(u"ShowAtStartup"_qs, u"False"_qs);
        MainWindow *window = loadWindow();
        auto *panel = child<GraphPanel>(u"picGraph"_qs);
        QVERIFY(!panel->chart());
        QList<QAction *> items;
        for (int i = 0; i <= 4; ++i)
            items << child<QAction>(u"mnuGraphSub(%1)"_qs.arg(i));
        for (int i = 1; i <= 4; ++i)
            QVERIFY(!items[i]->isChecked());

        window->showDetails();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        auto *chart = child<QChartView>(u"chtMain"_qs);
        QVERIFY(chart && chart->isVisible());
        const GridSnapshot s = m_sim->snapshot();
        QCOMPARE(chart->chart()->title(), u"Current Load: "_qs +
                                              UsMegawatts(s.actualDemand).mid(1) +
                                              u"<br>Updated: "_qs + UsDate(s.measured));
        const auto shownSeries = [chart] {
            QStringList shown;
            for (QAbstractSeries *series : chart->chart()->series())
                if (series->isVisible() && !shown.contains(series->name()))
                    shown << series->name();
            return shown;
        };
        QCOMPARE(shownSeries(), QStringList());

        items[3]->trigger();
        QCOMPARE(window->settings().GraphValues, 4);
        QCOMPARE(shownSeries(), QStringList{u"Actual Demand"_qs});
        QVERIFY(items[3]->isChecked() && !items[1]->isChecked());
        QCOMPARE(storedSetting(u"GraphValues"_qs), u"0"_qs); // saved when the window unloads

        int hour = 1;
        while (hour < 24 && s.hours[std::size_t(hour)].actual)
            ++hour;
        const double actual = *s.hours[std::size_t(hour - 1)].actual;
        const QPointF point = chart->chart()->mapToPosition(QPointF(hour, actual));
        QTest::mouseMove(chart->viewport(), chart->mapFromScene(chart->chart()->mapToScene(point)));
        QCOMPARE(text(u"sbStatusBar"_qs), ReadoutText(u"Actual Demand", actual, hour, kEnglishUs));

        // The series items work only while the chart is in use.
        window->settings().CAISOGraph = true;
        child<QTabBar>(u"tabMain"_qs)->setCurrentIndex(1);
        QVERIFY(!items[1]->isEnabled() && !items[4]->isEnabled());
        window->settings().CAISOGraph = false;
        child<QTabBar>(u"tabMain"_qs)->setCurrentIndex(0);
        QVERIFY(items[1]->isEnabled() && items[4]->isEnabled());
    }

    void menusInOrder_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("items"); // "name=caption", "[x]"/"[ ]" marks, "(off)"
        const QString links = u"Sub(0)=California ISO Home|Sub(1)=California ISO %1|Sub(2)=-|"
                              "Sub(3)=Voltwise %2|Sub(4)=-|Sub(5)=Pacific Gas && Electric Home|"
                              "Sub(6)=PG&&E Blackout Information|"
                              "Sub(7)=Southern California Edison Home|"
                              "Sub(8)=SCE Blackout Information|Sub(9)=San Diego Gas && Electric "
                              "Home|Sub(10)=SDG&&E Blackout Information|"_qs;
        QTest::newRow("menu bar") << QString()
                                  << u"mnuFile=&File|mnuView=&View|mnuGraph=&Graph|mnuTools=&Tools|"
                                     "mnuHelp=&Help|"_qs;
        QTest::newRow("Graph") << u"mnuGraph"_qs
                               << u"mnuGraphSub(0)=-|mnuGraphSub(1)=Day-Ahead Demand Forecast [x]|"
                                  "mnuGraphSub(2)=Hour-Ahead Demand Forecast [x]|"
                                  "mnuGraphSub(3)=Actual Demand [x]|"
                                  "mnuGraphSub(4)=Available Resources [x]|"_qs;
        QTest::newRow("File") << u"mnuFile"_qs
                              << u"mnuFileUpdate=&Update Now|mnuFileClose=&Close|"
                                 "mnuFileExit=E&xit|"_qs;
        QTest::newRow("View") << u"mnuView"_qs
                              << u"mnuViewSub(0)=&Graph [x]|mnuViewSub(1)=&Conditions [ ]|"
                                 "mnuViewSub(2)=&Notices [ ]|mnuViewSub(3)=&Forecasts [ ]|"
                                 "mnuViewBar=-|mnuViewAlwaysOnTop=&Always on Top [ ]|"_qs;
        QTest::newRow("Tools") << u"mnuTools"_qs
                               << links.arg(u"Current System Conditions"_qs, u"Home"_qs)
                                          .replace(u"Sub("_qs, u"mnuToolsSub("_qs) +
                                      u"mnuToolsBar=-|mnuToolsOptions=Options...|"_qs;
        QTest::newRow("Help") << u"mnuHelp"_qs
                              << u"mnuHelpTopics=Voltwise &Help (online)...|mnuHelpUpdate=&Check "
                                 "for Voltwise Updates...|mnuHelpBar=-|"
                                 "mnuHelpAbout=&About Voltwise...|"_qs;
        QTest::newRow("icon menu")
            << u"mnuSysTray"_qs
            << links.arg(u"System Conditions"_qs, u"&Home"_qs)
                       .replace(u"Sub("_qs, u"mnuSysTraySub("_qs) +
                   u"mnuSysTrayBar1=-|mnuSysTrayDetails=&Details...|mnuSysTrayOptions=&Options..."
                   "|mnuSysTrayBar2=-|mnuSysTrayHelp=&Help...|mnuSysTrayAbout=&About...|"
                   "mnuSysTrayBar3=-|mnuSysTrayExit=E&xit|"_qs;
    }

    void menusInOrder()
    {
        QFETCH(QString, menu);
        QFETCH(QString, items);
        MainWindow *window = loadWindow();
        QString shown;
        const QWidget *owner =
            menu.isEmpty() ? static_cast<QWidget *>(window->menuBar()) : child<QMenu>(menu);
        for (const QAction *item : owner->actions()) {
            shown += (item->menu() ? item->menu()->objectName() : item->objectName()) + u'=' +
                     (item->isSeparator() ? u"-"_qs : item->text());
            if (item->isCheckable())
                shown += item->isChecked() ? u" [x]"_qs : u" [ ]"_qs;
            shown += item->isEnabled() ? u"|"_qs : u" (off)|"_qs;
        }
        QCOMPARE(shown, items);
    }

    void linksOpenTheSameTargetInBothMenus()
    {
        loadWindow(); // the grid operator and the maker at the simulator, the utilities by default
        const QString sim = m_sim->baseUrl().toString();
        const QStringList targets{sim,
                                  sim + u"/outlook/SystemStatus.html"_qs,
                                  {},
                                  sim,
                                  {},
                                  u"https://www.pge.com"_qs,
                                  u"https://www.pge.com/myhome/customerservice/energystatus/"
                                  "gridstatus/"_qs,
                                  u"https://www.sce.com"_qs,
                                  u"https://www.sce.com/PowerOutageCenter/Rotating/default.htm"_qs,
                                  u"https://www.sdge.com"_qs,
                                  u"https://www.sdge.com/reo/"_qs,
                                  sim + u"/Voltwise_Help.html"_qs};
        for (int i = 0; i < targets.size(); ++i) {
            m_browser.opened.clear();
            const bool help = i == targets.size() - 1;
            child<QAction>(help ? u"mnuHelpTopics"_qs : u"mnuToolsSub(%1)"_qs.arg(i))->trigger();
            child<QAction>(help ? u"mnuSysTrayHelp"_qs : u"mnuSysTraySub(%1)"_qs.arg(i))->trigger();
            QCOMPARE(m_browser.opened,
                     targets[i].isEmpty() ? QStringList() : QStringList(2, targets[i]));
        }
    }

    void viewMarksFollowTheTab()
    {
        loadWindow();
        const QStringList panels{u"picGraph"_qs, u"picConditions"_qs, u"rtbNotices"_qs,
                                 u"rtbForecasts"_qs};
        // View items, tab clicks (negative), and an item chosen twice.
        for (const int step : {2, 1, 1, -3, 0}) {
            const int index = std::abs(step);
            if (step < 0)
                child<QTabBar>(u"tabMain"_qs)->setCurrentIndex(index);
            else
                child<QAction>(u"mnuViewSub(%1)"_qs.arg(index))->trigger();
            QCOMPARE(child<QStackedWidget>(u"tabPanels"_qs)->currentWidget()->objectName(),
                     panels[index]);
            for (int i = 0; i < 4; ++i)
                QCOMPARE(child<QAction>(u"mnuViewSub(%1)"_qs.arg(i))->isChecked(), i == index);
        }
    }

    void alwaysOnTopTwice()
    {
        const bool stored = true; // the mark shows it from the start
        storeSetting(u"AlwaysOnTop"_qs, u"True"_qs);
        MainWindow *window = loadWindow();
        auto *item = child<QAction>(u"mnuViewAlwaysOnTop"_qs);
        for (const bool expected : {stored, !stored, stored}) {
            QCOMPARE(window->settings().AlwaysOnTop, expected);
            QCOMPARE(item->isChecked(), expected);
            QCOMPARE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint), expected);
            QVERIFY(window->isVisible());
            item->trigger();
        }
    }

    void aboutBox()
    {
        SetBuildStage(StageRelease);
        loadWindow();
        for (const QString &item : {u"mnuHelpAbout"_qs, u"mnuSysTrayAbout"_qs}) {
            child<QAction>(item)->trigger();
            QPointer<QMessageBox> box = child<QMessageBox>(u"msgAbout"_qs);
            QVERIFY(box && box->isVisible());
            QCOMPARE(box->windowTitle(), u"About Voltwise..."_qs);
            QCOMPARE(box->text(), u"Voltwise version 2.0.10\r\n"_qs + kCopyrightNotice.toString());
            QCOMPARE(box->icon(), QMessageBox::Information);
            QCOMPARE(box->standardButtons(), QMessageBox::Ok);
            box->button(QMessageBox::Ok)->click();
            QTRY_VERIFY(!box);
        }
    }

    void optionsTakeEffectAtTheNextTick_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("change");
        // The interval was 3, and the counter stands at 1 after the first tick.
        QTest::addColumn<QList<int>>("refreshTicks");
        QTest::addColumn<QString>("saved"); // AutoCheck CAISOGraph UpdateInterval
        QTest::newRow("Tools, interval 2") << u"mnuToolsOptions"_qs << u"interval 2"_qs
                                           << QList<int>{1, 3, 5} << u"True False 2"_qs;
        QTest::newRow("icon menu, interval 1") << u"mnuSysTrayOptions"_qs << u"interval 1"_qs
                                               << QList<int>{1, 3, 4, 5} << u"True False 1"_qs;
        QTest::newRow("automatic checks off")
            << u"mnuToolsOptions"_qs << u"auto off"_qs << QList<int>{1} << u"False False 3"_qs;
        QTest::newRow("static graph")
            << u"mnuSysTrayOptions"_qs << u"picture"_qs << QList<int>{1, 4} << u"True True 3"_qs;
        QTest::newRow("session ends while open, interval 2 typed")
            << u"mnuToolsOptions"_qs << u"session end 2"_qs << QList<int>{1} << u"True False 3"_qs;
    }

    void optionsTakeEffectAtTheNextTick()
    {
        QFETCH(QString, item);
        QFETCH(QString, change);
        QFETCH(QList<int>, refreshTicks);
        QFETCH(QString, saved);
        MainWindow *window = loadWindow();
        QList<int> refreshed;
        for (int tick = 1; tick <= 5; ++tick) {
            const int before = requests();
            QCoro::waitFor(window->tmrMinute_Timer());
            if (requests() > before)
                refreshed << tick;
            if (tick > 1)
                continue;
            child<QAction>(item)->trigger();
            child<QAction>(item)->trigger(); // a second request shows the same dialog
            QCOMPARE(window->findChildren<OptionsDialog *>().size(), 1);
            auto *dialog = child<OptionsDialog>(u"frmOptions"_qs);
            QCOMPARE(dialog->windowModality(), Qt::WindowModal);
            dialog->updnUpdateInterval->selectAll();
            if (change.contains(u"auto"_qs))
                dialog->chkAutoCheck->click();
            else if (change == u"picture")
                dialog->optCAISOGraph[1]->click();
            else
                QTest::keyClicks(dialog->updnUpdateInterval, change.right(1));
            if (change.startsWith(u"session"_qs))
                QVERIFY(QCoro::waitFor(window->requestUnload(UnloadMode::SessionEnd)));
            else
                dialog->cmdOK->click();
            QTRY_VERIFY(!child<OptionsDialog>(u"frmOptions"_qs));
            // The graph kind applies as soon as the dialog has closed.
            QCOMPARE(child<QLabel>(u"imgGraph"_qs)->isVisibleTo(window),
                     window->settings().CAISOGraph);
        }
        QCOMPARE(refreshed, refreshTicks);
        QCOMPARE(storedSetting(u"AutoCheck"_qs) + u' ' + storedSetting(u"CAISOGraph"_qs) + u' ' +
                     storedSetting(u"UpdateInterval"_qs),
                 saved);
    }

    // Today's feeds: window, tray tip and the Conditions tab's tip follow
    // the walk with the operator's words; every new status, the new Flex
    // Alert first, raises a notice.
    void currentFeedsWalk()
    {
        m_feeds = FeedSource::Current;
        m_sim->setScenario(ScenarioKind::Walk);
        const QStringList texts{u"System Normal"_qs,     u"Alert Notice"_qs,
                                u"Warning Notice"_qs,    u"Stage 1 Emergency"_qs,
                                u"Stage 2 Emergency"_qs, u"Stage 3 Emergency"_qs,
                                u"Rolling Blackouts"_qs, u"System Normal"_qs};
        MainWindow *window = loadWindow();
        for (int step = 0; step < texts.size(); ++step) {
            if (step > 0) {
                m_sim->advance();
                QCoro::waitFor(window->RefreshAll());
            }
            const GridSnapshot s = m_sim->currentSnapshot();
            QCOMPARE(text(u"lblStatusText"_qs), texts[step]);
            QVERIFY(child<QSystemTrayIcon>(u"trayIcon"_qs)
                        ->toolTip()
                        .endsWith(u": "_qs + UsMegawatts(s.actualDemand).mid(1)));
            QCOMPARE(child<QTabBar>(u"tabMain"_qs)->tabToolTip(1),
                     u"Current System Conditions\nGrid operator: "_qs +
                         OperatorWordsOf(s.level).join(u", "_qs));
            QCOMPARE(m_notices.size(), step + 1);
        }
        const auto *flexAlert = m_notices.value(1).data();
        QVERIFY(flexAlert);
        QVERIFY(flexAlert->findChild<QLabel *>(u"lblNoticeHeader"_qs)
                    ->text()
                    .startsWith(u"Alert Notice: "));
        const QString text = flexAlert->findChild<QLabel *>(u"lblNoticeText"_qs)->text();
        QVERIFY2(text.contains(u"Flex Alert 1: Flex alert for "_qs +
                               m_sim->currentSnapshot().levelStart.toString(u"MM/dd/yyyy"_qs)),
                 qPrintable(text));
    }

    void trayIconClicks()
    {
        MainWindow *window = loadWindow();
        window->hide();
        auto *tray = child<QSystemTrayIcon>(u"trayIcon"_qs);
        auto *trayMenu = child<QMenu>(u"mnuSysTray"_qs);

        Q_EMIT tray->activated(QSystemTrayIcon::Context);
        QTRY_VERIFY_WITH_TIMEOUT(trayMenu->isVisible(), 2000);
        QVERIFY(!window->isVisible());
        trayMenu->hide();

        Q_EMIT tray->activated(QSystemTrayIcon::Trigger);
        Q_EMIT tray->activated(QSystemTrayIcon::DoubleClick);
        // Long enough for a single click's menu to have come.
        QTest::qWait(int(TrayClickProtocol::kSingleClickDelay.count()) + 100);
        QVERIFY(window->isVisible());
        QVERIFY(!trayMenu->isVisible());
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
