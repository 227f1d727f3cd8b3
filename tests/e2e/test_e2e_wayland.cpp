// Runs the real programs on a Wayland desktop of today: a headless sway, its
// panel swaybar (which draws items of the StatusNotifierItem protocol) started
// well after voltwise, as at many logins, and dunst as the notification
// server, all on a session bus of the test's own; voltwise follows the
// simulated grid operator. sway refuses to run as root: when the test runs as
// root, the compositor and its panel run as an unprivileged user.
#include "e2e_support.h"
#include "platform/gui/dbus_menu_types.h"
#include "support/files.h"
#include "support/private_bus.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <csignal>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace voltwise;
using namespace voltwise::testing;

class TestE2eWayland : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    PrivateBus m_bus{PrivateBus::Users::Anyone};
    QDBusConnection m_session{QString()};
    QString m_runtime;             // the compositor's
    QProcessEnvironment m_desktop; // reaches the compositor and the bus
    QProcess m_sway, m_dunst, m_sim, m_voltwise;
    QUrl m_simUrl;

    QString run(const QString &program, const QStringList &args)
    {
        return RunTool(m_desktop, program, args);
    }

    QString runtimeFile(const QString &pattern) const
    {
        const QStringList found = QDir(m_runtime).entryList({pattern}, QDir::System | QDir::Files);
        return found.isEmpty() ? QString() : QDir(m_runtime).filePath(found.first());
    }

    QString tree() { return run(u"swaymsg"_qs, {u"-r"_qs, u"-t"_qs, u"get_tree"_qs}); }

    // Whether the compositor shows a window of that title (workspaces and
    // outputs are named otherwise).
    bool windowShown(const QString &title)
    {
        return tree().contains(
            QRegularExpression(u"\"name\":\\s*\""_qs + QRegularExpression::escape(title) + u'"'));
    }

    // Closed notifications go to the history, which is where the user finds them.
    QString notificationHistory()
    {
        run(u"dunstctl"_qs, {u"close-all"_qs});
        return run(u"dunstctl"_qs, {u"history"_qs});
    }

    QString logOf(const QString &name) const
    {
        return QString::fromUtf8(ReadBytes(m_dir.filePath(name)));
    }

    // A file of the test's folder that the compositor's user may read too.
    QString writeShared(const QString &name, const QString &text, QFile::Permissions extra)
    {
        QFile file(m_dir.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0 &&
                       file.setPermissions(file.permissions() | QFile::ReadOther | extra)
                   ? file.fileName()
                   : QString();
    }

    QDBusMessage callItem(const QString &service, const QString &path, const QString &interface,
                          const QString &method, const QVariantList &arguments)
    {
        QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
        message.setArguments(arguments);
        return m_session.call(message, QDBus::Block, 10000);
    }

    // The panel's own colours are greys; the icon is the only coloured thing
    // in the bar, the traffic light's lit lamp.
    int litPixelsInTheBar(QRgb lamp)
    {
        const QString shot = m_dir.filePath(u"screen.png"_qs);
        run(u"grim"_qs, {shot});
        const QImage screen(shot);
        const auto near = [](int a, int b) {
            return std::abs(a - b) < 60;
        };
        int lit = 0;
        for (int y = 0; y < std::min(40, screen.height()); ++y)
            for (int x = screen.width() / 2; x < screen.width(); ++x) {
                const QRgb p = screen.pixel(x, y);
                lit += near(qRed(p), qRed(lamp)) && near(qGreen(p), qGreen(lamp)) &&
                       near(qBlue(p), qBlue(lamp));
            }
        return lit;
    }

private Q_SLOTS:
    void initTestCase()
    {
        for (const QString &tool :
             {u"sway"_qs, u"swaybar"_qs, u"swaymsg"_qs, u"dunst"_qs, u"dunstctl"_qs, u"grim"_qs})
            QVERIFY2(!QStandardPaths::findExecutable(tool).isEmpty(),
                     qPrintable(tool + u" is missing (scripts/install-deps.sh installs it)"_qs));
        QVERIFY2(m_bus.isRunning(), "no dbus-daemon");
        m_session = m_bus.connect();

        // The compositor's user reads the panel's files here and writes its log.
        QVERIFY(::chmod(qPrintable(m_dir.path()), 0755) == 0);
        m_runtime = m_dir.filePath(u"runtime"_qs);
        const QString root = m_dir.filePath(u"root-runtime"_qs);
        for (const QString &runtime : {m_runtime, root})
            QVERIFY(QDir().mkpath(runtime) && ::chmod(qPrintable(runtime), 0700) == 0);
        const QString panelLog = writeShared(u"swaybar.log"_qs, {}, QFile::WriteOther);
        QVERIFY(!panelLog.isEmpty());
        QStringList compositorCommand{u"sway"_qs};
        if (::geteuid() == 0) {
            const QByteArray user = qgetenv("VOLTWISE_TEST_USER").isEmpty()
                                        ? QByteArray("nobody")
                                        : qgetenv("VOLTWISE_TEST_USER");
            const passwd *account = ::getpwnam(user.constData());
            QVERIFY2(account, "no unprivileged user to run the compositor (VOLTWISE_TEST_USER)");
            QVERIFY(::chown(qPrintable(m_runtime), account->pw_uid, account->pw_gid) == 0);
            compositorCommand = QStringList{u"runuser"_qs, u"-u"_qs,  QString::fromLocal8Bit(user),
                                            u"--"_qs,      u"env"_qs, u"HOME="_qs + m_runtime,
                                            u"sway"_qs};
        }

        // The panel waits for the test's word, so that it comes after voltwise.
        const QString panel = writeShared(u"late-swaybar"_qs,
                                          u"#!/bin/sh\nwhile [ ! -e '%1' ]; do sleep 0.1; done\n"
                                          "exec swaybar -d \"$@\" >'%2' 2>&1\n"_qs.arg(
                                              m_dir.filePath(u"start-panel"_qs), panelLog),
                                          QFile::ExeOwner | QFile::ExeOther);
        const QString config = writeShared(
            u"sway.conf"_qs,
            u"xwayland disable\noutput HEADLESS-1 resolution 1280x800\n"
            "bar {\n position top\n swaybar_command %1\n tray_output *\n}\n"_qs.arg(panel),
            {});
        QVERIFY(!panel.isEmpty() && !config.isEmpty());

        QProcessEnvironment compositor = QProcessEnvironment::systemEnvironment();
        compositor.remove(u"DISPLAY"_qs);
        compositor.remove(u"WAYLAND_DISPLAY"_qs);
        compositor.insert(u"XDG_RUNTIME_DIR"_qs, m_runtime);
        compositor.insert(u"DBUS_SESSION_BUS_ADDRESS"_qs, m_bus.address());
        compositor.insert(u"WLR_BACKENDS"_qs, u"headless"_qs);
        compositor.insert(u"WLR_LIBINPUT_NO_DEVICES"_qs, u"1"_qs);
        compositor.insert(u"WLR_RENDERER"_qs, u"pixman"_qs);
        m_sway.setProcessEnvironment(compositor);
        m_sway.setStandardErrorFile(m_dir.filePath(u"sway.log"_qs));
        const QString compositorProgram = compositorCommand.takeFirst();
        m_sway.start(compositorProgram, compositorCommand << u"-c"_qs << config);
        QVERIFY(m_sway.waitForStarted());
        QVERIFY2(Poll([this] {
                     return !runtimeFile(u"sway-ipc.*.sock"_qs).isEmpty() &&
                            !runtimeFile(u"wayland-?"_qs).isEmpty();
                 }),
                 qPrintable(logOf(u"sway.log"_qs)));
        // Every other program: the compositor by its sockets' paths, the bus.
        m_desktop = QProcessEnvironment::systemEnvironment();
        m_desktop.insert(u"WAYLAND_DISPLAY"_qs, runtimeFile(u"wayland-?"_qs));
        m_desktop.insert(u"SWAYSOCK"_qs, runtimeFile(u"sway-ipc.*.sock"_qs));
        m_desktop.insert(u"XDG_RUNTIME_DIR"_qs, root);
        m_desktop.insert(u"DBUS_SESSION_BUS_ADDRESS"_qs, m_bus.address());
        m_desktop.remove(u"DISPLAY"_qs);

        m_dunst.setProcessEnvironment(m_desktop);
        m_dunst.setStandardErrorFile(m_dir.filePath(u"dunst.log"_qs));
        m_dunst.start(u"dunst"_qs, {});
        QVERIFY(m_dunst.waitForStarted());
        QVERIFY2(Poll([this] {
                     return m_session.interface()->isServiceRegistered(
                         u"org.freedesktop.Notifications"_qs);
                 }),
                 qPrintable(logOf(u"dunst.log"_qs)));

        m_simUrl = StartSimulator(m_sim);
        QVERIFY(m_simUrl.isValid());
    }

    void cleanupTestCase() { StopAll({&m_voltwise, &m_sim, &m_dunst, &m_sway}); }

    void iconMenuAndNotificationsWithALatePanel()
    {
        const QString file = m_dir.filePath(u"config/Ternwood/Voltwise.conf"_qs);
        WriteConfiguration(file, m_simUrl,
                           {{u"Settings/ShowAtStartup"_qs, u"False"_qs},
                            {u"WindowSettings/frmMain"_qs, u"1500,1200,4875,7500,0"_qs}});
        QProcessEnvironment env = m_desktop;
        env.insert(u"QT_QPA_PLATFORM"_qs, u"wayland"_qs);
        env.insert(u"XDG_CONFIG_HOME"_qs, m_dir.filePath(u"config"_qs));
        env.insert(u"LC_ALL"_qs, u"C.UTF-8"_qs);
        env.insert(u"VOLTWISE_TEST_MINUTE_MS"_qs, u"1000"_qs);
        // Mesa's driver, without frame pointers, is unloaded when Qt closes
        // its EGL display, before the leak check: only the full unwinder
        // reaches libEGL, whose allocations the suppressions name.
        const QString sanitizer = env.value(u"ASAN_OPTIONS"_qs);
        env.insert(u"ASAN_OPTIONS"_qs, (sanitizer.isEmpty() ? QString() : sanitizer + u':') +
                                           u"fast_unwind_on_malloc=0"_qs);
        m_voltwise.setProcessEnvironment(env);
        m_voltwise.setStandardErrorFile(m_dir.filePath(u"voltwise.log"_qs));
        QElapsedTimer started;
        started.start();
        m_voltwise.start(QStringLiteral(VOLTWISE_BINARY), {});
        QVERIFY(m_voltwise.waitForStarted());
        const auto diagnosis = [this] {
            return (u"voltwise:\n"_qs + logOf(u"voltwise.log"_qs) + u"\nswaybar:\n"_qs +
                    logOf(u"swaybar.log"_qs))
                .toLocal8Bit();
        };

        // No panel yet: the window stands in for the icon, and says so.
        QVERIFY2(
            Poll([this] { return logOf(u"voltwise.log"_qs).contains(u"no notification area"_qs); }),
            diagnosis().constData());
        QVERIFY2(Poll([this] { return windowShown(u"Voltwise"_qs); }), qPrintable(tree()));

        // The panel comes six seconds after voltwise.
        QTest::qWait(std::max<int>(0, 6000 - int(started.elapsed())));
        QFile(m_dir.filePath(u"start-panel"_qs)).open(QIODevice::WriteOnly);
        const QString service = u"org.kde.StatusNotifierItem-%1-1"_qs.arg(m_voltwise.processId());
        QVERIFY2(Poll([&] {
                     return logOf(u"swaybar.log"_qs)
                         .contains(u"Registering Status Notifier Item '"_qs + service);
                 }),
                 diagnosis().constData());
        // The panel draws the traffic light: green, the grid is normal.
        QVERIFY2(Poll([this] { return litPixelsInTheBar(qRgb(0x22, 0xdd, 0x4f)) > 4; }),
                 "no green lamp in the panel (screen.png in the test's folder)");

        // The menu is the panel's to draw.
        const QVariant menu =
            callItem(service, u"/StatusNotifierItem"_qs, u"org.freedesktop.DBus.Properties"_qs,
                     u"Get"_qs, {u"org.kde.StatusNotifierItem"_qs, u"Menu"_qs})
                .arguments()
                .value(0);
        const QString path = menu.value<QDBusVariant>().variant().value<QDBusObjectPath>().path();
        QVERIFY2(!path.isEmpty() && path != u"/NO_DBUSMENU"_qs, qPrintable(path));
        const QDBusMessage layout = callItem(service, path, u"com.canonical.dbusmenu"_qs,
                                             u"GetLayout"_qs, {0, -1, QStringList{u"label"_qs}});
        QStringList labels;
        for (const auto &item :
             qdbus_cast<DBusMenuLayoutItem>(layout.arguments().value(1)).children)
            labels << item.properties.value(u"label"_qs).toString();
        for (const char *label : {"_Details...", "_Options...", "_Help...", "_About...", "E_xit"})
            QVERIFY2(labels.contains(QLatin1String(label)), qPrintable(labels.join(u" | "_qs)));

        // A change of the grid's condition goes to the notification centre,
        // and no window of its own opens.
        QVERIFY2(Poll([this] { return notificationHistory().contains(u"System Normal: "_qs); }),
                 diagnosis().constData());
        QVERIFY(ControlSimulator(m_simUrl, u"/_sim/advance"_qs));
        QVERIFY2(Poll([this] { return notificationHistory().contains(u"Alert Notice: "_qs); }),
                 diagnosis().constData());
        QVERIFY2(!windowShown(u"Voltwise Notice"_qs), qPrintable(tree()));

        // Closed, the window goes to the panel; the panel's click brings it back.
        run(u"swaymsg"_qs, {u"[title=\"^Voltwise$\"] kill"_qs});
        QVERIFY2(Poll([this] { return !windowShown(u"Voltwise"_qs); }), qPrintable(tree()));
        callItem(service, u"/StatusNotifierItem"_qs, u"org.kde.StatusNotifierItem"_qs,
                 u"Activate"_qs, {0, 0});
        QVERIFY2(Poll([this] { return windowShown(u"Voltwise"_qs); }), qPrintable(tree()));

        // Once the chimes are over, nothing of the audio stack stays.
        const auto audioMapped = [this] {
            QFile maps(u"/proc/%1/maps"_qs.arg(m_voltwise.processId()));
            const QByteArray mapped = maps.open(QIODevice::ReadOnly) ? maps.readAll() : "?";
            for (const char *library : {"libcanberra", "libpulse", "libQt6Multimedia", "?"})
                if (mapped.contains(library))
                    return QByteArray(library);
            return QByteArray();
        };
        QVERIFY2(Poll([&] { return audioMapped().isEmpty(); }), audioMapped().constData());

        ::kill(m_voltwise.processId(), SIGTERM);
        QVERIFY(m_voltwise.waitForFinished(kLongWait));
        QVERIFY2(m_voltwise.exitCode() == 0, diagnosis().constData());
        // Wayland never told the program where its window was: the stored
        // position stays.
        const QString placement =
            QSettings(file, QSettings::IniFormat).value(u"WindowSettings/frmMain"_qs).toString();
        QVERIFY2(placement.startsWith(u"1500,1200,"_qs), qPrintable(placement));
    }
};

QTEST_GUILESS_MAIN(TestE2eWayland)
#include "test_e2e_wayland.moc"
