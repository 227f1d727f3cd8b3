// The program in Spanish: every caption a screen reader reaches is the
// translation file's Spanish, none is cut, and what other programs read stays
// English.
#include "platform/recording_browser_opener.h"
#include "platform/recording_sound_player.h"
#include "platform/recording_tray_icon.h"
#include "platform/startup_entry.h"
#include "platform/translations.h"
#include "settings/settings_test_support.h"
#include "status/status_presentation.h"
#include "support/accessible_texts.h"
#include "support/sim_fixture.h"
#include "ui/gui/exit_prompt.h"
#include "ui/gui/main_window.h"
#include "ui/gui/options_dialog.h"
#include "ui/gui/software_update_dialog.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTabBar>
#include <QTest>
#include <QXmlStreamReader>

#include <algorithm>

using namespace voltwise;
using namespace voltwise::gridsim;
using namespace std::chrono_literals;

namespace {

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

bool MatchesAny(const QList<QRegularExpression> &patterns, const QString &text)
{
    return std::any_of(patterns.begin(), patterns.end(),
                       [&text](const auto &p) { return p.match(text).hasMatch(); });
}

// The file's English texts whose Spanish differs, and those Spanish texts.
struct TsMessages
{
    int messages = 0;
    QList<QRegularExpression> english;
    QList<QRegularExpression> spanish;
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
            ts.spanish << TextPattern(translation);
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

class TestSpanishWindow : public QObject
{
    Q_OBJECT

private:
    TempRegistry m_reg;
    std::unique_ptr<GridSim> m_sim;
    RecordingSoundPlayer m_sound;
    RecordingBrowserOpener m_browser;
    MessageBoxExitPrompt m_prompt;
    QCoro::Task<bool> m_exitAsked;
    std::unique_ptr<MainWindow> m_window;
    QList<QPointer<QWidget>> m_notices;
    TsMessages m_ts;

    // Texts a screen reader reaches below `root` that the translation file
    // has in Spanish; counts those it finds in Spanish in `spanish`.
    QStringList englishLeft(QWidget *root, int &spanish) const
    {
        QList<QPair<QString, QString>> texts = AccessibleTexts(root);
        for (QMenu *menu : root->findChildren<QMenu *>())
            texts += AccessibleTexts(menu);
        QStringList left;
        for (const auto &[owner, text] : std::as_const(texts)) {
            if (MatchesAny(m_ts.english, text))
                left << owner + u": "_qs + text;
            else if (MatchesAny(m_ts.spanish, text))
                ++spanish;
        }
        return left;
    }

private Q_SLOTS:
    void initTestCase()
    {
        // The test runs under LC_ALL=es_US.UTF-8, as a user would.
        QCOMPARE(QLocale::system().name(), u"es_US"_qs);
        QVERIFY(InstallTranslations(QLocale::system()));
        // CTest runs this at the offscreen default font and at a desktop's larger one.
        if (const int points = qEnvironmentVariableIntValue("VOLTWISE_TEST_FONT_POINTS")) {
            QFont font = QApplication::font();
            font.setPointSize(points);
            QApplication::setFont(font);
        }
        m_ts = ReadTranslationFile(QStringLiteral(VOLTWISE_TS_FILE));
        QVERIFY(m_ts.messages > 100);
        QVERIFY(m_ts.english.size() > m_ts.messages / 2);

        QVERIFY(m_reg.dir.isValid());
        m_sim = testing::StartSim();
        QVERIFY(m_sim);
        m_sim->setScenario(ScenarioKind::Walk);
        for (int i = 0; i < 6; ++i)
            m_sim->advance(); // load interruptions: every label has something to show

        MainWindowServices services;
        services.store = &m_reg.store;
        const QUrl sim = m_sim->baseUrl();
        services.servers = {sim, sim, sim, sim, FeedSource::Classic};
        services.clock = [this] {
            return m_sim->snapshot().produced;
        };
        services.locale = QLocale::system();
        services.exitPrompt = &m_prompt;
        services.sound = &m_sound;
        services.browser = &m_browser;
        services.makeTray = [](QMenu *, QObject *parent) -> TrayIcon * {
            return new RecordingTrayIcon(parent);
        };
        services.publishOnBus = false;
        services.trayWait = 0ms;
        services.quit = [] {
        };
        m_window = std::make_unique<MainWindow>(services);
        connect(m_window.get(), &MainWindow::noticeRaised, this,
                [this](QWidget *notice) { m_notices << notice; });
        QCoro::waitFor(m_window->Form_Load());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanupTestCase()
    {
        for (const QPointer<QWidget> &notice : std::as_const(m_notices))
            delete notice.data();
        m_window.reset();
        m_sim.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Each window as the user meets it, every tab of the main window shown.
    void everyCaptionSpanishAndWhole_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("tab");
        for (int tab = 0; tab < 4; ++tab)
            QTest::addRow("main window, tab %d", tab) << u"main"_qs << tab;
        for (const char *window : {"options", "update", "about", "exit", "notice"})
            QTest::newRow(window) << QString::fromLatin1(window) << 0;
    }

    void everyCaptionSpanishAndWhole()
    {
        QFETCH(QString, window);
        QFETCH(int, tab);
        AppSettings settings;
        XdgAutostartEntry entry(m_reg.dir.filePath(u"autostart"_qs), u"/usr/bin/voltwise"_qs);
        std::unique_ptr<QWidget> owned;
        QPointer<QWidget> root;
        if (window == u"main") {
            m_window->findChild<QTabBar *>(u"tabMain"_qs)->setCurrentIndex(tab);
            root = m_window.get();
        } else if (window == u"options") {
            owned = std::make_unique<OptionsDialog>(settings, m_reg.store, &entry);
            root = owned.get();
        } else if (window == u"update") {
            owned = std::make_unique<SoftwareUpdateDialog>(
                UpdateOffer{u"Voltwise 9"_qs, u"9"_qs, {}, u"9"_qs, {}});
            root = owned.get();
        } else if (window == u"about") {
            m_window->findChild<QAction *>(u"mnuHelpAbout"_qs)->trigger();
            root = m_window->findChild<QMessageBox *>(u"msgAbout"_qs);
        } else if (window == u"exit") {
            m_exitAsked = m_prompt.confirmExit(m_window.get());
            root = m_window->findChild<QMessageBox *>(u"msgExitQuestion"_qs);
        } else {
            QVERIFY(!m_notices.isEmpty() && m_notices.first());
            root = m_notices.first();
        }
        QVERIFY(root);
        root->show();
        QVERIFY(QTest::qWaitForWindowExposed(root));

        int spanish = 0;
        const QStringList english = englishLeft(root, spanish);
        QVERIFY2(english.isEmpty(), qPrintable(english.join(u'\n')));
        QVERIFY(spanish > 0);
        const QStringList cut = CutCaptions(root);
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(u'\n')));
        if (auto *box = qobject_cast<QMessageBox *>(root.data()))
            box->reject();
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
        QFETCH(int, level);
        QFETCH(QString, published);
        QFETCH(QString, shown);
        GridStatus status;
        status.Level = level;
        status.ActualDemand = 31456;
        const StatusPresentation p = PresentStatus(status, QLocale::system());
        QCOMPARE(p.publishedItems(PublishedItems::initial()).SystemCondition, published);
        QCOMPARE(*p.lblStatusText, shown);
        QVERIFY2(p.trayTip->endsWith(u": 31,456 MW"_qs), qPrintable(*p.trayTip));
        QCOMPARE(PublishedItems::initial(),
                 (PublishedItems{u"Not Updated"_qs, u"Unknown"_qs, u"0"_qs}));
    }
};

QTEST_MAIN(TestSpanishWindow)
#include "test_spanish_window.moc"
