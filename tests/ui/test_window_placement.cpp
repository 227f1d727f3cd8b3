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

class TestWindowPlacement : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void savedWindowComesBack();
    void nothingStoredCentresOnPrimaryScreen();
    void fixedSizeWindowGetsPositionAndState();
    void maximisedSaveKeepsNormalBounds();
    void unnamedWindowIsNotStored();

private:
    QString stored(const QString &name) const
    {
        return GetSetting(*m_store, {}, u"WindowSettings"_qs, name, u"<none>"_qs);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QSettingsRegistryBackend> m_store;
};

void TestWindowPlacement::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_store = std::make_unique<QSettingsRegistryBackend>(
        RegistryDirectories{m_dir->filePath(u"user"_qs), {}});
}

void TestWindowPlacement::savedWindowComesBack()
{
    QWidget first;
    first.setObjectName(u"frmTest"_qs);
    first.move(100, 50);
    first.resize(300, 200);
    QVERIFY(SaveWindowPlacement(&first, *m_store, QLocale::c()));
    QCOMPARE(stored(u"frmTest"_qs), u"1500,750,4500,3000,0"_qs);

    QWidget second;
    second.setObjectName(u"frmTest"_qs);
    second.resize(50, 40);
    RestoreWindowPlacement(&second, 2, *m_store, QLocale::c());
    QCOMPARE(second.pos(), QPoint(100, 50));
    QCOMPARE(second.size(), QSize(300, 200));
    QCOMPARE(second.windowState(), Qt::WindowNoState);
}

void TestWindowPlacement::nothingStoredCentresOnPrimaryScreen()
{
    QWidget window;
    window.setObjectName(u"frmFresh"_qs);
    window.resize(200, 100);
    RestoreWindowPlacement(&window, 2, *m_store, QLocale::c());
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(window.pos(), QPoint(screen.width() / 2 - 100, screen.height() / 2 - 50));
    QCOMPARE(window.size(), QSize(200, 100));
    QCOMPARE(window.windowState(), Qt::WindowMaximized);
    QCOMPARE(stored(u"frmFresh"_qs), u"<none>"_qs);
}

void TestWindowPlacement::fixedSizeWindowGetsPositionAndState()
{
    QVERIFY(SaveSetting(*m_store, {}, u"WindowSettings"_qs, u"frmFixed"_qs,
                        u"1500,750,9000,9000,1"_qs));
    QWidget window;
    window.setObjectName(u"frmFixed"_qs);
    window.setFixedSize(200, 100);
    RestoreWindowPlacement(&window, 0, *m_store, QLocale::c());
    QCOMPARE(window.pos(), QPoint(100, 50));
    QCOMPARE(window.size(), QSize(200, 100));
    QCOMPARE(window.windowState(), Qt::WindowMinimized);
}

void TestWindowPlacement::maximisedSaveKeepsNormalBounds()
{
    QVERIFY(
        SaveSetting(*m_store, {}, u"WindowSettings"_qs, u"frmBig"_qs, u"1500,750,4500,3000,0"_qs));
    QWidget window;
    window.setObjectName(u"frmBig"_qs);
    window.move(7, 9);
    window.setWindowState(Qt::WindowMaximized);
    QVERIFY(SaveWindowPlacement(&window, *m_store, QLocale::c()));
    QCOMPARE(stored(u"frmBig"_qs), u"1500,750,4500,3000,2"_qs);
}

void TestWindowPlacement::unnamedWindowIsNotStored()
{
    QWidget window;
    QVERIFY(!SaveWindowPlacement(&window, *m_store, QLocale::c()));
    QVERIFY(!RegKeyExists(*m_store, RegistryRoot::CurrentUser, SettingsKeyPath({}, {})));
}

QTEST_MAIN(TestWindowPlacement)
#include "test_window_placement.moc"
