#pragma once

#include "platform/sound_player.h"

#include <QObject>
#include <QPointer>

class QProcess;

namespace voltwise {

// Plays each sound in a process of its own, the chime program, which plays it
// through the desktop's event sounds and exits: the audio stack never enters
// this program. The processes are children of the output until they end.
class ChimeProcessOutput final : public QObject, public WaveOutput
{
public:
    explicit ChimeProcessOutput(QString program);
    ~ChimeProcessOutput() override;

    void play(const QString &absolutePath) override;
    void stop() override;

private:
    QString m_program;
    QPointer<QProcess> m_playing;
};

// The chime program for a program in programFolder: beside it, as in the
// build tree, or in lib/voltwise of an installed program; when neither holds
// it, the path beside the program. The category "voltwise.files" logs where
// it was found at debug level, and warns when it was not.
QString ChimeProgramPath(const QString &programFolder);

} // namespace voltwise
