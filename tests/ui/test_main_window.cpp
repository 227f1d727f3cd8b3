// The main window against the in-process simulated grid operator, with its
// settings in a temporary store and fakes for the exit question and the sound.
#include "core/conversions.h"
#include "core/copyright.h"
#include "core/download/download_channel.h"
#include "graph/chart_readout.h"
#include "gridsim/current_feeds_writer.h"
#include "platform/gui/desktop_notifier.h"
#include "platform/recording_browser_opener.h"
#include "platform/recording_sound_player.h"
#include "platform/recording_tray_icon.h"
#include "platform/startup_entry.h"
#include "platform/translations.h"
#include "settings/registry_operations.h"
#include "settings/setting_keys.h"
#include "settings/settings_test_support.h"
#include "status/gui/condition_images.h"
#include "status/status_presentation.h"
#include "support/accessible_texts.h"
#include "support/private_bus.h"
#include "support/rendered_ink.h"
#include "support/sim_fixture.h"
#include "ui/gui/exit_prompt.h"
#include "ui/gui/fitting_label.h"
#include "ui/gui/main_window.h"
#include "ui/gui/options_dialog.h"
#include "ui/gui/software_update_dialog.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QChartView>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QGraphicsLineItem>
#include <QGroupBox>
#include <QLabel>
#include <QLineSeries>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QXmlStreamReader>
#include <qcoro/qcorosignal.h>

#include <algorithm>
#include <cmath>
#include <memory>

using namespace voltwise;
using namespace voltwise::gridsim;
using namespace std::chrono_literals;

namespace {

const QLocale kEnglishUs(QLocale::English, QLocale::UnitedStates);

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

// As a screen reader hears a caption: no accelerator marks.
QString Spoken(QString text)
{
    text.replace(u"&&"_qs, u"\x01"_qs);
    text.remove(u'&');
    return text.replace(u'\x01', u'&');
}

// A text of the translation file as a pattern that also matches it with its
// placeholders filled in.
QRegularExpression TextPattern(const QString &text)
{
    QString pattern = QRegularExpression::escape(Spoken(text));
    pattern.replace(QRegularExpression(u"%\\d"_qs), u".*"_qs);
    return QRegularExpression(QRegularExpression::anchoredPattern(pattern),
                              QRegularExpression::DotMatchesEverythingOption);
}

// The file's English texts whose Spanish differs.
struct TsMessages
{
    int messages = 0;
    QList<QRegularExpression> english;
};

TsMessages ReadTranslationFile(const QString &path)
{
    TsMessages ts;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ts;
    QXmlStreamReader xml(&file);
    QString source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"source") {
            source = xml.readElementText();
        } else if (xml.name() == u"translation") {
            ++ts.messages;
            const QString translation = xml.readElementText();
            if (Spoken(translation) == Spoken(source))
                continue;
            // A template counts only where its own words say enough.
            QString words = Spoken(source);
            words.remove(QRegularExpression(u"%\\d"_qs));
            if (source.contains(u'%') && words.count(QRegularExpression(u"\\p{L}"_qs)) < 6)
                continue;
            ts.english << TextPattern(source);
        }
    }
    return ts;
}

// Where a caption does not fit its control, runs out of its window or into
// a neighbour's caption: "<object>: <text> …".
QStringList CutCaptions(QWidget *root)
{
    QStringList cut;
    QList<std::pair<const QWidget *, QRect>> inked; // where each caption's text lies
    const auto check = [&](const QWidget *w, const QString &text, int need, int room) {
        if (need > room)
            cut << u"%1: %2 (%3 > %4 px)"_qs.arg(w->objectName(), text).arg(need).arg(room);
        QRect ink = w->geometry();
        ink.setWidth(qMax(ink.width(), need));
        // Sideways only: a notice still sliding up shows part of its height.
        if (w != root && (ink.left() < 0 || ink.right() >= w->parentWidget()->width()))
            cut << u"%1: %2 runs out of its window"_qs.arg(w->objectName(), text);
        for (const auto &[other, otherInk] : std::as_const(inked))
            if (other->parentWidget() == w->parentWidget() && otherInk.intersects(ink))
                cut << u"%1: %2 runs into %3"_qs.arg(w->objectName(), text, other->objectName());
        inked.append({w, ink});
    };
    QList<QWidget *> widgets = root->findChildren<QWidget *>();
    widgets.prepend(root);
    for (QWidget *w : std::as_const(widgets)) {
        if (!w->isVisibleTo(root))
            continue;
        if (auto *label = qobject_cast<QLabel *>(w)) {
            const QString text = label->text();
            if (text.isEmpty() || label->wordWrap() || text.contains(u'\n') ||
                text.contains(u'\r') || Qt::mightBeRichText(text))
                continue;
            // The condition shrinks as it paints, down to 8 points.
            QFont font = label->font();
            if (w->objectName() == u"lblStatusText")
                font.setPointSizeF(8);
            check(w, text, QFontMetrics(font).horizontalAdvance(text),
                  label->contentsRect().width());
        } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
            if (!button->text().isEmpty())
                check(w, button->text(), button->sizeHint().width(), button->width());
        } else if (auto *tabs = qobject_cast<QTabBar *>(w)) {
            // Tabs beyond the bar hide behind its scroll buttons.
            if (tabs->sizeHint().width() > tabs->width())
                cut << u"%1: the tabs need %2 px"_qs.arg(w->objectName())
                           .arg(tabs->sizeHint().width());
            for (int i = 0; i < tabs->count(); ++i) {
                const QRect tab = tabs->tabRect(i);
                const int need = tabs->fontMetrics().horizontalAdvance(Spoken(tabs->tabText(i)));
                if (need > qMin(tab.width(), tabs->width() - tab.left()))
                    cut << u"%1: %2"_qs.arg(w->objectName(), tabs->tabText(i));
            }
        } else if (auto *group = qobject_cast<QGroupBox *>(w)) {
            if (group->minimumSizeHint().width() > group->width())
                cut << u"%1: %2"_qs.arg(w->objectName(), group->title());
        }
    }
    return cut;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TempRegistry> m_reg;
    std::unique_ptr<GridSim> m_sim;
    RecordingSoundPlayer m_sound;
    RecordingBrowserOpener m_browser;
    ScriptedExitPrompt m_prompt;
    int m_quits = 0;
    std::unique_ptr<MainWindow> m_window;
    QPointer<RecordingTrayIcon> m_tray;
    // A session bus without a notification server.
    testing::PrivateBus m_bus;
    std::unique_ptr<DesktopNotifier> m_notifier =
        std::make_unique<DesktopNotifier>(m_bus.connect(), m_browser);
    bool m_trayPresent = true;
    QList<QPointer<QWidget>> m_notices;
    FeedSource m_feeds = FeedSource::Classic;
    TsMessages m_ts;
    bool m_spanish = false;
    QCoro::Task<bool> m_exitAsked;

    MainWindow *makeWindow(bool trayAvailable = true)
    {
        MainWindowServices services;
        services.store = &m_reg->store;
        const QUrl sim = m_sim->baseUrl();
        services.servers = {sim, sim, sim, sim, m_feeds};
        services.clock = [this] {
            return m_sim->snapshot().produced;
        };
        services.locale = m_spanish ? QLocale::system() : kEnglishUs;
        services.exitPrompt = &m_prompt;
        services.sound = &m_sound;
        services.browser = &m_browser;
        if (trayAvailable)
            services.makeTray = [this](QMenu *, QObject *parent) -> TrayIcon * {
                m_tray = new RecordingTrayIcon(parent);
                m_tray->present = m_trayPresent;
                return m_tray;
            };
        services.publishOnBus = false;
        services.trayWait = 0ms;
        services.notifier = m_notifier.get();
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

    // "Key=Value" into the store.
    void store(const QString &setting)
    {
        QVERIFY(SaveSetting(m_reg->store, kApplicationTitle, kSettingsSection,
                            setting.section(u'=', 0, 0), setting.section(u'=', 1)));
    }

    // The stored values of the keys (separated by blanks), one word each.
    QString stored(const QString &keys) const
    {
        QStringList values;
        for (const QString &key : keys.split(u' '))
            values << GetSetting(m_reg->store, kApplicationTitle, kSettingsSection, key,
                                 u"<missing>"_qs);
        return values.join(u' ');
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

    QString accessibleText(const QString &name, QAccessible::Text kind) const
    {
        return QAccessible::queryAccessibleInterface(child<QWidget>(name))->text(kind);
    }

    // The scale label a screen reader is told is lit; -2 for more than one.
    int litLevelLabel() const
    {
        int lit = -1;
        for (int i = 0; i < 6; ++i)
            if (accessibleText(u"lblStatus(%1)"_qs.arg(i), QAccessible::Description) ==
                u"Current level")
                lit = lit == -1 ? i : -2;
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

    int requests(QStringView path = kStatusCsvPath) const { return m_sim->requestCount(path); }

    // Texts a screen reader reaches below `root` that the translation file has in Spanish.
    QStringList untranslated(QWidget *root) const
    {
        QList<QPair<QString, QString>> texts = AccessibleTexts(root);
        for (QMenu *menu : root->findChildren<QMenu *>())
            texts += AccessibleTexts(menu);
        QStringList left;
        for (const auto &[owner, text] : std::as_const(texts))
            if (std::any_of(m_ts.english.begin(), m_ts.english.end(),
                            [&](const auto &p) { return p.match(text).hasMatch(); }))
                left << owner + u": "_qs + text;
        return left;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_ts = ReadTranslationFile(QStringLiteral(VOLTWISE_TS_FILE));
        QVERIFY(m_ts.messages > 100 && m_ts.english.size() > m_ts.messages / 2);
        // CTest runs the captions' tests once more as a user starts the program under
        // LC_ALL=es_US.UTF-8 (test_spanish_window); elsewhere it stays in English.
        m_spanish = InstallTranslations(QLocale::system());
        QCOMPARE(m_spanish, qEnvironmentVariable("LC_ALL").startsWith(u"es_US"));
    }

    void init()
    {
        m_reg = std::make_unique<TempRegistry>();
        QVERIFY(m_reg->dir.isValid());
        m_sim = testing::StartSim(QDateTime(QDate(2001, 8, 13), QTime(14, 25, 3)));
        QVERIFY(m_sim);
        m_feeds = FeedSource::Classic;
        m_sound.played.clear();
        m_prompt.yes = m_prompt.hold = false;
        m_prompt.asked = m_quits = 0;
        m_notices.clear();
        m_trayPresent = true;
    }

    void cleanup()
    {
        if (m_prompt.pending)
            m_prompt.answer(false);
        for (const QPointer<QWidget> &notice : std::as_const(m_notices))
            delete notice.data();
        m_window.reset();
        m_sim.reset();
        m_reg.reset();
        // Replies and sockets go with deleteLater.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    void loadAppliesTheStoredSettings_data()
    {
        QTest::addColumn<QString>("stored"); // "Key=Value"
        QTest::addColumn<QString>("shown");  // details, visible, on top, the operator's picture
        QTest::addColumn<bool>("trayPresent");
        QTest::newRow("nothing stored") << QString() << u"1100"_qs << true;
        QTest::newRow("ShowDetails False") << u"ShowDetails=False"_qs << u"0100"_qs << true;
        QTest::newRow("ShowAtStartup False") << u"ShowAtStartup=False"_qs << u"1000"_qs << true;
        // Without a notification area the window is the only way in.
        QTest::newRow("ShowAtStartup False, no notification area")
            << u"ShowAtStartup=False"_qs << u"1100"_qs << false;
        QTest::newRow("CAISOGraph True") << u"CAISOGraph=True"_qs << u"1101"_qs << true;
        // A notice meant for the notification server still shows when none is there.
        QTest::newRow("NoticeStyle Desktop") << u"NoticeStyle=Desktop"_qs << u"1100"_qs << true;
    }

    void loadAppliesTheStoredSettings()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        QFETCH(bool, trayPresent);
        m_trayPresent = trayPresent;
        if (!stored.isEmpty())
            store(stored);
        MainWindow *window = loadWindow();
        QTRY_COMPARE(window->isVisible(), shown[1] == u'1');

        auto *details = child<QCheckBox>(u"chkDetails"_qs);
        auto *graphPicture = child<QLabel>(u"imgGraph"_qs);
        const auto flag = [](bool on) {
            return on ? u'1' : u'0';
        };
        QCOMPARE(QString() + flag(details->isChecked()) + flag(window->isVisible()) +
                     flag(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) +
                     flag(graphPicture->isVisibleTo(window)),
                 shown);
        QVERIFY(!graphPicture->pixmap().isNull()); // downloaded and loaded either way
        QTRY_COMPARE(m_notices.size(), 1);
        // The check box switches to the shorter or the longer layout and remembers the choice.
        const bool checked = details->isChecked();
        const int height = window->height();
        details->setChecked(!checked);
        QCOMPARE(window->settings().ShowDetails, !checked);
        QVERIFY2(checked ? window->height() < height : window->height() > height,
                 qPrintable(u"%1 -> %2"_qs.arg(height).arg(window->height())));
    }

    // The first refresh fills the window, the tray tip and the Conditions tab's tip (with the
    // operator's words on today's feeds), and raises a notice with the chime; each step's
    // condition and notice: test_grid_monitor. Today's Flex Alert service fails at first: the
    // Notices and Forecasts tabs invent nothing, and fill once it answers.
    void firstRefreshFillsTheWindow_data()
    {
        QTest::addColumn<FeedSource>("feeds");
        QTest::newRow("classic") << FeedSource::Classic;
        QTest::newRow("today's feeds") << FeedSource::Current;
    }

    void firstRefreshFillsTheWindow()
    {
        QFETCH(FeedSource, feeds);
        const bool classic = (m_feeds = feeds) == FeedSource::Classic;
        m_sim->setScenario(ScenarioKind::Walk);
        for (int i = 0; i < 6; ++i)
            m_sim->advance(); // load interruptions: every label has something to show
        m_sim->setFault(kFlexAlertEventsPath, Fault{.status = classic ? 0 : 500});
        const GridSnapshot s = classic ? m_sim->snapshot() : m_sim->currentSnapshot();

        MainWindow *window = loadWindow();

        QCOMPARE(condition(), u"Rolling Blackouts"_qs);
        QCOMPARE(litLevelLabel(), 5);
        QCOMPARE(m_tray->toolTip,
                 u"Emergency Load Reductions: "_qs + UsMegawatts(s.actualDemand).mid(1));
        const QString words = OperatorWordsOf(s.level).join(u", "_qs);
        QCOMPARE(child<QTabBar>(u"tabMain"_qs)->tabToolTip(1),
                 u"Current System Conditions"_qs +
                     (classic ? QString() : u"\nGrid operator: "_qs + words));
        QCOMPARE(m_notices.size(), 1);
        QCOMPARE(m_sound.played.size(), 1);
        QCOMPARE(QFileInfo(m_sound.played.value(0)).fileName(), u"notice.wav"_qs);
        const auto tab = [this](const char *name) {
            return child<QPlainTextEdit>(QString::fromLatin1(name))->toPlainText();
        };
        if (!classic) {
            QCOMPARE(tab("rtbNotices") + tab("rtbForecasts"), QString());
            m_sim->setFault(kFlexAlertEventsPath, Fault{});
            QCoro::waitFor(window->RefreshAll());
            QVERIFY2(tab("rtbNotices").startsWith(u"Current Active Notice(s):"_qs),
                     qPrintable(tab("rtbNotices")));
            QVERIFY2(tab("rtbForecasts").startsWith(u"Current Active Forecast(s):"_qs),
                     qPrintable(tab("rtbForecasts")));
            return;
        }
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
        for (const QString &notice : s.activeNotices + s.pendingNotices)
            QVERIFY2(tab("rtbNotices").contains(notice.section(u'\n', 0, 0)),
                     qPrintable(tab("rtbNotices")));
    }

    // A refresh from File > Update: its triggers and the minute timer rest while it runs, the bar
    // shows its progress, then empties. Exit while a download stalls: the program ends once the
    // refresh is cut short, which shows nothing (each stall: test_grid_monitor).
    void refreshFromTheMenu_data()
    {
        QTest::addColumn<bool>("exit");
        QTest::newRow("runs to its end") << false;
        QTest::newRow("exit while a download stalls") << true;
    }

    void refreshFromTheMenu()
    {
        QFETCH(bool, exit);
        MainWindow *window = loadWindow();
        const QStringList shown = shownTexts();
        m_sim->advance();
        m_sim->setFault(kOutlookPagePath, exit ? Fault{.stall = true} : Fault{.delay = 400ms});
        QStringList barAtEachState;
        connect(window->downloadChannel(), &DownloadChannel::stateChanged, this,
                [&] { barAtEachState << text(u"sbStatusBar"_qs); });
        QSignalSpy progress(window->downloadChannel(), &DownloadChannel::progressText);
        QSignalSpy finished(window, &MainWindow::refreshFinished);
        const int before = requests();
        auto *update = child<QAction>(u"mnuFileUpdate"_qs);

        update->trigger();
        QTRY_COMPARE(requests(kOutlookPagePath), 2);
        QVERIFY(window->isRefreshing() && !update->isEnabled() && !timerOn());
        QCOMPARE(barAtEachState.value(0), u"Updating..."_qs);
        if (exit) {
            m_prompt.yes = true;
            window->mnuFileExit_Click();
            QVERIFY(window->isUnloaded());
            QTRY_COMPARE(m_quits, 1);
            QVERIFY(progress.contains({u"Error #5: Operation canceled"_qs}));
            QCOMPARE(stored(u"AutoCheck"_qs), u"True"_qs); // saved though a refresh runs
            QCOMPARE(shownTexts(), shown);
            QCOMPARE(m_notices.size(), 1);
        } else {
            QVERIFY(finished.wait(5000));
            QVERIFY(progress.size() > 1); // the downloads' progress reached the bar
            QVERIFY(barAtEachState.contains(progress.first().at(0).toString()));
            QCOMPARE(text(u"sbStatusBar"_qs), QString());
            QVERIFY(update->isEnabled());
        }
        QVERIFY(!window->isRefreshing());
        QCOMPARE(finished.size(), 1);
        QCOMPARE(requests(), before + 1);
        QCOMPARE(timerOn(), !exit);
    }

    // Options chosen in the dialog after the first tick take effect at the
    // next one.
    void minuteTicks_data()
    {
        QTest::addColumn<QString>("action"); // after tick 1
        QTest::addColumn<QList<int>>("refreshTicks");
        QTest::addColumn<QString>("saved"); // AutoCheck CAISOGraph UpdateInterval
        QTest::newRow("Tools, interval 2")
            << u"mnuToolsOptions interval 2"_qs << QList<int>{1, 3, 5, 7} << u"True False 2"_qs;
        QTest::newRow("automatic checks off")
            << u"mnuToolsOptions auto"_qs << QList<int>{1} << u"False False 3"_qs;
        QTest::newRow("static graph")
            << u"mnuSysTrayOptions picture"_qs << QList<int>{1, 4, 7} << u"True True 3"_qs;
        QTest::newRow("session ends while open, interval 2 typed")
            << u"mnuToolsOptions session 2"_qs << QList<int>{1} << u"True False 3"_qs;
    }

    void minuteTicks()
    {
        QFETCH(QString, action);
        MainWindow *window = loadWindow();
        QList<int> refreshed;
        for (int tick = 1; tick <= 7; ++tick) {
            const int before = requests();
            QCoro::waitFor(window->tmrMinute_Timer());
            if (requests() > before)
                refreshed << tick;
            if (tick != 1)
                continue;
            const QString item = action.section(u' ', 0, 0);
            child<QAction>(item)->trigger();
            child<QAction>(item)->trigger(); // a second request shows the same dialog
            QCOMPARE(window->findChildren<OptionsDialog *>().size(), 1);
            auto *dialog = child<OptionsDialog>(u"frmOptions"_qs);
            QCOMPARE(dialog->windowModality(), Qt::WindowModal);
            dialog->updnUpdateInterval->selectAll();
            if (action.endsWith(u"auto"))
                dialog->chkAutoCheck->click();
            else if (action.endsWith(u"picture"))
                dialog->optCAISOGraph[1]->click();
            else
                QTest::keyClicks(dialog->updnUpdateInterval, action.right(1));
            if (action.contains(u"session"))
                QVERIFY(QCoro::waitFor(window->requestUnload(UnloadMode::SessionEnd)));
            else
                dialog->cmdOK->click();
            QTRY_VERIFY(!child<OptionsDialog>(u"frmOptions"_qs));
            // The graph kind applies as soon as the dialog has closed.
            QCOMPARE(child<QLabel>(u"imgGraph"_qs)->isVisibleTo(window),
                     window->settings().CAISOGraph);
        }
        QTEST(refreshed, "refreshTicks");
        QTEST(stored(u"AutoCheck CAISOGraph UpdateInterval"_qs), "saved");
    }

    void closeMinimiseAndExit_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("tray");
        QTest::addColumn<bool>("answerYes"); // to the question that Exit asks
        QTest::newRow("close box") << u"close box"_qs << true << true;
        QTest::newRow("close box, no notification area") << u"close box"_qs << false << true;
        QTest::newRow("minimise") << u"minimise"_qs << true << true;
        QTest::newRow("minimise, no notification area") << u"minimise"_qs << false << true;
        QTest::newRow("Close") << u"mnuFileClose"_qs << true << true;
        QTest::newRow("Exit, No") << u"mnuFileExit"_qs << true << false;
        QTest::newRow("Exit, Yes") << u"mnuFileExit"_qs << true << true;
        QTest::newRow("icon menu Exit, Yes") << u"mnuSysTrayExit"_qs << true << true;
        QTest::newRow("session end") << u"session end"_qs << true << false;
    }

    void closeMinimiseAndExit()
    {
        QFETCH(QString, action);
        QFETCH(bool, tray);
        QFETCH(bool, answerYes);
        const int questions = action.endsWith(u"Exit") ? 1 : 0;
        const bool unloads = action == u"session end" || (questions && answerYes);
        MainWindow *window = loadWindow(tray);
        // What the user changed while the program ran is what gets saved.
        window->settings().UpdateInterval = 7;
        window->settings().GraphValues = 9;
        window->settings().CAISOGraph = true; // the options dialog's to save
        m_prompt.yes = answerYes;

        if (action == u"close box")
            QVERIFY(!window->close());
        else if (action == u"minimise")
            window->showMinimized();
        else if (action == u"session end")
            window->requestUnload(UnloadMode::SessionEnd);
        else
            child<QAction>(action)->trigger();
        QCoreApplication::processEvents();

        // Closing and minimising hide the window in the notification area, or
        // without one leave it minimised on the taskbar.
        const bool hidden = unloads || (tray && questions == 0);
        QTRY_COMPARE(window->isVisible(), !hidden);
        if (!tray)
            QVERIFY(window->isMinimized());
        if (tray)
            QCOMPARE(m_tray->shown, !unloads);
        // Saved as it was before: a close is not remembered as minimising.
        const QString placement = GetSetting(m_reg->store, SettingKeys::MainWindowPlacement, {});
        if (action != u"minimise" && action != u"mnuFileClose")
            QVERIFY2(placement.endsWith(u",0"_qs), qPrintable(placement));
        QCOMPARE(m_prompt.asked, questions);
        QCOMPARE(window->isUnloaded(), unloads);
        QCOMPARE(m_quits, int(unloads));
        QCOMPARE(timerOn(), !unloads);
        QCOMPARE(stored(u"AutoCheck GraphValues UpdateInterval CAISOGraph"_qs),
                 unloads ? u"True 9 7 <missing>"_qs : QStringList(4, u"<missing>"_qs).join(u' '));

        const int before = requests();
        QCoro::waitFor(window->RefreshAll());
        if (unloads) { // an unloaded window takes no more requests
            QCOMPARE(requests(), before);
            QVERIFY(!QCoro::waitFor(window->requestUnload(UnloadMode::SessionEnd)));
            QCOMPARE(m_quits, 1);
        } else { // still alive: the refresh ran, and Details brings the window back
            QCOMPARE(requests(), before + 1);
            window->showDetails();
            QVERIFY(window->isVisible() && !window->isMinimized());
        }
    }

    void openExitQuestion_data()
    {
        QTest::addColumn<bool>("sessionEnds");
        QTest::addColumn<bool>("answerYes");
        for (const bool session : {false, true})
            for (const bool yes : {false, true})
                QTest::addRow("%s ends, then %s", session ? "the session" : "a refresh",
                              yes ? "Yes" : "No")
                    << session << yes;
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
            QCOMPARE(stored(u"UpdateInterval"_qs), u"3"_qs);
            store(u"UpdateInterval=5"_qs); // to see whether the answer saves again
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
        QCOMPARE(stored(u"UpdateInterval"_qs),
                 sessionEnds ? u"5"_qs : (answerYes ? u"3"_qs : u"<missing>"_qs));
        // The question is closed: the next Exit asks again, unless the window is gone.
        window->mnuFileExit_Click();
        QCOMPARE(m_prompt.asked, ends ? 1 : 2);
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
            store(u"ShowAtStartup=False"_qs);
        m_sim->setFault(kOutlookPagePath, Fault{.stall = true});
        MainWindow *window = makeWindow();
        QCoro::Task<> load = window->Form_Load();
        QTRY_COMPARE(requests(kOutlookPagePath), 1);
        if (hidden)
            window->showDetails();
        QVERIFY(child<QCheckBox>(u"chkDetails"_qs)->isChecked());
        // Nothing is known until the first refresh ends.
        QVERIFY(!load.isReady());
        QCOMPARE(condition(), u"Status Unknown"_qs);
        QCOMPARE(litLevelLabel(), -1);
        QCOMPARE(m_tray->toolTip, u"Status Unknown"_qs);
        QCOMPARE(text(u"lblCurrentCondition(0)"_qs), u"Not updated"_qs);

        QVERIFY(QCoro::waitFor(window->requestUnload(UnloadMode::SessionEnd)));

        QTRY_VERIFY(load.isReady());
        QVERIFY(window->isUnloaded() && !window->isVisible());
        QCOMPARE(m_quits, 1);
        QCOMPARE(m_prompt.asked, 0);
        QCOMPARE(requests(kForecastPagePath), 0);
    }

    // Hidden at start, the window builds its chart when first shown; the
    // Graph menu shows and hides series; the read-out goes to the status bar
    // and the crosshair.
    void graphMenuChartAndReadout()
    {
        store(u"GraphValues=0"_qs);
        store(u"ShowAtStartup=False"_qs);
        MainWindow *window = loadWindow();
        QVERIFY(!child<QChartView>(u"chtMain"_qs)); // not built while unseen
        const auto item = [this](int i) {
            return child<QAction>(u"mnuGraphSub(%1)"_qs.arg(i));
        };

        window->showDetails();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        auto *chart = child<QChartView>(u"chtMain"_qs);
        QVERIFY(chart && chart->isVisible());
        const GridSnapshot s = m_sim->snapshot();
        const auto shownSeries = [chart] {
            QStringList shown;
            for (QAbstractSeries *series : chart->chart()->series())
                if (series->isVisible() && !shown.contains(series->name()))
                    shown << series->name();
            return shown;
        };
        QCOMPARE(shownSeries(), QStringList());

        item(3)->trigger();
        QCOMPARE(shownSeries(), QStringList{u"Actual Demand"_qs});
        QVERIFY(item(3)->isChecked() && !item(1)->isChecked());
        QCOMPARE(stored(u"GraphValues"_qs), u"0"_qs); // saved when the window unloads
        QCoreApplication::processEvents();            // the chart lays out its new scale

        int hour = 1;
        while (hour < 24 && s.hours[std::size_t(hour)].actual)
            ++hour;
        const double actual = *s.hours[std::size_t(hour - 1)].actual;
        QCOMPARE(chart->chart()->title(), u"Current Load: "_qs +
                                              UsMegawatts(s.actualDemand).mid(1) +
                                              u"<br>Updated: "_qs + UsDate(s.measured));
        QList<qsizetype> pieces; // of the actual demand: the hours to come are a hole
        for (QAbstractSeries *series : chart->chart()->series())
            if (auto *line = qobject_cast<QLineSeries *>(series);
                line && line->name() == u"Actual Demand" && line->count())
                pieces << line->count();
        QCOMPARE(pieces, QList<qsizetype>{hour});
        const QPointF point = chart->chart()->mapToPosition(QPointF(hour, actual));
        QTest::mouseMove(chart->viewport(), chart->mapFromScene(chart->chart()->mapToScene(point)));
        QCOMPARE(text(u"sbStatusBar"_qs), ReadoutText(u"Actual Demand", actual, hour, kEnglishUs));
        // The crosshair's two lines (the chart's only direct line items) cross at the point.
        QList<QGraphicsLineItem *> lines;
        for (QGraphicsItem *child : chart->chart()->childItems())
            if (auto *line = qgraphicsitem_cast<QGraphicsLineItem *>(child))
                lines << line;
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines[0]->isVisible() && lines[1]->isVisible());
        QCOMPARE(qRound(lines[0]->line().x1()), qRound(point.x()));
        QCOMPARE(qRound(lines[1]->line().y1()), qRound(point.y()));
        // Off the plot, onto the header: both lines go, the bar empties.
        QTest::mouseMove(chart->viewport(), QPoint(chart->viewport()->width() / 2, 3));
        QCOMPARE(text(u"sbStatusBar"_qs), QString());
        QVERIFY(!lines[0]->isVisible() && !lines[1]->isVisible());
    }

    // What the screen shows, measured on painted pixels: the lit scale label, and the
    // traffic light; CTest runs these once more on X11 at twice the pixel density.
    void scaleLightsOnScreen_data()
    {
        QTest::addColumn<QColor>("base");
        QTest::addColumn<QColor>("text");
        QTest::newRow("light scheme") << QColor(Qt::white) << QColor(Qt::black);
        QTest::newRow("dark scheme") << QColor(35, 38, 41) << QColor(239, 240, 241);
    }

    void scaleLightsOnScreen()
    {
        QFETCH(QColor, base);
        QFETCH(QColor, text);
        const QPalette before = QApplication::palette();
        QPalette scheme = before;
        for (const QPalette::ColorRole role : {QPalette::Base, QPalette::Window})
            scheme.setColor(role, base);
        for (const QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText}) {
            scheme.setColor(role, text);
            // Schemes that grey out nothing: the scale must still tell lit from unlit.
            scheme.setColor(QPalette::Disabled, role, text);
        }
        QApplication::setPalette(scheme);
        m_sim->setScenario(ScenarioKind::Walk);
        MainWindow *window = loadWindow();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        auto *strip = child<QWidget>(u"picStatus"_qs);
        for (const int level : {0, 1}) {
            if (level > 0) {
                m_sim->advance();
                QCoro::waitFor(window->RefreshAll());
            }
            const QImage picture = Rendered(strip);
            if (level == 0) { // the traffic light drawn for the pixel density, not scaled up
                const QRect area =
                    ImageArea(picture, child<QLabel>(u"picStatusIcon"_qs)->geometry());
                QImage expected(area.size(), QImage::Format_ARGB32_Premultiplied);
                expected.fill(picture.pixelColor(area.topLeft()));
                QPainter(&expected).drawImage(0, 0, ConditionImage(2, area.width()));
                QImage shown = picture.copy(area).convertToFormat(expected.format());
                shown.setDevicePixelRatio(1);
                QCOMPARE(shown, expected);
            }
            const Rgb ground = PixelRgb(picture, 1, 1);
            QList<double> inks;
            for (int i = 0; i < 6; ++i) {
                const QRect area = child<QLabel>(u"lblStatus(%1)"_qs.arg(i))->geometry();
                inks << StrongestInk(picture, ImageArea(picture, area), ground);
            }
            for (int i = 0; i < 6; ++i) {
                if (i == level)
                    continue;
                QString inksText;
                QDebug(&inksText) << "level" << level << "inks" << inks;
                QVERIFY2(inks[level] > 1.5 * inks[i], qPrintable(inksText));
                QVERIFY2(inks[i] > 1.3, qPrintable(inksText)); // unlit, yet readable
            }
        }
        QApplication::setPalette(before);
    }

    // Each window the user meets at the desktop's font sizes (VOLTWISE_TEST_FONT_POINTS: one
    // size): every caption whole, none naming another system, and translated under the
    // Spanish translation; in English the same captions are found, so that the check is
    // not empty.
    void fitsAtDesktopFontSizes_data()
    {
        QTest::addColumn<qreal>("points");
        QTest::addColumn<QString>("window");
        const int only = qEnvironmentVariableIntValue("VOLTWISE_TEST_FONT_POINTS");
        for (const int points : {9, 10, 11, 12})
            for (const char *window : {"main", "options", "update", "about", "exit", "notice"})
                if (!only || points == only)
                    QTest::addRow("%d pt %s", points, window)
                        << qreal(points) << QString::fromLatin1(window);
    }

    void fitsAtDesktopFontSizes()
    {
        QFETCH(qreal, points);
        QFETCH(QString, window);
        const QFont before = QApplication::font();
        const auto restoreFont = qScopeGuard([before] { QApplication::setFont(before); });
        QFont desktop = before;
        desktop.setPointSizeF(points);
        QApplication::setFont(desktop);
        m_sim->setScenario(ScenarioKind::Walk);
        for (int i = 0; i < 6; ++i)
            m_sim->advance(); // load interruptions: every label has something to show
        MainWindow *main = loadWindow();
        QVERIFY(QTest::qWaitForWindowExposed(main));
        AppSettings settings;
        XdgAutostartEntry entry(m_reg->dir.filePath(u"autostart"_qs), u"/usr/bin/voltwise"_qs);
        MessageBoxExitPrompt prompt;
        std::unique_ptr<QWidget> owned;
        QPointer<QWidget> root = main;
        if (window == u"options") {
            owned = std::make_unique<OptionsDialog>(settings, m_reg->store, &entry);
        } else if (window == u"update") {
            owned = std::make_unique<SoftwareUpdateDialog>(
                UpdateOffer{u"Voltwise 9"_qs, u"9"_qs, {}, u"9"_qs, {}});
        } else if (window == u"about") {
            child<QAction>(u"mnuHelpAbout"_qs)->trigger();
            root = child<QMessageBox>(u"msgAbout"_qs);
        } else if (window == u"exit") {
            m_exitAsked = prompt.confirmExit(main);
            root = child<QMessageBox>(u"msgExitQuestion"_qs);
        } else if (window == u"notice") {
            QVERIFY(!m_notices.isEmpty());
            root = m_notices.first();
        }
        if (owned)
            root = owned.get();
        QVERIFY(root);
        root->show();
        QVERIFY(QTest::qWaitForWindowExposed(root));

        // This program runs on Linux desktops: no caption may promise another system.
        for (const auto &[owner, text] : AccessibleTexts(root))
            QVERIFY2(!text.contains(u"Windows"_qs), qPrintable(owner + u": "_qs + text));
        const QStringList english = untranslated(root);
        QVERIFY2(m_spanish == english.isEmpty(), qPrintable(english.join(u'\n')));
        for (int tab = 0; tab < (root == main ? 4 : 1); ++tab) {
            child<QTabBar>(u"tabMain"_qs)->setCurrentIndex(tab);
            const QStringList cut = CutCaptions(root);
            QVERIFY2(cut.isEmpty(), qPrintable(cut.join(u'\n')));
        }
        if (auto *box = qobject_cast<QMessageBox *>(root.data()))
            box->reject();
        if (root != main)
            return;
        QMenuBar *menus = main->menuBar();
        for (QAction *menu : menus->actions()) {
            const QRect item = menus->actionGeometry(menu);
            QVERIFY2(!item.isEmpty() && main->rect().contains(
                                            QRect(menus->mapTo(main, item.topLeft()), item.size())),
                     qPrintable(menu->text()));
        }
        // The status bar's read-out shrinks its font to fit.
        auto *readout = child<FittingLabel>(u"sbStatusBar"_qs);
        readout->setText(ReadoutText(u"Hour-Ahead Demand Forecast", 43133, 15, kEnglishUs));
        QVERIFY(QFontMetrics(readout->fittedFont()).horizontalAdvance(readout->text()) <=
                readout->contentsRect().width());
    }

    // Other programs read the condition in English, the user sees it in Spanish.
    void publishedItemsStayEnglish_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("published");
        QTest::addColumn<QString>("shown");
        QTest::newRow("unknown") << 0 << u"Status Unknown"_qs << u"Estado desconocido"_qs;
        QTest::newRow("normal") << 1 << u"System Normal"_qs << u"Sistema normal"_qs;
        QTest::newRow("stage 1") << 4 << u"Stage 1 Emergency"_qs << u"Emergencia de etapa 1"_qs;
        QTest::newRow("interruptions")
            << 7 << u"Emergency Load Reductions"_qs << u"Apagones rotativos"_qs;
    }

    void publishedItemsStayEnglish()
    {
        if (!m_spanish)
            QSKIP("CTest runs this under the Spanish translation");
        QFETCH(int, level);
        GridStatus status;
        status.Level = level;
        status.ActualDemand = 31456;
        const StatusPresentation p = PresentStatus(status, QLocale::system());
        QTEST(p.publishedItems(PublishedItems::initial()).SystemCondition, "published");
        QTEST(*p.lblStatusText, "shown");
        QVERIFY2(p.trayTip->endsWith(u": 31,456 MW"_qs), qPrintable(*p.trayTip));
        QCOMPARE(PublishedItems::initial(),
                 (PublishedItems{u"Not Updated"_qs, u"Unknown"_qs, u"0"_qs}));
    }

    // The links and the About box, each from the menu bar and from the icon's menu.
    void bothMenusAgree()
    {
        loadWindow(); // the grid operator and the maker at the simulator, the utilities by default
        const QStringList targets =
            u"%1|%1/outlook/SystemStatus.html||%1||https://www.pge.com|https://www.pge.com/myhome/"
            "customerservice/energystatus/gridstatus/|https://www.sce.com|https://www.sce.com/"
            "PowerOutageCenter/Rotating/default.htm|https://www.sdge.com|https://www.sdge.com/reo/|"
            "%1/Voltwise_Help.html"_qs.arg(m_sim->baseUrl().toString())
                .split(u'|');
        for (int i = 0; i < targets.size(); ++i) {
            m_browser.opened.clear();
            const bool help = i == targets.size() - 1;
            child<QAction>(help ? u"mnuHelpTopics"_qs : u"mnuToolsSub(%1)"_qs.arg(i))->trigger();
            child<QAction>(help ? u"mnuSysTrayHelp"_qs : u"mnuSysTraySub(%1)"_qs.arg(i))->trigger();
            QCOMPARE(m_browser.opened,
                     targets[i].isEmpty() ? QStringList() : QStringList(2, targets[i]));
        }
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

    // The View marks and the shown panel follow View items and tab clicks
    // (negative); the Graph menu's series items work only while the chart is in
    // use; Always on Top chosen twice restores flag, mark and window.
    void viewMenu()
    {
        store(u"AlwaysOnTop=True"_qs);
        MainWindow *window = loadWindow();
        const QStringList panels{u"picGraph"_qs, u"picConditions"_qs, u"rtbNotices"_qs,
                                 u"rtbForecasts"_qs};
        const auto item = [this](const QString &menu, int i) {
            return child<QAction>(menu + u"Sub(%1)"_qs.arg(i));
        };
        for (const bool picture : {true, false}) {
            window->settings().CAISOGraph = picture;
            for (const int step : {2, 1, 1, -3, 0, -1}) {
                const int index = std::abs(step);
                if (step < 0)
                    child<QTabBar>(u"tabMain"_qs)->setCurrentIndex(index);
                else
                    item(u"mnuView"_qs, index)->trigger();
                QCOMPARE(child<QStackedWidget>(u"tabPanels"_qs)->currentWidget()->objectName(),
                         panels[index]);
                for (int i = 0; i < 4; ++i) {
                    QCOMPARE(item(u"mnuView"_qs, i)->isChecked(), i == index);
                    QCOMPARE(item(u"mnuGraph"_qs, i + 1)->isEnabled(), !picture);
                }
            }
        }
        auto *onTop = child<QAction>(u"mnuViewAlwaysOnTop"_qs);
        for (const bool on : {true, false, true}) {
            QCOMPARE(window->settings().AlwaysOnTop, on);
            QCOMPARE(onTop->isChecked(), on);
            QCOMPARE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint), on);
            QVERIFY(window->isVisible());
            onTop->trigger();
        }
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
