#include "settings/ini_codec.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

namespace voltwise {

IniCodec::IniCodec() = default;
IniCodec::~IniCodec() = default;

std::optional<QString> IniCodec::nextScratchFile()
{
    if (!m_scratch) {
        auto dir = std::make_unique<QTemporaryDir>();
        if (!dir->isValid())
            return std::nullopt;
        m_scratch = std::move(dir);
    }
    return m_scratch->filePath(QString::number(++m_counter) + u".conf"_qs);
}

std::optional<IniEntries> IniCodec::parse(const QByteArray &text, bool *scratchFailed)
{
    if (scratchFailed)
        *scratchFailed = true;
    const std::optional<QString> path = nextScratchFile();
    if (!path)
        return std::nullopt;
    {
        QFile file(*path);
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            return std::nullopt;
    }
    if (scratchFailed)
        *scratchFailed = false;

    std::optional<IniEntries> entries;
    {
        QSettings settings(*path, QSettings::IniFormat);
        // allKeys() parses every section, which is when malformed lines are found.
        const QStringList keys = settings.allKeys();
        if (settings.status() == QSettings::NoError) {
            entries.emplace();
            for (const QString &key : keys)
                entries->insert(key, settings.value(key));
        }
    }
    QFile::remove(*path);
    return entries;
}

std::optional<QByteArray> IniCodec::serialize(const IniEntries &entries)
{
    const std::optional<QString> path = nextScratchFile();
    if (!path)
        return std::nullopt;

    bool stored = false;
    {
        QSettings settings(*path, QSettings::IniFormat);
        for (auto it = entries.cbegin(); it != entries.cend(); ++it)
            settings.setValue(it.key(), it.value());
        settings.sync();
        stored = settings.status() == QSettings::NoError;
    }

    std::optional<QByteArray> text;
    if (stored) {
        QFile file(*path);
        if (file.open(QIODevice::ReadOnly))
            text = file.readAll();
        else if (!file.exists())
            text = QByteArray(); // nothing to write for an empty set
    }
    QFile::remove(*path);
    return text;
}

} // namespace voltwise
