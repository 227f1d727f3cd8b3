// The options dialog over settings in memory, a temporary store and a
// temporary autostart directory.
#include "platform/startup_entry.h"
#include "settings/registry_operations.h"
#include "settings/settings_test_support.h"
#include "ui/options_dialog.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

using namespace voltwise;

namespace {

QString Flag(bool on)
{
    return on ? u"1"_qs : u"0"_qs;
}

// AutoCheck, interval, PlaySound, ShowAtStartup, AutoUpdate, CAISOGraph.
QString InMemory(const AppSettings &s)
{
    return QStringList{Flag(s.AutoCheck),  QString::number(s.UpdateInterval),
                       Flag(s.PlaySound),  Flag(s.ShowAtStartup),
                       Flag(s.AutoUpdate), Flag(s.CAISOGraph)}
        .join(u' ');
}

// The same order, with the start-up box before AutoUpdate.
QString Shown(const OptionsDialog &d)
{
    return QStringList{
        Flag(d.chkAutoCheck->isChecked()),         d.updnUpdateInterval->text(),
        Flag(d.chkPlaySound->isChecked()),         Flag(d.chkShowDetailsAtStartup->isChecked()),
        Flag(d.chkAddToStartupItems->isChecked()), Flag(d.chkAutoUpdate->isChecked()),
        Flag(d.optCAISOGraph[1]->isChecked())}
        .join(u' ');
}

QString Stored(const RegistryBackend &store)
{
    QStringList values;
    for (const char *key :
         {"AutoCheck", "CAISOGraph", "UpdateInterval", "PlaySound", "ShowAtStartup", "AutoUpdate"})
        values << GetSetting(store, u"Voltwise"_qs, u"Settings"_qs, QString::fromLatin1(key),
                             u"-"_qs);
    return values.join(u' ');
}

} // namespace

class TestOptionsDialog : public QObject
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

    void everyWayOfClosing_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<bool>("registered");
        for (const char *way : {"OK", "Cancel", "close box", "Escape"}) {
            QTest::addRow("%s, entry absent", way) << QString::fromLatin1(way) << false;
            QTest::addRow("%s, entry present", way) << QString::fromLatin1(way) << true;
        }
    }

    void everyWayOfClosing()
    {
        QFETCH(QString, way);
        QFETCH(bool, registered);
        if (registered)
            QVERIFY(m_entry->registerProgram());
        AppSettings settings; // AutoCheck, PlaySound, ShowAtStartup, AutoUpdate on; interval 3
        QCoro::Task<> shown;
        QPointer<OptionsDialog> dialog = open(settings, shown);
        QCOMPARE(dialog->windowTitle(), u"Options"_qs);
        QCOMPARE(Shown(*dialog), u"1 3 1 1 "_qs + Flag(registered) + u" 1 0"_qs);

        for (QCheckBox *box : dialog->findChildren<QCheckBox *>())
            box->click();
        dialog->updnUpdateInterval->selectAll();
        QTest::keyClicks(dialog->updnUpdateInterval, u"10"_qs);
        dialog->optCAISOGraph[1]->click();
        QCOMPARE(Shown(*dialog), u"0 10 0 0 "_qs + Flag(!registered) + u" 0 1"_qs);

        if (way == u"OK")
            dialog->cmdOK->click();
        else if (way == u"Cancel")
            dialog->cmdCancel->click();
        else if (way == u"close box")
            dialog->close();
        else
            QTest::keyClick(dialog, Qt::Key_Escape);
        QTRY_VERIFY(shown.isReady());

        const bool ok = way == u"OK";
        QCOMPARE(InMemory(settings), ok ? u"0 10 0 0 0 1"_qs : u"1 3 1 1 1 0"_qs);
        // AutoUpdate changes in memory only.
        QCOMPARE(Stored(m_reg.store),
                 ok ? u"False True 10 False False -"_qs : u"True False 3 True True -"_qs);
        QCOMPARE(m_entry->isRegistered(), !registered);
        QTRY_VERIFY(!dialog); // a new dialog for each opening
    }

    void intervalStaysInRange_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("typed"); // "up": the up arrow
        QTest::addColumn<int>("saved");
        QTest::newRow("0 typed") << 3 << u"0"_qs << 3;
        QTest::newRow("500 typed") << 3 << u"500"_qs << 50;
        QTest::newRow("120 typed") << 3 << u"120"_qs << 120;
        QTest::newRow("up from the top") << 120 << u"up"_qs << 120;
        QTest::newRow("stored above the range") << 10000 << QString() << 120;
    }

    void intervalStaysInRange()
    {
        QFETCH(int, start);
        QFETCH(QString, typed);
        QFETCH(int, saved);
        AppSettings settings;
        settings.UpdateInterval = start;
        QCoro::Task<> shown;
        OptionsDialog *dialog = open(settings, shown);
        dialog->updnUpdateInterval->selectAll();
        if (typed == u"up")
            QTest::keyClick(dialog->updnUpdateInterval, Qt::Key_Up);
        else
            QTest::keyClicks(dialog->updnUpdateInterval, typed);
        dialog->cmdOK->click();
        QTRY_VERIFY(shown.isReady());
        QCOMPARE(settings.UpdateInterval, saved);
        QCOMPARE(GetSetting(m_reg.store, u"Voltwise"_qs, u"Settings"_qs, u"UpdateInterval"_qs, {}),
                 QString::number(saved));
    }
};

QTEST_MAIN(TestOptionsDialog)
#include "test_options_dialog.moc"
