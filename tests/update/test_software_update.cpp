// Versions compared, and the update check's decisions against an in-process
// server, the dialog and the messages answered by a scripted prompt.
#include "platform/recording_browser_opener.h"
#include "settings/registry_operations.h"
#include "settings/settings_test_support.h"
#include "support/text_server.h"
#include "update/scripted_update_prompt.h"
#include "update/software_update.h"
#include "update/url_text.h"
#include "update/version.h"

#include <QTest>

using namespace voltwise;
using namespace voltwise::testing;

namespace {

const QString kRunning = u"2.0.10"_qs;
const QString kDescriptorPath = u"/voltwise/voltwise.inf"_qs;
const QString kChangeLogPath = u"/notes.txt"_qs;
const QString kDownload = u"https://www.ternwood.example/voltwise-setup"_qs;
const QString kNotes = u"- Faster refreshes\r\n- Fewer surprises"_qs;

// Lines of a descriptor; CHANGELOG stands for the change log's address.
QString Descriptor(const QString &release, const QString &end = u"\r\nCHANGELOG"_qs)
{
    return release + u"\r\n2026-12-06\r\n"_qs + kDownload + end;
}

std::optional<QString> Stored(const RegistryBackend &store)
{
    const QString value = GetSetting(store, {}, u"Settings"_qs, u"SkipVersion"_qs, {});
    return value.isEmpty() ? std::nullopt : std::optional(value);
}

} // namespace

class TestSoftwareUpdate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void versionString_data()
    {
        QTest::addColumn<int>("revision");
        QTest::addColumn<int>("stage");
        QTest::addColumn<QString>("expected");

        QTest::newRow("release") << 10 << 128 << u"2.1.10"_qs;
        QTest::newRow("release, revision 0") << 0 << 128 << u"2.1"_qs;
        QTest::newRow("beta before revision") << 3 << 4 << u"2.1b3"_qs;
        QTest::newRow("beta before revision 0") << 0 << 4 << u"2.1b0"_qs;
        QTest::newRow("beta after revision 0") << 0 << 20 << u"2.1.0b"_qs;
        QTest::newRow("lowest letter bit wins") << 3 << (2 | 4 | 8) << u"2.1a3"_qs;
        QTest::newRow("after-revision bit, no letter, revision 0") << 0 << 16 << u"2.1"_qs;
    }

    void versionString()
    {
        QFETCH(int, revision);
        QFETCH(int, stage);
        QFETCH(QString, expected);
        QCOMPARE(VersionString(2, 1, revision, stage), expected);
    }

    void runningVersionFollowsBuildStage()
    {
        const std::int32_t saved = BuildStage();
        SetBuildStage(StageBeta);
        QCOMPARE(VersionString(), VersionString(VOLTWISE_VERSION_MAJOR, VOLTWISE_VERSION_MINOR,
                                                VOLTWISE_VERSION_PATCH, StageBeta));
        SetBuildStage(saved);
    }

    void isNewerVersion_data()
    {
        QTest::addColumn<QString>("candidate");
        QTest::addColumn<QString>("reference");
        QTest::addColumn<bool>("finalOnly");
        QTest::addColumn<std::optional<bool>>("expected"); // empty: cannot be read

        const std::optional<bool> yes = true, no = false, unreadable;
        // Ascending: every later text is newer than every earlier one. A stage
        // before the revision outranks the build number (2.0b12 < 2.0f10).
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
        QTest::newRow("letter last without revision") << u"2.1b"_qs << u"2.1b3"_qs << false << yes;
        QTest::newRow("final only, lettered candidate") << u"3.0b1"_qs << u"2.0"_qs << true << no;
        QTest::newRow("final only, release candidate") << u"3.0"_qs << u"2.0"_qs << true << yes;
        QTest::newRow("final only, lettered reference")
            << u"2.0.10"_qs << u"2.0.10b"_qs << true << yes;
        QTest::newRow("two-digit minor reads one digit")
            << u"2.10.1"_qs << u"2.1.1"_qs << false << no;
        QTest::newRow("upper-case letter is no stage")
            << u"2.0.10B"_qs << u"2.0.10"_qs << false << no;
        QTest::newRow("anything newer than empty") << u"0.0.1"_qs << QString() << false << yes;
        QTest::newRow("empty against empty") << QString() << QString() << false << no;
        QTest::newRow("largest revision") << u"2.0.32767"_qs << u"2.0.32766"_qs << false << yes;

        QTest::newRow("starts with a letter") << u"V2.1"_qs << u"2.0"_qs << false << unreadable;
        QTest::newRow("reference starts with a blank")
            << u"2.1"_qs << u" 2.0"_qs << false << unreadable;
        QTest::newRow("minor is a letter") << u"2.x.1"_qs << u"2.0"_qs << false << unreadable;
        QTest::newRow("revision out of range")
            << u"2.0.32768"_qs << u"2.0"_qs << false << unreadable;
        QTest::newRow("very long revision")
            << u"2.0."_qs + QString(100000, u'9') << u"2.0"_qs << false << unreadable;
        QTest::newRow("even when final only would refuse")
            << u"2.0b1"_qs << u"x"_qs << true << unreadable;
        QTest::newRow("non-ASCII digit") << u"\u0662.0"_qs << u"2.0"_qs << false << unreadable;
    }

    void isNewerVersion()
    {
        QFETCH(QString, candidate);
        QFETCH(QString, reference);
        QFETCH(bool, finalOnly);
        QFETCH(std::optional<bool>, expected);
        QCOMPARE(IsNewerVersion(candidate, reference, finalOnly), expected);
    }

    // Each descriptor that reads gives release 2.1, a date and "https://x.example/d".
    void descriptor_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<bool>("read");
        QTest::addColumn<QString>("changeLog"); // "-": no line 4
        QTest::addColumn<QString>("download");
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        const QLocale german(QLocale::German, QLocale::Germany);
        const auto row = [](const char *title, const QString &text, const QLocale &locale,
                            bool read, const char *changeLog = "-",
                            const QString &download = u"https://x.example/d"_qs) {
            QTest::newRow(title) << QString(text).replace(u"<d>"_qs, download) << locale << read
                                 << QString::fromLatin1(changeLog) << download;
        };
        row("four lines", u"2.1\r\n2026-12-06\r\n<d>\r\nhttp://x/c"_qs, us, true, "http://x/c");
        row("blanks trimmed, change log as written",
            u"  2.1  \r\n 2026-12-06 \r\n <d> \r\n http://x/c "_qs, us, true, " http://x/c ");
        row("lines after the fourth ignored", u"2.1\r\n12/6/2026\r\n<d>\r\n\r\nmore"_qs, german,
            true, "");
        row("user's long date",
            u"2.1\r\n"_qs + german.toString(QDate(2026, 12, 6), QLocale::LongFormat) +
                u"\r\n<d>"_qs,
            german, true);
        row("user's short date", u"2.1\r\n06.12.26\r\n<d>"_qs, german, true);
        row("LF only: one line", u"2.1\n2026-12-06\n<d>"_qs, us, false);
        row("two lines", u"2.1\r\n2026-12-06"_qs, us, false);
        row("line 2 no date", u"2.1\r\nsoon\r\n<d>"_qs, us, false);
        row("download by ftp", u"2.1\r\n2026-12-06\r\nftp://x/d"_qs, us, false);
        row("download with a blank", u"2.1\r\n2026-12-06\r\n<d>"_qs, us, true, "-",
            u"https://x.example/Voltwise Setup.exe"_qs);
        row("download empty", u"2.1\r\n2026-12-06\r\n\r\nhttp://x/c"_qs, us, false);
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
        QTEST(descriptor->DownloadURL, "download");
        QTEST(descriptor->ChangeLogURL.value_or(u"-"_qs), "changeLog");
    }

    void outcomes_data()
    {
        QTest::addColumn<QString>("descriptor"); // empty: none served
        QTest::addColumn<QString>("changeLog");
        QTest::addColumn<QString>("skip");
        QTest::addColumn<bool>("finalOnly");
        QTest::addColumn<bool>("notify");
        QTest::addColumn<int>("choice");
        QTest::addColumn<QString>("offered"); // the release offered, or empty
        QTest::addColumn<QString>("notes");
        QTest::addColumn<QString>("caption"); // the message box, or empty
        QTest::addColumn<QString>("skipAfter");
        QTest::addColumn<bool>("result");

        const int download = int(UpdateChoice::DownloadUpdate);
        const int later = int(UpdateChoice::RemindMeLater);
        const int skip = int(UpdateChoice::SkipThisVersion);
        const QString upToDate = u"You're up to date!"_qs;
        const QString pre = u"You're running a pre-relase version!"_qs;
        const QString none;
        // clang-format off
        QTest::newRow("newer, download") << Descriptor(u"2.1"_qs) << kNotes << none << false << false << download << u"2.1"_qs << kNotes << none << none << true;
        QTest::newRow("newer, remind me later") << Descriptor(u"2.1"_qs) << kNotes << none << false << true << later << u"2.1"_qs << kNotes << none << none << false;
        QTest::newRow("newer, skip this version") << Descriptor(u" 2.1 "_qs) << kNotes << none << false << true << skip << u"2.1"_qs << kNotes << none << u"2.1"_qs << false;
        QTest::newRow("same version, menu") << Descriptor(kRunning) << kNotes << none << false << true << download << none << none << upToDate << none << false;
        QTest::newRow("same version, start-up") << Descriptor(kRunning) << kNotes << none << false << false << download << none << none << none << none << false;
        QTest::newRow("skip equals release") << Descriptor(u"2.1"_qs) << kNotes << u"2.1"_qs << false << true << download << none << none << upToDate << u"2.1"_qs << false;
        QTest::newRow("overtaken skip forgotten") << Descriptor(u"2.1"_qs) << kNotes << u"2.0.9"_qs << false << true << later << u"2.1"_qs << kNotes << none << none << false;
        QTest::newRow("release older") << Descriptor(u"2.0.9"_qs) << kNotes << none << false << true << download << none << none << pre << none << false;
        QTest::newRow("lettered release, final only") << Descriptor(u"2.1b1"_qs) << kNotes << none << true << true << download << none << none << upToDate << none << false;
        QTest::newRow("lettered release") << Descriptor(u"2.1b1"_qs) << kNotes << none << false << true << later << u"2.1b1"_qs << kNotes << none << none << false;
        QTest::newRow("three lines") << Descriptor(u"2.1"_qs, {}) << kNotes << none << false << true << later << u"2.1"_qs << none << none << none << false;
        QTest::newRow("change log not found") << Descriptor(u"2.1"_qs) << u"Page Not Found"_qs << none << false << true << later << u"2.1"_qs << none << none << none << false;
        QTest::newRow("no descriptor") << none << kNotes << none << false << true << download << none << none << none << none << false;
        QTest::newRow("LF only") << Descriptor(u"2.1"_qs).replace(u"\r\n"_qs, u"\n"_qs) << kNotes << none << false << true << download << none << none << none << none << false;
        QTest::newRow("404 in the version") << Descriptor(u"2.0.404"_qs) << kNotes << none << false << true << download << none << none << none << none << false;
        QTest::newRow("403 in a URL") << Descriptor(u"2.1"_qs, u"\r\nhttp://x/403"_qs) << kNotes << none << false << true << download << none << none << none << none << false;
        QTest::newRow("Not Found") << u"Not Found"_qs << kNotes << none << false << true << download << none << none << none << none << false;
        QTest::newRow("unreadable release") << Descriptor(u"v2"_qs) << kNotes << none << false << true << download << none << none << none << none << false;
        QTest::newRow("unreadable skip kept") << Descriptor(u"2.1"_qs) << kNotes << u"x"_qs << false << true << download << none << none << none << u"x"_qs << false;
        // clang-format on
    }

    void outcomes()
    {
        QFETCH(QString, descriptor);
        QFETCH(QString, changeLog);
        QFETCH(QString, skip);
        QFETCH(bool, finalOnly);
        QFETCH(bool, notify);
        QFETCH(int, choice);
        QFETCH(QString, offered);
        QFETCH(QString, notes);
        QFETCH(QString, caption);
        QFETCH(QString, skipAfter);

        TextServer server;
        QVERIFY(server.start());
        if (!descriptor.isEmpty())
            server.texts[kDescriptorPath] =
                descriptor.replace(u"CHANGELOG"_qs, server.url(kChangeLogPath)).toUtf8();
        server.texts[kChangeLogPath] = changeLog.toUtf8();
        TempRegistry registry;
        if (!skip.isEmpty())
            QVERIFY(SaveSetting(registry.store, {}, u"Settings"_qs, u"SkipVersion"_qs, skip));
        HttpUrlTextSource urls;
        ScriptedUpdatePrompt prompt;
        prompt.choice = UpdateChoice(choice);
        RecordingBrowserOpener browser;
        UpdateCheckContext context{
            .urls = &urls, .store = &registry.store, .currentVersion = kRunning};

        const bool result = QCoro::waitFor(SoftwareUpdate(
            context, prompt, browser, server.url(kDescriptorPath), finalOnly, true, notify));

        QTEST(result, "result");
        QCOMPARE(server.requests.value(0), kDescriptorPath + u"?Version=2.0.10"_qs);
        QCOMPARE(server.requests.size(),
                 offered.isEmpty() || !descriptor.contains(u"http://127") ? 1 : 2);
        QCOMPARE(prompt.offers.size(), offered.isEmpty() ? 0 : 1);
        if (!offered.isEmpty()) {
            const UpdateOffer &offer = prompt.offers.first();
            QCOMPARE(offer.title, u"A new version of Voltwise is available!"_qs);
            QCOMPARE(offer.message, u"Voltwise "_qs + offered +
                                        u" is now available - you have 2.0.10. Would you like "
                                        "to download the new version now?"_qs);
            QCOMPARE(offer.releaseNotes, notes);
        }
        const QString text = caption.startsWith(u"You're up")
                                 ? u"Voltwise 2.0.10 is currently the newest version available."_qs
                                 : u"Voltwise 2.0.10 is actually *newer* than the current "
                                   "offical release."_qs;
        QCOMPARE(prompt.messages.size(), caption.isEmpty() ? 0 : 1);
        if (!caption.isEmpty())
            QCOMPARE(prompt.messages.first().caption + prompt.messages.first().text,
                     caption + text);
        QCOMPARE(Stored(registry.store).value_or(QString()), skipAfter);
        QCOMPARE(browser.opened, result ? QStringList{kDownload} : QStringList());
    }

    void lookingOnlyKeepsAnOvertakenSkip()
    {
        TextServer server;
        QVERIFY(server.start());
        server.texts[kDescriptorPath] = Descriptor(u"2.1"_qs, {}).toUtf8();
        TempRegistry registry;
        QVERIFY(SaveSetting(registry.store, {}, u"Settings"_qs, u"SkipVersion"_qs, u"2.0"_qs));
        HttpUrlTextSource urls;
        UpdateCheckContext context{
            .urls = &urls, .store = &registry.store, .currentVersion = kRunning};
        context.readOnly = true;

        const UpdateCheck check =
            QCoro::waitFor(CheckForUpdate(context, server.url(kDescriptorPath), false));

        QCOMPARE(check.outcome, UpdateOutcome::Offer);
        QCOMPARE(Stored(registry.store), u"2.0"_qs);
    }
};

QTEST_GUILESS_MAIN(TestSoftwareUpdate)
#include "test_software_update.moc"
