#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>
#include <utility>

namespace voltwise {

enum class RegistryRoot
{
    CurrentUser,  // HKEY_CURRENT_USER
    LocalMachine, // HKEY_LOCAL_MACHINE
};

// Data of a value: a QString for text, a qint32 for a 32-bit number, a
// QByteArray for anything else.
struct RegistryValue
{
    QString name;
    QVariant data;
};

using RegistryStringValues = QList<std::pair<QString, QString>>;

// A hierarchical store of named values, addressed by root, a key path with
// backslashes ("Software\Ternwood\Voltwise\Settings") and a value name. The
// empty value name is the key's unnamed value. Failures show up only in the
// results; no operation throws or shows anything.
class RegistryBackend
{
public:
    virtual ~RegistryBackend() = default;

    // True when the key can be opened for reading.
    virtual bool keyExists(RegistryRoot root, const QString &path) const = 0;

    // The names of the key's direct subkeys; nullopt when the key does not open.
    virtual std::optional<QStringList> subKeyNames(RegistryRoot root,
                                                   const QString &path) const = 0;

    // The key's values in enumeration order; nullopt when the key does not open.
    virtual std::optional<QList<RegistryValue>> values(RegistryRoot root,
                                                       const QString &path) const = 0;

    // One value's data; nullopt when the key or the value is missing.
    virtual std::optional<QVariant> value(RegistryRoot root, const QString &path,
                                          const QString &name) const = 0;

    // Writes text values in the given order, creating the key when missing.
    // All of them reach the store or none does; true once they are stored.
    virtual bool setStringValues(RegistryRoot root, const QString &path,
                                 const RegistryStringValues &values) = 0;

    // True when the value existed and is gone.
    virtual bool deleteValue(RegistryRoot root, const QString &path, const QString &name) = 0;

    // Deletes the key with all its subkeys and values; true when it existed and is gone.
    virtual bool deleteKey(RegistryRoot root, const QString &path) = 0;
};

} // namespace voltwise
