// Every fault the simulator knows against every resource, through the
// window's own refresh: nothing crashes, what the refresh before read stays,
// no alert is raised, the status bar names a failed transfer, and the time
// each refresh took is printed for the table of outcomes.
#include "core/download/download_channel.h"
#include "gridsim/grid_sim.h"
#include "platform/recording_sound_player.h"
#include "settings/qsettings_registry.h"
#include "ui/exit_prompt.h"
#include "ui/main_window.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace voltwise;
using namespace voltwise::gridsim;
using namespace std::chrono_literals;

namespace {

// Short enough for a quick table, long enough for loopback answers under sanitizers.
constexpr std::chrono::milliseconds kSilence = 400ms;

const QStringList kResources{kStatusCsvPath.toString(), kLoadPicturePath.toString(),
                             kOutlookPagePath.toString(), kForecastPagePath.toString(),
                             kStatusPagePath.toString()};

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
    qint64 picture = 0;

    friend bool operator==(const Shown &, const Shown &) = default;
};

} // namespace

class TestHostileServer : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<QSettingsRegistryBackend> m_store;
    std::unique_ptr<GridSim> m_sim;
    RecordingSoundPlayer m_sound;
    YesExitPrompt m_prompt;
    std::unique_ptr<MainWindow> m_window;
    int m_notices = 0;

    Shown shown() const
    {
        const GridData &data = m_window->gridData();
        const auto *picture = m_window->findChild<QLabel *>(u"imgGraph"_qs);
        return {data.Status, data.Notices, data.ForecastsText, data.Outlook,
                picture->pixmap().cacheKey()};
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_store = std::make_unique<QSettingsRegistryBackend>(
            RegistryDirectories{m_dir.filePath(u"user"_qs), {m_dir.filePath(u"machine"_qs)}});
        m_sim = std::make_unique<GridSim>();
        QVERIFY(m_sim->listen(QHostAddress::LocalHost, 0));
        m_sim->setClock([] { return QDateTime(QDate(2001, 8, 13), QTime(14, 25, 3)); });
        // A warning with notices and forecasts, so every resource has something to keep.
        m_sim->setScenario(ScenarioKind::Walk);
        for (int step = 0; step < 2; ++step)
            m_sim->advance();

        MainWindowServices services;
        services.store = m_store.get();
        services.servers = {m_sim->baseUrl(), m_sim->baseUrl(), m_sim->baseUrl()};
        services.locale = QLocale(QLocale::English, QLocale::UnitedStates);
        services.exitPrompt = &m_prompt;
        services.sound = &m_sound;
        services.publishOnBus = false;
        services.quit = [] {
        };
        m_window = std::make_unique<MainWindow>(services);
        connect(m_window.get(), &MainWindow::noticeRaised, this, [this](QWidget *notice) {
            ++m_notices;
            delete notice;
        });
        m_window->downloadChannel()->setTimeout(kSilence);
        QCoro::waitFor(m_window->Form_Load());
    }

    void cleanupTestCase()
    {
        m_window.reset();
        m_sim.reset();
    }

    void matrix_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("failed"); // the transfer fails and the bar says so

        const QList<std::pair<const char *, bool>> faults = {
            {"empty", false},
            {"stall", true},
            {"oversize", true},
            {"chunked,oversize", true},
            {"oversize:100000000,trickle:20", true}, // a drip that never ends
            {"cut", true},
            {"reset:head", true},
            {"reset:body", true},
            {"gzip-bomb", true},
            {"binary", false},
            {"invalid-utf8", false},
            {"redirect:self", true},
            {"redirect:file:///etc/passwd", true},
            {"redirect:ftp://127.0.0.1/outlook.html", true},
        };
        for (const QString &path : kResources)
            for (const auto &[fault, failed] : faults)
                QTest::addRow("%s %s", qPrintable(path), fault)
                    << path << QString::fromLatin1(fault) << failed;
    }

    void matrix()
    {
        QFETCH(QString, path);
        QFETCH(QString, fault);
        QFETCH(bool, failed);

        m_sim->clearFaults();
        QCoro::waitFor(m_window->RefreshAll());
        const Shown before = shown();
        const qsizetype sounds = m_sound.played.size();
        const int notices = m_notices;
        QHash<QString, int> requests;
        for (const QString &resource : kResources)
            requests[resource] = m_sim->requestCount(resource);

        m_sim->setFault(path, *ParseFault(fault));
        QStringList bar;
        const auto connection = connect(m_window->downloadChannel(), &DownloadChannel::progressText,
                                        this, [&bar](const QString &text) { bar << text; });
        QElapsedTimer elapsed;
        elapsed.start();
        QCoro::waitFor(m_window->RefreshAll());
        const qint64 ms = elapsed.elapsed();
        disconnect(connection);

        const QStringList errors = bar.filter(QRegularExpression(u"^Error #"_qs));
        qInfo("matrix | %s | %s | %s | %s | %lld ms", qPrintable(path), qPrintable(fault),
              shown() == before ? "kept" : "CHANGED",
              errors.isEmpty() ? "-" : qPrintable(errors.join(u" / ")), ms);
        QVERIFY(shown() == before);
        QCOMPARE(m_sound.played.size(), sounds);
        QCOMPARE(m_notices, notices);
        QCOMPARE(errors.size(), failed ? 1 : 0);
        for (const QString &resource : kResources)
            QVERIFY2(m_sim->requestCount(resource) > requests[resource], qPrintable(resource));
        QVERIFY(!m_window->isRefreshing());
    }
};

QTEST_MAIN(TestHostileServer)
#include "test_hostile_server.moc"
