// Versions, the update check's decisions, GetURLText, the dialog and the checks.
#include "platform/recording_browser_opener.h"
#include "settings/registry_operations.h"
#include "settings/settings_test_support.h"
#include "support/manual_timers.h"
#include "support/sim_fixture.h"
#include "ui/gui/software_update_dialog.h"
#include "ui/gui/update_checker.h"
#include "update/scripted_update_prompt.h"
#include "update/url_text.h"
#include "update/version.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace voltwise;
using namespace voltwise::gridsim;
using namespace voltwise::testing;

namespace {

const QString kRunning = u"2.0.10"_qs;
const QString kDescriptorUrl = u"http://x.example/voltwise/voltwise.inf"_qs;
const QString kChangeLogUrl = u"http://x.example/notes.txt"_qs;
const QString kDownload = u"https://www.ternwood.example/voltwise-setup"_qs;
const QString kSetup = u"https://x.example/Voltwise Setup.exe"_qs;
const QString kNotes = u"- Faster refreshes\r\n- Fewer surprises"_qs;
const QString kHang = u"<never ends>"_qs;

QString Descriptor(const QString &release, const QString &end = u"\r\n"_qs + kChangeLogUrl)
{
    return release + u"\r\n2026-12-06\r\n"_qs + kDownload + end;
}

// Answers each URL with its text, any other with nothing, and `hang` never
// until aborted; remembers what was asked.
class FakeUrlTexts final : public UrlTextSource
{
public:
    QCoro::Task<QString> GetURLText(QString url) override
    {
        asked << url;
        if (url == hang) {
            const auto aborted = stuck = std::make_shared<Completion<bool>>();
            co_await *aborted;
            co_return QString();
        }
        co_return texts.value(url);
    }
    void abort() override
    {
        if (stuck)
            stuck->set(true);
    }

    QHash<QString, QString> texts;
    QStringList asked;
    QString hang;
    std::shared_ptr<Completion<bool>> stuck;
};

const UpdateOffer kOffer{u"A new version of Voltwise is available!"_qs,
                         u"Voltwise 2.1 is now available - you have 2.0.10."_qs,
                         QString(u"A long line of notes\n"_qs).repeated(60), u"2.1"_qs,
                         u"https://www.ternwood.example/get"_qs};

} // namespace

class TestSoftwareUpdate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void urlText_data()
    {
        QTest::addColumn<QString>("url"); // SIM: the simulator's base address
        QTest::addColumn<bool>("answered");
        QTest::addColumn<int>("requests");
        const QString path = kUpdateDescriptorFilePath.toString();
        QTest::newRow("200") << u"SIM"_qs + path << true << 1;
        QTest::newRow("404 with a body") << u"SIM/none.inf"_qs << false << 1;
        QTest::newRow("blank") << u"   "_qs << false << 0;
        QTest::newRow("ftp") << u"ftp://127.0.0.1"_qs + path << false << 0;
    }

    void urlText()
    {
        QFETCH(QString, url);
        QFETCH(bool, answered);
        const auto sim = StartSim();
        QVERIFY(sim);
        HttpUrlTextSource urls;

        const QString text =
            QCoro::waitFor(urls.GetURLText(url.replace(u"SIM"_qs, sim->baseUrl().toString())));

        const QStringView path = kUpdateDescriptorFilePath;
        QCOMPARE(text, answered ? QString::fromUtf8(sim->resource(path)->body) : QString());
        QTEST(sim->requestCount(path) + sim->requestCount(u"/none.inf"), "requests");
    }

    // Ten seconds of silence, or the source going, end the read with nothing.
    void urlTextSilence()
    {
        const auto sim = StartSim();
        QVERIFY(sim);
        sim->setFault(kUpdateDescriptorFilePath, *ParseFault(u"stall"));
        for (const bool destroy : {false, true}) {
            ManualTimers timers;
            auto urls = std::make_unique<HttpUrlTextSource>(timers);
            auto text = urls->GetURLText(sim->url(kUpdateDescriptorFilePath).toString());
            // Silence and overall limits set, half of the answer in: then silence.
            QTRY_VERIFY(timers.starts() >= 3);
            timers.advance(HttpUrlTextSource::kTimeout - 1ms);
            QVERIFY(!text.isReady());
            if (destroy)
                urls.reset();
            else
                timers.advance(1ms);
            QVERIFY(text.isReady());
            QCOMPARE(QCoro::waitFor(std::move(text)), QString());
            QCOMPARE(timers.alive(), 0);
        }
    }
    void answers_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("choice");
        QTest::newRow("Download Update") << u"cmdOK"_qs << int(UpdateChoice::DownloadUpdate);
        QTest::newRow("Remind Me Later") << u"cmdCancel"_qs << int(UpdateChoice::RemindMeLater);
        QTest::newRow("Skip This Version")
            << u"cmdSkipThisVersion"_qs << int(UpdateChoice::SkipThisVersion);
        QTest::newRow("Enter") << u"enter"_qs << int(UpdateChoice::DownloadUpdate);
        QTest::newRow("close box") << u"close"_qs << int(UpdateChoice::RemindMeLater);
    }

    // The dialog's face: a fixed size without minimise or maximise, read-only notes, the
    // answers in one row with their captions whole, the tab order; then each way to answer.
    void answers()
    {
        QFETCH(QString, action);
        QMainWindow owner;
        owner.show();
        auto *dialog = new SoftwareUpdateDialog(kOffer, &owner);
        auto answer = dialog->ask();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QCOMPARE(dialog->windowModality(), Qt::WindowModal);
        QCOMPARE(QApplication::focusWidget(), dialog->cmdSkipThisVersion);
        QCOMPARE(dialog->txtReleaseNotes->toPlainText(), kOffer.releaseNotes);
        QCOMPARE(dialog->windowTitle(), u"Software Update"_qs);
        QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
        QVERIFY(!(dialog->windowFlags() &
                  (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QVERIFY(dialog->txtReleaseNotes->isReadOnly());
        QVERIFY(dialog->lblTitle->font().bold() && !dialog->lblMessage->font().bold());
        QCOMPARE(dialog->lblTitle->text() + dialog->lblMessage->text(),
                 kOffer.title + kOffer.message);
        int right = 0;
        QWidget *focus = dialog->cmdSkipThisVersion;
        for (const auto &[button, caption] :
             {std::pair(dialog->cmdSkipThisVersion, u"Skip This Version"_qs),
              {dialog->cmdCancel, u"Remind Me Later"_qs},
              {dialog->cmdOK, u"Download Update"_qs}}) {
            QCOMPARE(button->text(), caption);
            QVERIFY(button->sizeHint().width() <= button->width());
            QVERIFY(button->x() > right && button->geometry().bottom() < dialog->height());
            QVERIFY(button->y() > dialog->txtReleaseNotes->geometry().bottom());
            right = button->geometry().right();
        }
        QVERIFY(right < dialog->width());
        for (QWidget *next : std::initializer_list<QWidget *>{dialog->cmdCancel, dialog->cmdOK,
                                                              dialog->txtReleaseNotes,
                                                              dialog->cmdSkipThisVersion}) {
            do
                focus = focus->nextInFocusChain();
            while (!(focus->focusPolicy() & Qt::TabFocus));
            QCOMPARE(focus, next);
        }

        QTest::keyClick(dialog, Qt::Key_Escape);
        QVERIFY(dialog->isVisible() && !answer.isReady());

        if (action == u"enter")
            QTest::keyClick(dialog->txtReleaseNotes, Qt::Key_Return);
        else if (action == u"close")
            dialog->close();
        else
            QTest::mouseClick(dialog->findChild<QPushButton *>(action), Qt::LeftButton);

        QVERIFY(answer.isReady() && !dialog->isVisible());
        QTEST(int(QCoro::waitFor(std::move(answer))), "choice");
        delete dialog;
    }

    // Through the window's checker: the menu item off while a check runs, one check at a time,
    // "up to date" said only when asked; the program's end, while the descriptor is read or the
    // dialog is open, stops the check where it is.
    void checker_data()
    {
        QTest::addColumn<QString>("release");
        QTest::addColumn<bool>("menu");
        QTest::addColumn<QString>("end"); // the descriptor's fault when the program ends
        QTest::addColumn<int>("offers");
        QTest::addColumn<int>("messages");
        const QString none;
        QTest::newRow("start-up, up to date") << VersionString() << false << none << 0 << 0;
        QTest::newRow("menu, up to date") << VersionString() << true << none << 0 << 1;
        QTest::newRow("start-up, newer") << u"9.0"_qs << false << none << 1 << 0;
        QTest::newRow("ended while reading the descriptor") << u"9.0"_qs << false << u"stall"_qs;
        QTest::newRow("ended while the dialog is open") << u"9.0"_qs << false << u"none"_qs;
    }

    void checker()
    {
        QFETCH(QString, release);
        QFETCH(bool, menu);
        QFETCH(QString, end);
        const auto sim = StartSim();
        QVERIFY(sim && sim->setReleaseVersion(release));
        if (!end.isEmpty())
            sim->setFault(kUpdateDescriptorFilePath, *ParseFault(end));
        TempRegistry registry;
        ScriptedUpdatePrompt prompt;
        prompt.hold = true;
        RecordingBrowserOpener browser;
        auto window = std::make_unique<QMainWindow>();
        window->show();
        QAction item;
        item.setEnabled(false);
        auto *checker = new UpdateChecker({.store = &registry.store,
                                           .browser = &browser,
                                           .maker = sim->baseUrl(),
                                           .prompt = end.isEmpty() ? &prompt : nullptr},
                                          window.get(), &item);
        QVERIFY(item.isEnabled());

        if (menu)
            item.trigger();
        auto startup = checker->run(UpdateChecker::Trigger::Startup);
        if (menu)
            QVERIFY(startup.isReady()); // one check at a time
        QVERIFY(!item.isEnabled());
        if (!end.isEmpty()) {
            QTRY_VERIFY(sim->requestCount(kUpdateDescriptorFilePath) == 1 &&
                        (end == u"stall" || window->findChild<SoftwareUpdateDialog *>()));
            window.reset(); // takes the checker along
            QVERIFY(startup.isReady());
            QCOMPARE(QCoro::waitFor(std::move(startup)), false);
            QVERIFY(!item.isEnabled() && browser.opened.isEmpty());
            return;
        }
        QTRY_VERIFY(!checker->isRunning() || !prompt.offers.isEmpty());
        prompt.dismiss();

        QTRY_VERIFY(!checker->isRunning());
        QVERIFY(item.isEnabled());
        QTEST(int(prompt.offers.size()), "offers");
        QTEST(int(prompt.messages.size()), "messages");
        QCOMPARE(sim->requestCount(kUpdateDescriptorFilePath), 1);
    }

    void isNewerVersion_data()
    {
        QTest::addColumn<QString>("candidate");
        QTest::addColumn<QString>("reference");
        QTest::addColumn<bool>("finalOnly");
        QTest::addColumn<std::optional<bool>>("expected"); // empty: cannot be read

        const std::optional<bool> yes = true, no = false, unreadable;
        // Ascending; a stage before the revision outranks the build number (2.0b12 < 2.0f10).
        const QStringList ascending = {u"1.9.99"_qs,  u"2.0d9"_qs,   u"2.0a1"_qs,   u"2.0a7"_qs,
                                       u"2.0b3"_qs,   u"2.0b12"_qs,  u"2.0f10"_qs,  u"2.0.10d"_qs,
                                       u"2.0.10a"_qs, u"2.0.10b"_qs, u"2.0.10f"_qs, u"2.0.10"_qs,
                                       u"2.0.11a"_qs, u"2.0.11"_qs,  u"2.1d0"_qs,   u"3.0"_qs};
        for (qsizetype i = 0; i < ascending.size(); ++i) {
            for (qsizetype j = i + 1; j < ascending.size(); ++j) {
                const QByteArray older = ascending[i].toLatin1(), newer = ascending[j].toLatin1();
                QTest::addRow("%s > %s", newer.data(), older.data())
                    << ascending[j] << ascending[i] << false << yes;
                QTest::addRow("%s < %s", older.data(), newer.data())
                    << ascending[i] << ascending[j] << false << no;
            }
        }
        QTest::newRow("identical") << u"2.0.10"_qs << u"2.0.10"_qs << false << no;
        QTest::newRow("final only, lettered candidate") << u"3.0b1"_qs << u"2.0"_qs << true << no;

        QTest::newRow("starts with a letter") << u"V2.1"_qs << u"2.0"_qs << false << unreadable;
        QTest::newRow("very long revision")
            << u"2.0."_qs + QString(100000, u'9') << u"2.0"_qs << false << unreadable;
    }

    void isNewerVersion()
    {
        QFETCH(QString, candidate);
        QFETCH(QString, reference);
        QFETCH(bool, finalOnly);
        QTEST(IsNewerVersion(candidate, reference, finalOnly), "expected");
    }

    // Each descriptor that reads gives release 2.1, a date and the download
    // address as written, a blank in its path included.
    void descriptor_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<bool>("read");
        QTest::addColumn<QString>("changeLog"); // "-": no line 4
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        const QLocale german(QLocale::German, QLocale::Germany);
        const auto row = [](const char *title, const QString &text, const QLocale &locale,
                            bool read, const char *changeLog = "-") {
            QTest::newRow(title) << QString(text).replace(u"<d>"_qs, kSetup) << locale << read
                                 << QString::fromLatin1(changeLog);
        };
        row("four lines", u"2.1\r\n2026-12-06\r\n<d>\r\nhttp://x/c"_qs, us, true, "http://x/c");
        row("blanks trimmed, change log as written",
            u"  2.1  \r\n 2026-12-06 \r\n <d> \r\n http://x/c "_qs, us, true, " http://x/c ");
        row("user's long date",
            u"2.1\r\n"_qs + german.toString(QDate(2026, 12, 6), QLocale::LongFormat) +
                u"\r\n<d>"_qs,
            german, true);
        row("LF only: one line", u"2.1\n2026-12-06\n<d>"_qs, us, false);
        row("download by ftp", u"2.1\r\n2026-12-06\r\nftp://x/d"_qs, us, false);
    }

    void descriptor()
    {
        QFETCH(QString, text);
        QFETCH(QLocale, locale);
        QFETCH(bool, read);
        const auto descriptor = ParseUpdateDescriptor(text, locale);
        QCOMPARE(descriptor.has_value(), read);
        if (!read)
            return;
        QCOMPARE(descriptor->ReleaseVersion, u"2.1"_qs);
        QVERIFY(descriptor->ReleaseDate.isValid());
        QCOMPARE(descriptor->DownloadURL, kSetup);
        QTEST(descriptor->ChangeLogURL.value_or(u"-"_qs), "changeLog");
    }

    void outcomes_data()
    {
        QTest::addColumn<QString>("descriptor"); // empty: none served
        QTest::addColumn<QString>("changeLog");
        QTest::addColumn<QString>("skip");
        QTest::addColumn<bool>("finalOnly");
        QTest::addColumn<int>("choice");
        QTest::addColumn<QString>("offered"); // the release offered, or empty
        QTest::addColumn<QString>("notes");
        QTest::addColumn<QString>("caption"); // the message box, or empty
        QTest::addColumn<QString>("skipAfter");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("opened"); // handed to the desktop

        const int download = int(UpdateChoice::DownloadUpdate);
        const int later = int(UpdateChoice::RemindMeLater);
        const int skip = int(UpdateChoice::SkipThisVersion);
        const QString upToDate = u"You're up to date!"_qs;
        const QString pre = u"You're running a pre-relase version!"_qs;
        const QString none;
        // clang-format off
        QTest::newRow("newer, download") << Descriptor(u"2.1"_qs) << kNotes << none << false << download << u"2.1"_qs << kNotes << none << none << true << kDownload;
        QTest::newRow("newer, skip this version") << Descriptor(u" 2.1 "_qs) << kNotes << none << false << skip << u"2.1"_qs << kNotes << none << u"2.1"_qs << false << none;
        QTest::newRow("same version, menu") << Descriptor(kRunning) << kNotes << none << false << download << none << none << upToDate << none << false << none;
        QTest::newRow("skip equals release") << Descriptor(u"2.1"_qs) << kNotes << u"2.1"_qs << false << download << none << none << upToDate << u"2.1"_qs << false << none;
        QTest::newRow("overtaken skip forgotten") << Descriptor(u"2.1"_qs) << kNotes << u"2.0.9"_qs << false << later << u"2.1"_qs << kNotes << none << none << false << none;
        QTest::newRow("release older") << Descriptor(u"2.0.9"_qs) << kNotes << none << false << download << none << none << pre << none << false << none;
        QTest::newRow("lettered release, final only") << Descriptor(u"2.1b1"_qs) << kNotes << none << true << download << none << none << upToDate << none << false << none;
        QTest::newRow("change log not found") << Descriptor(u"2.1"_qs) << u"Page Not Found"_qs << none << false << later << u"2.1"_qs << none << none << none << false << none;
        // A server that drips too fast ever to fall silent: still ends in its half minute.
        QTest::newRow("descriptor never ends") << kHang << kNotes << none << false << download << none << none << none << none << false << none;
        QTest::newRow("change log never ends") << Descriptor(u"2.1"_qs) << kHang << none << false << download << none << none << none << none << false << none;
        QTest::newRow("no descriptor") << none << kNotes << none << false << download << none << none << none << none << false << none;
        QTest::newRow("403 in a URL") << Descriptor(u"2.1"_qs, u"\r\nhttp://x/403"_qs) << kNotes << none << false << download << none << none << none << none << false << none;
        QTest::newRow("unreadable skip kept") << Descriptor(u"2.1"_qs) << kNotes << u"x"_qs << false << download << none << none << none << u"x"_qs << false << none;
        // A desktop that opens nothing: one message names the host.
        QTest::newRow("download not opened") << Descriptor(u"2.1"_qs) << kNotes << none << false << download << u"2.1"_qs << kNotes << u"Software Update"_qs << none << false << kDownload;
        const QString longUrl = u"https://www.ternwood.example/"_qs + QString(200000, u'x');
        QTest::newRow("a 200 KB address not opened") << u"2.1\r\n2026-12-06\r\n"_qs + longUrl + u"\r\n"_qs + kChangeLogUrl << kNotes << none << false << download << u"2.1"_qs << kNotes << u"Software Update"_qs << none << false << longUrl;
        // clang-format on
    }

    void outcomes()
    {
        QFETCH(QString, descriptor);
        QFETCH(QString, changeLog);
        QFETCH(QString, skip);
        QFETCH(bool, finalOnly);
        QFETCH(int, choice);
        QFETCH(QString, offered);
        QFETCH(QString, caption);

        FakeUrlTexts urls;
        const QString descriptorUrl = kDescriptorUrl + u"?Version=2.0.10"_qs;
        if (!descriptor.isEmpty())
            urls.texts[descriptorUrl] = descriptor;
        urls.texts[kChangeLogUrl] = changeLog;
        urls.hang = descriptor == kHang  ? descriptorUrl
                    : changeLog == kHang ? kChangeLogUrl
                                         : u""_qs;
        TempRegistry registry;
        if (!skip.isEmpty())
            QVERIFY(SaveSetting(registry.store, {}, u"Settings"_qs, u"SkipVersion"_qs, skip));
        ScriptedUpdatePrompt prompt;
        prompt.choice = UpdateChoice(choice);
        RecordingBrowserOpener browser;
        browser.accepts = caption != u"Software Update"; // the message that it did not open
        ManualTimers timers;
        UpdateCheckContext context{
            .urls = &urls, .store = &registry.store, .currentVersion = kRunning, .timers = &timers};

        auto check =
            SoftwareUpdate(context, prompt, browser, kDescriptorUrl, finalOnly, true, true);
        timers.advance(30s - 1ms);
        QCOMPARE(check.isReady(), urls.hang.isEmpty());
        timers.advance(1ms);
        QVERIFY(check.isReady());

        QTEST(QCoro::waitFor(std::move(check)), "result");
        QCOMPARE(timers.alive(), 0);
        QCOMPARE(urls.asked.value(0), descriptorUrl);
        QCOMPARE(urls.asked.size(), offered.isEmpty() && changeLog != kHang ? 1 : 2);
        QVERIFY(prompt.offers.size() <= 1 && prompt.messages.size() <= 1);
        QCOMPARE(prompt.offers.value(0).releaseVersion, offered);
        QTEST(prompt.offers.value(0).releaseNotes, "notes");
        QCOMPARE(prompt.messages.value(0).caption, caption);
        QTEST(GetSetting(registry.store, {}, u"Settings"_qs, u"SkipVersion"_qs, {}), "skipAfter");
        QFETCH(QString, opened);
        QCOMPARE(browser.opened, opened.isEmpty() ? QStringList() : QStringList{opened});
        if (!browser.accepts)
            QVERIFY(prompt.messages[0].text.contains(u" www.ternwood.example"_qs));
    }
};

QTEST_MAIN(TestSoftwareUpdate)
#include "test_software_update.moc"
