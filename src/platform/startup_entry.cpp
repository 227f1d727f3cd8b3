#include "platform/startup_entry.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace voltwise {

namespace {

constexpr QStringView kFileName = u"voltwise.desktop";
constexpr QStringView kGroup = u"[Desktop Entry]";

// Characters that make the desktop's launcher read an argument differently
// unless it is quoted.
constexpr QStringView kReserved = u" \t\n\"'\\><~|&;$*?#()`";

// The escapes of every string value, undone before the Exec rules apply.
QString EscapeString(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\\':
            out += u"\\\\";
            break;
        case u'\n':
            out += u"\\n";
            break;
        case u'\t':
            out += u"\\t";
            break;
        case u'\r':
            out += u"\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString UnescapeString(const QString &text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        switch (text[++i].unicode()) {
        case u's':
            out += u' ';
            break;
        case u'n':
            out += u'\n';
            break;
        case u't':
            out += u'\t';
            break;
        case u'r':
            out += u'\r';
            break;
        case u'\\':
            out += u'\\';
            break;
        default:
            out += u'\\';
            out += text[i];
        }
    }
    return out;
}

// The values of the main group, by key.
QHash<QString, QString> ReadEntry(const QString &path)
{
    QHash<QString, QString> values;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return values;
    bool inGroup = false;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (line.startsWith(u'[')) {
            inGroup = line == kGroup;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inGroup || line.startsWith(u'#') || equals < 1)
            continue;
        values.insert(line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
    }
    return values;
}

} // namespace

QString DesktopExecValue(const QString &program)
{
    QString argument = program;
    argument.replace(u'%', u"%%"_qs);
    const bool quote =
        argument.isEmpty() || std::any_of(argument.begin(), argument.end(),
                                          [](QChar c) { return kReserved.contains(c); });
    if (quote) {
        QString quoted = u"\""_qs;
        for (const QChar c : std::as_const(argument)) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                quoted += u'\\';
            quoted += c;
        }
        argument = quoted + u'"';
    }
    return EscapeString(argument);
}

QStringList DesktopExecArguments(const QString &value)
{
    const QString command = UnescapeString(value);
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool quoted = false;
    for (qsizetype i = 0; i < command.size(); ++i) {
        const QChar c = command[i];
        if (quoted) {
            if (c == u'"')
                quoted = false;
            else if (c == u'\\' && i + 1 < command.size())
                current += command[++i];
            else if (c == u'%' && i + 1 < command.size() && command[i + 1] == u'%')
                current += command[++i];
            else
                current += c;
        } else if (c == u' ' || c == u'\t' || c == u'\n') {
            if (inArgument)
                arguments << current;
            current.clear();
            inArgument = false;
        } else {
            inArgument = true;
            if (c == u'"')
                quoted = true;
            else if (c == u'%' && i + 1 < command.size() && command[i + 1] == u'%')
                current += command[++i];
            else
                current += c;
        }
    }
    if (inArgument)
        arguments << current;
    return arguments;
}

XdgAutostartEntry::XdgAutostartEntry(QString directory, QString program)
    : m_directory(std::move(directory))
    , m_program(std::move(program))
{}

QString XdgAutostartEntry::defaultDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           u"/autostart"_qs;
}

QString XdgAutostartEntry::filePath() const
{
    return QDir(m_directory).filePath(kFileName.toString());
}

std::optional<QString> XdgAutostartEntry::registeredProgram() const
{
    const QHash<QString, QString> entry = ReadEntry(filePath());
    if (entry.value(u"Hidden"_qs) == u"true")
        return std::nullopt;
    const QStringList command = DesktopExecArguments(entry.value(u"Exec"_qs));
    if (command.isEmpty() || command.first().isEmpty())
        return std::nullopt;
    return command.first();
}

bool XdgAutostartEntry::registerProgram()
{
    if (!QDir().mkpath(m_directory))
        return false;
    QSaveFile file(filePath());
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QString text = u"[Desktop Entry]\n"
                         "Type=Application\n"
                         "Name=Voltwise\n"
                         "Exec="_qs +
                         DesktopExecValue(m_program) + u"\nX-GNOME-Autostart-enabled=true\n"_qs;
    file.write(text.toUtf8());
    return file.commit();
}

bool XdgAutostartEntry::unregister()
{
    return QFile::remove(filePath());
}

} // namespace voltwise
