#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QVariant>

#include <memory>
#include <optional>

class QTemporaryDir;

namespace voltwise {

// Full QSettings keys ("Section/Key") and their values.
using IniEntries = QMap<QString, QVariant>;

// Reads and writes the text of an INI configuration file with QSettings.
//
// QSettings only works on named files and keeps a process-wide cache of what
// it read, trusting a file whose size and modification time look unchanged.
// Another process can replace the file within one timestamp tick, so every
// conversion here goes through a scratch file of its own name: QSettings never
// sees a name twice and never answers from a stale cache.
class IniCodec
{
public:
    IniCodec();
    ~IniCodec();
    IniCodec(const IniCodec &) = delete;
    IniCodec &operator=(const IniCodec &) = delete;

    // nullopt when QSettings reports the text as malformed or the scratch
    // file cannot be used; scratchFailed tells the second case apart, in
    // which the text itself may be fine.
    std::optional<IniEntries> parse(const QByteArray &text, bool *scratchFailed = nullptr);

    std::optional<QByteArray> serialize(const IniEntries &entries);

private:
    std::optional<QString> nextScratchFile();

    std::unique_ptr<QTemporaryDir> m_scratch;
    quint64 m_counter = 0;
};

} // namespace voltwise
