#pragma once

#include <QObject>

class QSocketNotifier;

namespace voltwise {

// Turns SIGTERM, SIGINT and SIGHUP (the desktop session or the system
// ending the program) into a Qt signal on the event loop, so the program
// can save its settings and leave in order instead of dying mid-write.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

Q_SIGNALS:
    void terminationRequested(int signalNumber);

private:
    void readSignal();
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace voltwise
