// Every fault the simulator knows against every resource, through the
// window's own refresh: nothing crashes, what the refresh before read stays,
// no alert is raised, the status bar names a failed transfer, and the time
// each refresh took is printed for the table of outcomes.
#include "core/download/download_channel.h"
#include "gridsim/fault_bodies.h"
#include "platform/recording_sound_player.h"
#include "settings/settings_test_support.h"
#include "support/sim_fixture.h"
#include "ui/gui/main_window.h"

#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QTest>

#include <map>
#include <memory>

using namespace voltwise;
using namespace voltwise::gridsim;
using namespace std::chrono_literals;

namespace {

// Short enough for a quick table, long enough for loopback answers under sanitizers.
constexpr std::chrono::milliseconds kSilence = 400ms;
// Beyond any one fault, within every resource dripping at once.
constexpr std::chrono::milliseconds kDeadline = kSilence * 8;

// What a refresh asks for, by the feeds it reads.
const QStringList kClassic{kStatusCsvPath.toString(), kLoadPicturePath.toString(),
                           kOutlookPagePath.toString(), kForecastPagePath.toString(),
                           kStatusPagePath.toString()};
const QStringList kCurrent{kStatsPath.toString(), kDemandPath.toString(),
                           kFlexAlertEventsPath.toString()};

// Everything a refresh leaves behind that a fault could spoil.
auto Shown(const MainWindow &window)
{
    const GridData &data = window.gridData();
    return std::tuple(data.Status, data.Notices, data.ForecastsText, data.Outlook,
                      window.findChild<QLabel *>(u"imgGraph"_qs)->pixmap().toImage());
}

} // namespace

Q_DECLARE_METATYPE(voltwise::FeedSource)

class TestHostileServer : public QObject
{
    Q_OBJECT

private:
    TempRegistry m_reg;
    std::unique_ptr<GridSim> m_sim;
    RecordingSoundPlayer m_sound;
    // One window per feed source, sharing the settings.
    std::map<FeedSource, std::unique_ptr<MainWindow>> m_windows;
    int m_notices = 0;

private Q_SLOTS:
    void initTestCase()
    {
        // Fixed, and today, so that today's feeds are not a day behind.
        m_sim = testing::StartSim(QDateTime::currentDateTime());
        QVERIFY(m_reg.dir.isValid() && m_sim);
        // A warning with notices and forecasts, so every resource has something to keep.
        m_sim->setScenario(ScenarioKind::Walk);
        m_sim->advance();
        m_sim->advance();
        GzipBomb(Fault::kDefaultBomb); // made once, before any refresh waits for it

        for (const FeedSource feeds : {FeedSource::Classic, FeedSource::Current}) {
            MainWindowServices services;
            services.store = &m_reg.store;
            const QUrl sim = m_sim->baseUrl();
            services.servers = {sim, sim, sim, sim, feeds};
            services.locale = QLocale(QLocale::English, QLocale::UnitedStates);
            services.sound = &m_sound;
            services.publishOnBus = false;
            services.refreshDeadline = kDeadline;
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
        // Delivered whole, bad data and all (the gzip bomb packed, as binary).
        const QStringList whole{u"empty"_qs, u"gzip-bomb"_qs, u"binary"_qs, u"invalid-utf8"_qs};
        const QStringList faults =
            u"status:500 status:404 stall oversize chunked,oversize cut reset:head reset:body "
            "redirect:self redirect:file:///etc/passwd redirect:ftp://127.0.0.1/outlook.html "
            "oversize:100000000,trickle:20"_qs.split(u' ') + // a drip that never ends
            whole;
        for (const FeedSource feeds : {FeedSource::Classic, FeedSource::Current}) {
            for (const QString &path : feeds == FeedSource::Classic ? kClassic : kCurrent)
                for (const QString &fault : faults)
                    QTest::addRow("%s %s", qPrintable(path), qPrintable(fault))
                        << feeds << path << fault << !whole.contains(fault);
            // Every resource at once; a drip without a length to refuse it by
            // lasts until the refresh's deadline.
            for (const char *fault : {"stall", "chunked,oversize:100000000,trickle:20"})
                QTest::addRow("%s every resource %s",
                              feeds == FeedSource::Classic ? "classic" : "current", fault)
                    << feeds << kEveryPath.toString() << QString::fromLatin1(fault) << true;
        }
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
        const auto before = Shown(window);
        const qsizetype sounds = m_sound.played.size();
        const int notices = m_notices;
        QHash<QString, int> requests;
        for (const QString &resource : resources)
            requests[resource] = m_sim->requestCount(resource);

        m_sim->setFault(path, *ParseFault(fault));
        QStringList errors;
        const auto connection = connect(window.downloadChannel(), &DownloadChannel::progressText,
                                        this, [&errors](const QString &text) {
                                            if (text.startsWith(u"Error #"))
                                                errors << text;
                                        });
        QElapsedTimer elapsed;
        elapsed.start();
        QCoro::waitFor(window.RefreshAll());
        disconnect(connection);

        const bool kept = Shown(window) == before;
        qInfo("matrix | %s | %s | %s | %s | %lld ms", qPrintable(path), qPrintable(fault),
              kept ? "kept" : "CHANGED", errors.isEmpty() ? "-" : qPrintable(errors.join(u" / ")),
              elapsed.elapsed());
        QVERIFY(kept);
        QCOMPARE(m_sound.played.size(), sounds);
        QCOMPARE(m_notices, notices);
        if (failed || feeds == FeedSource::Classic)
            QCOMPARE(!errors.isEmpty(), failed);
        // Past the deadline, the rest is not asked for.
        for (const QString &resource : path == kEveryPath ? resources.mid(0, 1) : resources)
            QVERIFY2(m_sim->requestCount(resource) > requests[resource], qPrintable(resource));
        QVERIFY(!window.isRefreshing());
    }
};

QTEST_MAIN(TestHostileServer)
#include "test_hostile_server.moc"
