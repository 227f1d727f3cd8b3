#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;

namespace voltwise {

// One running instance per user and configuration. The first process takes
// a lock file and listens on a local socket beside it; later ones find the
// lock taken and ask the running instance to show itself.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    // key names the instance; the files live in runtimeDirectory, which
    // must be the user's own (see defaultRuntimeDirectory). Without one, the
    // program runs unguarded.
    SingleInstance(const QString &runtimeDirectory, const QString &key, QObject *parent = nullptr);
    ~SingleInstance() override;

    // The key for the current user's configuration folder, so that an
    // isolated configuration (a demo, a test) runs beside the user's own.
    static QString defaultKey();
    // $XDG_RUNTIME_DIR, else "voltwise" in the user's cache folder: never a
    // folder that another user can fill first. Empty when neither is private
    // to the user.
    static QString defaultRuntimeDirectory();

    // True when this process is now the running instance.
    bool tryBecomePrimary();

    // Asks the running instance to restore and raise its window. Returns
    // true when it acknowledged. Waits a few seconds at most.
    bool activatePrimary();

Q_SIGNALS:
    void activationRequested();

private:
    void acceptConnections();

    QString m_directory;
    QString m_socketPath;
    QLockFile m_lock;
    std::unique_ptr<QLocalServer> m_server;
};

} // namespace voltwise
