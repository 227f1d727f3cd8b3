#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace voltwise {

// Whether the program starts when the user logs in. Failures show only in
// the results.
class StartupEntry
{
public:
    virtual ~StartupEntry() = default;
    virtual bool isRegistered() const = 0;
    virtual bool registerProgram() = 0;
    virtual bool unregister() = 0;
};

// The user's XDG autostart entry "voltwise.desktop" in `directory`, starting
// `program` (an absolute path). Written whole through a temporary file, so a
// reader never sees half an entry.
class XdgAutostartEntry final : public StartupEntry
{
public:
    XdgAutostartEntry(QString directory, QString program);

    // $XDG_CONFIG_HOME/autostart, normally ~/.config/autostart.
    static QString defaultDirectory();

    QString filePath() const;
    // The program the entry starts; nullopt when there is no entry, it is
    // hidden, or its command is empty.
    std::optional<QString> registeredProgram() const;

    bool isRegistered() const override { return registeredProgram().has_value(); }
    bool registerProgram() override;
    bool unregister() override;

private:
    QString m_directory;
    QString m_program;
};

// The "Exec" value that runs `program` with no arguments, quoted and escaped
// by the desktop-entry rules, as written in the file.
QString DesktopExecValue(const QString &program);

// The command line of an "Exec" value as read from a file.
QStringList DesktopExecArguments(const QString &value);

} // namespace voltwise
