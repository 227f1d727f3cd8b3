// The options dialog over settings in memory, a temporary store and a
// temporary autostart directory, and the exit question; both are awaited.
#include "platform/startup_entry.h"
#include "settings/registry_operations.h"
#include "settings/settings_test_support.h"
#include "ui/gui/exit_prompt.h"
#include "ui/gui/options_dialog.h"

#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

using namespace voltwise;

class TestDialogs : public QObject
{
    Q_OBJECT

private:
    TempRegistry m_reg;
    std::unique_ptr<XdgAutostartEntry> m_entry;

    // A dialog that the test drives; it deletes itself once closed.
    OptionsDialog *open(AppSettings &settings, QCoro::Task<> &shown)
    {
        auto *dialog = new OptionsDialog(settings, m_reg.store, m_entry.get());
        shown = dialog->showModal();
        return dialog;
    }

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_reg.dir.isValid());
        QDir(m_reg.dir.path()).removeRecursively();
        m_entry = std::make_unique<XdgAutostartEntry>(m_reg.dir.filePath(u"autostart"_qs),
                                                      u"/opt/Volt wise/voltwise"_qs);
    }

    // A stored interval beyond the range comes back within it; typing cannot leave it.
    void everyWayOfClosing_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<bool>("registered");
        QTest::addColumn<QList<int>>("interval"); // stored, shown, taken on OK
        QTest::addColumn<QString>("typed");
        for (const char *way : {"OK", "Cancel", "close box", "Escape"})
            for (const bool registered : {false, true})
                QTest::addRow("%s, entry %s", way, registered ? "present" : "absent")
                    << QString::fromLatin1(way) << registered << QList<int>{3, 3, 10} << u"10"_qs;
        QTest::newRow("OK, beyond the range")
            << u"OK"_qs << false << QList<int>{10000, 120, 15} << u"150"_qs;
    }

    void everyWayOfClosing()
    {
        QFETCH(QString, way);
        QFETCH(bool, registered);
        QFETCH(QList<int>, interval);
        QFETCH(QString, typed);
        if (registered)
            QVERIFY(m_entry->registerProgram());
        AppSettings settings; // AutoCheck, PlaySound, ShowAtStartup, AutoUpdate on
        settings.UpdateInterval = interval[0];
        QCoro::Task<> closed;
        QPointer<OptionsDialog> dialog = open(settings, closed);
        QCOMPARE(dialog->updnUpdateInterval->value(), interval[1]);
        // Every control turned over: on OK the settings show what the dialog showed.
        for (QCheckBox *box : dialog->findChildren<QCheckBox *>())
            box->click();
        dialog->updnUpdateInterval->selectAll();
        QTest::keyClicks(dialog->updnUpdateInterval, typed);
        dialog->optCAISOGraph[1]->click();

        if (way == u"OK")
            dialog->cmdOK->click();
        else if (way == u"Cancel")
            dialog->cmdCancel->click();
        else if (way == u"close box")
            dialog->close();
        else
            QTest::keyClick(dialog, Qt::Key_Escape);
        QTRY_VERIFY(closed.isReady());

        const bool ok = way == u"OK";
        const int kept = ok ? interval[2] : interval[0];
        QCOMPARE((QVariantList{settings.AutoCheck, settings.UpdateInterval, settings.PlaySound,
                               settings.ShowAtStartup, settings.AutoUpdate, settings.CAISOGraph}),
                 (QVariantList{!ok, kept, !ok, !ok, !ok, ok}));
        QStringList stored; // AutoUpdate changes in memory only
        namespace k = SettingKeys;
        for (const SettingKey *key : {&k::AutoCheck, &k::CAISOGraph, &k::UpdateInterval,
                                      &k::PlaySound, &k::ShowAtStartup, &k::AutoUpdate})
            stored << GetSetting(m_reg.store, *key, u"-"_qs);
        QCOMPARE(stored.join(u' '), ok ? u"False True %1 False False -"_qs.arg(kept)
                                       : u"True False %1 True True -"_qs.arg(kept));
        QCOMPARE(m_entry->isRegistered(), !registered);
        QTRY_VERIFY(!dialog); // a new dialog for each opening
    }

    // The answer arrives even though the box deletes itself on closing, or
    // is destroyed with its window.
    void exitQuestionAnswers()
    {
        for (const auto &[answer, exits] :
             {std::pair(u"Yes"_qs, true), std::pair(u"No"_qs, false),
              std::pair(u"Escape"_qs, false), std::pair(u"Destroyed"_qs, false)}) {
            QWidget window;
            MessageBoxExitPrompt prompt;
            QCoro::Task<bool> asked = prompt.confirmExit(&window);
            QPointer<QMessageBox> box = window.findChild<QMessageBox *>(u"msgExitQuestion"_qs);
            QVERIFY(box && box->isVisible());
            QCOMPARE(box->text(), u"Are you sure you want to exit Voltwise?"_qs);
            if (answer == u"Destroyed")
                delete box;
            else if (answer == u"Escape")
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->button(answer == u"Yes" ? QMessageBox::Yes : QMessageBox::No)->click();
            QTRY_VERIFY(!box);
            QVERIFY(asked.isReady());
            QCOMPARE(QCoro::waitFor(asked), exits);
        }
    }
};

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
