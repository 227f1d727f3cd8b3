#include "settings/qsettings_registry.h"
#include "settings/registry_operations.h"
#include "ui/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <memory>

using namespace voltwise;

// The rules are in test_window_placement_rules; these check what a widget hands
// them and how it takes their result (offscreen: 1 pixel is 15 twips).
class TestWindowPlacement : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QSettingsRegistryBackend> m_store;

    QString stored() const
    {
        return GetSetting(*m_store, {}, u"WindowSettings"_qs, u"frmTest"_qs, {});
    }

    static QRect bounds(const QWidget &window) { return {window.pos(), window.size()}; }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_store = std::make_unique<QSettingsRegistryBackend>(
            RegistryDirectories{m_dir->filePath(u"user"_qs), {}});
    }

    void savedWindowComesBack()
    {
        QWidget first;
        first.setObjectName(u"frmTest"_qs);
        first.move(100, 50);
        first.resize(300, 200);
        QVERIFY(SaveWindowPlacement(&first, *m_store, QLocale::c()));
        QCOMPARE(stored(), u"1500,750,4500,3000,0"_qs);
        first.move(7, 9);
        first.setWindowState(Qt::WindowMaximized); // keeps the normal bounds stored before
        QVERIFY(SaveWindowPlacement(&first, *m_store, QLocale::c()));
        QCOMPARE(stored(), u"1500,750,4500,3000,2"_qs);

        QWidget second;
        second.setObjectName(u"frmTest"_qs);
        second.resize(50, 40);
        RestoreWindowPlacement(&second, 0, *m_store, QLocale::c());
        QCOMPARE(bounds(second), QRect(100, 50, 300, 200));
        QCOMPARE(second.windowState(), Qt::WindowMaximized);

        QVERIFY(SaveSetting(*m_store, {}, u"WindowSettings"_qs, u"frmTest"_qs,
                            u"1500,750,9000,9000,1"_qs));
        QWidget fixed;
        fixed.setObjectName(u"frmTest"_qs);
        fixed.setFixedSize(200, 100);
        RestoreWindowPlacement(&fixed, 0, *m_store, QLocale::c());
        QCOMPARE(bounds(fixed), QRect(100, 50, 200, 100));
        QCOMPARE(fixed.windowState(), Qt::WindowMinimized);
    }

    void centredOnPrimaryScreen_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<Qt::WindowState>("state");
        QTest::newRow("nothing stored") << QString() << Qt::WindowMaximized;
        QTest::newRow("stored far off") << u"-1500000,-1500000,3000,1500,0"_qs << Qt::WindowNoState;
    }

    void centredOnPrimaryScreen()
    {
        QFETCH(QString, stored);
        QFETCH(Qt::WindowState, state);
        QWidget window;
        window.resize(200, 100);
        QVERIFY(!SaveWindowPlacement(&window, *m_store, QLocale::c())); // no name, no place
        window.setObjectName(u"frmTest"_qs);
        if (!stored.isEmpty())
            QVERIFY(SaveSetting(*m_store, {}, u"WindowSettings"_qs, u"frmTest"_qs, stored));
        RestoreWindowPlacement(&window, 2, *m_store, QLocale::c());
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(bounds(window),
                 QRect(screen.width() / 2 - 100, screen.height() / 2 - 50, 200, 100));
        QCOMPARE(window.windowState(), state);
        QCOMPARE(RegKeyExists(*m_store, RegistryRoot::CurrentUser, SettingsKeyPath({}, {})),
                 !stored.isEmpty());
    }
};

QTEST_MAIN(TestWindowPlacement)
#include "test_window_placement.moc"
