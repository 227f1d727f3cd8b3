// The update dialog as widgets, its message boxes, and the program's checks
// with their menu item against the in-process simulator.
#include "core/twips.h"
#include "platform/recording_browser_opener.h"
#include "settings/settings_test_support.h"
#include "support/sim_fixture.h"
#include "update/dialog_update_prompt.h"
#include "update/scripted_update_prompt.h"
#include "update/software_update_dialog.h"
#include "update/update_checker.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

using namespace voltwise;
using namespace voltwise::gridsim;
using namespace voltwise::testing;

namespace {

const UpdateOffer kOffer{u"A new version of Voltwise is available!"_qs,
                         u"Voltwise 2.1 is now available - you have 2.0.10."_qs,
                         QString(u"A long line of notes\n"_qs).repeated(60), u"2.1"_qs,
                         u"https://www.ternwood.example/get"_qs};

template <typename T>
T *Child(QWidget *parent, const char *name)
{
    return parent->findChild<T *>(QString::fromLatin1(name));
}

} // namespace

class TestUpdateDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void layout_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("bold");

        // clang-format off
        QTest::newRow("icon") << u"picAppIcon"_qs << QRect(240, 240, 975, 975) << QString() << false;
        QTest::newRow("title") << u"lblTitle"_qs << QRect(1440, 240, 5835, 255) << kOffer.title << true;
        QTest::newRow("message") << u"lblMessage"_qs << QRect(1440, 600, 5835, 435) << kOffer.message << false;
        QTest::newRow("notes caption") << u"Label2"_qs << QRect(1440, 1140, 5835, 195) << u"Release Notes:"_qs << true;
        QTest::newRow("notes") << u"txtReleaseNotes"_qs << QRect(1440, 1440, 5835, 2835) << kOffer.releaseNotes << false;
        QTest::newRow("skip") << u"cmdSkipThisVersion"_qs << QRect(1440, 4440, 1635, 315) << u"Skip This Version"_qs << false;
        QTest::newRow("later") << u"cmdCancel"_qs << QRect(3900, 4440, 1635, 315) << u"Remind Me Later"_qs << false;
        QTest::newRow("download") << u"cmdOK"_qs << QRect(5640, 4440, 1635, 315) << u"Download Update"_qs << false;
        // clang-format on
    }

    void layout()
    {
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        QFETCH(bool, bold);
        SoftwareUpdateDialog dialog(kOffer);
        QWidget *control = dialog.findChild<QWidget *>(name);
        QVERIFY(control);
        QCOMPARE(control->geometry(),
                 TwipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
        QCOMPARE(control->font().bold(), bold);
        QString caption;
        if (auto *label = qobject_cast<QLabel *>(control))
            caption = label->text();
        else if (auto *button = qobject_cast<QPushButton *>(control))
            caption = button->text();
        else if (auto *text = qobject_cast<QPlainTextEdit *>(control))
            caption = text->toPlainText();
        QTEST(caption, "caption");
    }

    void window()
    {
        SoftwareUpdateDialog dialog(kOffer);
        QCOMPARE(dialog.objectName(), u"frmSoftwareUpdate"_qs);
        QCOMPARE(dialog.windowTitle(), u"Software Update"_qs);
        QCOMPARE(dialog.size(), QSize(501, 333));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        QVERIFY(!(dialog.windowFlags() &
                  (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(dialog.picAppIcon->pixmap().size(), QSize(64, 64));
        QVERIFY(dialog.txtReleaseNotes->isReadOnly());
        QCOMPARE(dialog.txtReleaseNotes->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QList<QWidget *> tabOrder{dialog.cmdSkipThisVersion};
        for (QWidget *w = tabOrder.first()->nextInFocusChain(); w != tabOrder.first();
             w = w->nextInFocusChain())
            if (w->focusPolicy() & Qt::TabFocus)
                tabOrder << w;
        QCOMPARE(tabOrder, (QList<QWidget *>{dialog.cmdSkipThisVersion, dialog.cmdCancel,
                                             dialog.cmdOK, dialog.txtReleaseNotes}));
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

    void messageBox()
    {
        QMainWindow owner;
        owner.show();
        DialogUpdatePrompt prompt(&owner);
        auto shown = prompt.showMessage({u"You're up to date!"_qs, u"Voltwise 2.0.10 is..."_qs});
        QMessageBox *box = owner.findChild<QMessageBox *>(u"msgSoftwareUpdate"_qs);
        QVERIFY(box && box->isVisible());
        QCOMPARE(box->windowTitle(), u"You're up to date!"_qs);
        QCOMPARE(box->text(), u"Voltwise 2.0.10 is..."_qs);
        QCOMPARE(box->icon(), QMessageBox::Information);
        QCOMPARE(box->standardButtons(), QMessageBox::Ok);
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        QVERIFY(shown.isReady());
    }

    void checks_data()
    {
        QTest::addColumn<QString>("release");
        QTest::addColumn<bool>("menu");
        QTest::addColumn<int>("offers");
        QTest::addColumn<int>("messages");
        QTest::newRow("start-up, up to date") << VersionString() << false << 0 << 0;
        QTest::newRow("menu, up to date") << VersionString() << true << 0 << 1;
        QTest::newRow("start-up, newer") << u"9.0"_qs << false << 1 << 0;
    }

    void checks()
    {
        QFETCH(QString, release);
        QFETCH(bool, menu);
        const auto sim = StartSim();
        QVERIFY(sim && sim->setReleaseVersion(release));
        TempRegistry registry;
        ScriptedUpdatePrompt prompt;
        prompt.hold = true;
        QWidget window;
        QAction item(u"&Check for Voltwise Updates..."_qs);
        item.setEnabled(false);
        UpdateChecker checker(
            {.store = &registry.store, .maker = sim->baseUrl(), .prompt = &prompt}, &window, &item);
        QVERIFY(item.isEnabled());

        if (menu)
            item.trigger();
        auto startup = checker.run(UpdateChecker::Trigger::Startup);
        if (menu)
            QVERIFY(startup.isReady()); // one check at a time
        QVERIFY(!item.isEnabled());
        QTRY_VERIFY(!checker.isRunning() || !prompt.offers.isEmpty());
        prompt.dismiss();

        QTRY_VERIFY(!checker.isRunning());
        QVERIFY(item.isEnabled());
        QTEST(int(prompt.offers.size()), "offers");
        QTEST(int(prompt.messages.size()), "messages");
        QCOMPARE(sim->requestCount(kUpdateDescriptorFilePath), 1);
    }

    void cancelledByTheEnd_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("while reading the descriptor") << u"stall"_qs;
        QTest::newRow("while the dialog is open") << u"none"_qs;
    }

    void cancelledByTheEnd()
    {
        QFETCH(QString, fault);
        const auto sim = StartSim();
        QVERIFY(sim && sim->setReleaseVersion(u"9.0"_qs));
        sim->setFault(kUpdateDescriptorFilePath, *ParseFault(fault));
        TempRegistry registry;
        auto window = std::make_unique<QMainWindow>();
        window->show();
        QAction item;
        RecordingBrowserOpener browser;
        auto *checker = new UpdateChecker(
            {.store = &registry.store, .browser = &browser, .maker = sim->baseUrl()}, window.get(),
            &item);
        auto check = checker->run(UpdateChecker::Trigger::HelpMenu);
        QTRY_VERIFY(sim->requestCount(kUpdateDescriptorFilePath) == 1 &&
                    (fault == u"stall" || window->findChild<SoftwareUpdateDialog *>()));

        window.reset(); // takes the checker along

        QVERIFY(check.isReady());
        QCOMPARE(QCoro::waitFor(std::move(check)), false);
        QVERIFY(!item.isEnabled());
        QVERIFY(browser.opened.isEmpty());
    }
};

QTEST_MAIN(TestUpdateDialog)
#include "test_update_dialog.moc"
