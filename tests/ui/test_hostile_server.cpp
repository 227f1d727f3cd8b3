// Every fault the simulator knows against every resource, through the
// window's own refresh: nothing crashes, what the refresh before read stays,
// no alert is raised, the status bar names a failed transfer, and the time
// each refresh took is printed for the table of outcomes.
#include "core/download/download_channel.h"
#include "gridsim/fault_bodies.h"
#include "gridsim/grid_sim.h"
#include "platform/recording_sound_player.h"
#include "settings/qsettings_registry.h"
#include "ui/exit_prompt.h"
#include "ui/main_window.h"

#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <map>
#include <memory>

using namespace voltwise;
using namespace voltwise::gridsim;
using namespace std::chrono_literals;

namespace {

// Short enough for a quick table, long enough for loopback answers under sanitizers.
constexpr std::chrono::milliseconds kSilence = 400ms;

// What a refresh asks for, by the feeds it reads.
const QStringList kClassic{kStatusCsvPath.toString(), kLoadPicturePath.toString(),
                           kOutlookPagePath.toString(), kForecastPagePath.toString(),
                           kStatusPagePath.toString()};
const QStringList kCurrent{kStatsPath.toString(), kDemandPath.toString(),
                           kFlexAlertEventsPath.toString()};

class YesExitPrompt final : public ExitPrompt
{
public:
    QCoro::Task<bool> confirmExit(QWidget *) override { co_return true; }
};

// Everything a refresh leaves behind that a fault could spoil.
struct Shown
{
    GridStatus status;
    NoticesTexts notices;
    QString forecasts;
    OutlookValues outlook;
    QImage picture;

    friend bool operator==(const Shown &, const Shown &) = default;
};

} // namespace

Q_DECLARE_METATYPE(voltwise::FeedSource)

class TestHostileServer : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<QSettingsRegistryBackend> m_store;
    std::unique_ptr<GridSim> m_sim;
    RecordingSoundPlayer m_sound;
    YesExitPrompt m_prompt;
    // One window per feed source, each with its own settings.
    std::map<FeedSource, std::unique_ptr<MainWindow>> m_windows;
    int m_notices = 0;

    static Shown shown(const MainWindow &window)
    {
        const GridData &data = window.gridData();
        const auto *picture = window.findChild<QLabel *>(u"imgGraph"_qs);
        return {data.Status, data.Notices, data.ForecastsText, data.Outlook,
                picture->pixmap().toImage()};
    }

    void addWindow(FeedSource feeds)
    {
        MainWindowServices services;
        services.store = m_store.get();
        const QUrl sim = m_sim->baseUrl();
        services.servers = {sim, sim, sim, sim, feeds};
        services.locale = QLocale(QLocale::English, QLocale::UnitedStates);
        services.exitPrompt = &m_prompt;
        services.sound = &m_sound;
        services.publishOnBus = false;
        services.quit = [] {
        };
        auto window = std::make_unique<MainWindow>(services);
        connect(window.get(), &MainWindow::noticeRaised, this, [this](QWidget *notice) {
            ++m_notices;
            delete notice;
        });
        window->downloadChannel()->setTimeout(kSilence);
        window->downloadChannel()->setOverallTimeout(kSilence * 5);
        QCoro::waitFor(window->Form_Load());
        m_windows[feeds] = std::move(window);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_store = std::make_unique<QSettingsRegistryBackend>(
            RegistryDirectories{m_dir.filePath(u"user"_qs), {m_dir.filePath(u"machine"_qs)}});
        m_sim = std::make_unique<GridSim>();
        QVERIFY(m_sim->listen(QHostAddress::LocalHost, 0));
        // Fixed, and today, so that today's feeds are not a day behind.
        const QDateTime start = QDateTime::currentDateTime();
        m_sim->setClock([start] { return start; });
        // A warning with notices and forecasts, so every resource has something to keep.
        m_sim->setScenario(ScenarioKind::Walk);
        for (int step = 0; step < 2; ++step)
            m_sim->advance();

        // Made once, before any refresh waits for it.
        GzipBomb(Fault::kDefaultBomb);
        addWindow(FeedSource::Classic);
        addWindow(FeedSource::Current);
    }

    void cleanupTestCase()
    {
        m_windows.clear();
        m_sim.reset();
    }

    void matrix_data()
    {
        QTest::addColumn<FeedSource>("feeds");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("fault");
        // The transfer fails and the bar says so; today's feeds' readers also
        // name bad data there, the classic ones never.
        QTest::addColumn<bool>("failed");

        const QList<std::pair<const char *, bool>> faults = {
            {"status:500", true},
            {"status:404", true},
            {"empty", false},
            {"stall", true},
            {"oversize", true},
            {"chunked,oversize", true},
            {"oversize:100000000,trickle:20", true}, // a drip that never ends
            {"cut", true},
            {"reset:head", true},
            {"reset:body", true},
            {"gzip-bomb", false}, // handed over packed, as binary
            {"binary", false},
            {"invalid-utf8", false},
            {"redirect:self", true},
            {"redirect:file:///etc/passwd", true},
            {"redirect:ftp://127.0.0.1/outlook.html", true},
        };
        for (const FeedSource feeds : {FeedSource::Classic, FeedSource::Current})
            for (const QString &path : feeds == FeedSource::Classic ? kClassic : kCurrent)
                for (const auto &[fault, failed] : faults)
                    QTest::addRow("%s %s", qPrintable(path), fault)
                        << feeds << path << QString::fromLatin1(fault) << failed;
    }

    void matrix()
    {
        QFETCH(FeedSource, feeds);
        QFETCH(QString, path);
        QFETCH(QString, fault);
        QFETCH(bool, failed);
        MainWindow &window = *m_windows.at(feeds);
        const QStringList &resources = feeds == FeedSource::Classic ? kClassic : kCurrent;

        m_sim->clearFaults();
        QCoro::waitFor(window.RefreshAll());
        const Shown before = shown(window);
        const qsizetype sounds = m_sound.played.size();
        const int notices = m_notices;
        QHash<QString, int> requests;
        for (const QString &resource : resources)
            requests[resource] = m_sim->requestCount(resource);

        m_sim->setFault(path, *ParseFault(fault));
        QStringList bar;
        const auto connection = connect(window.downloadChannel(), &DownloadChannel::progressText,
                                        this, [&bar](const QString &text) { bar << text; });
        QElapsedTimer elapsed;
        elapsed.start();
        QCoro::waitFor(window.RefreshAll());
        const qint64 ms = elapsed.elapsed();
        disconnect(connection);

        const QStringList errors = bar.filter(QRegularExpression(u"^Error #"_qs));
        qInfo("matrix | %s | %s | %s | %s | %lld ms", qPrintable(path), qPrintable(fault),
              shown(window) == before ? "kept" : "CHANGED",
              errors.isEmpty() ? "-" : qPrintable(errors.join(u" / ")), ms);
        QVERIFY(shown(window) == before);
        QCOMPARE(m_sound.played.size(), sounds);
        QCOMPARE(m_notices, notices);
        if (failed || feeds == FeedSource::Classic)
            QCOMPARE(!errors.isEmpty(), failed);
        for (const QString &resource : resources)
            QVERIFY2(m_sim->requestCount(resource) > requests[resource], qPrintable(resource));
        QVERIFY(!window.isRefreshing());
    }
};

QTEST_MAIN(TestHostileServer)
#include "test_hostile_server.moc"
