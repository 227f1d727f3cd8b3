#pragma once

#include "core/download/charset_decoding.h"

#include <QByteArrayView>
#include <QList>
#include <QLocale>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace voltwise::fuzz {

// Texts reach the readers decoded from the bytes of a response or a file;
// UTF-8 yields every character a decoder can produce.
inline QString Text(const std::uint8_t *data, std::size_t size)
{
    return DecodeText(QByteArrayView(data, qsizetype(size)), "utf-8");
}

// The operator's locale and a few users' locales that differ in separators,
// date order and grouping.
inline const QList<QLocale> &Locales()
{
    static const QList<QLocale> locales = {QLocale(QLocale::English, QLocale::UnitedStates),
                                           QLocale(QLocale::German, QLocale::Germany),
                                           QLocale(QLocale::French, QLocale::France), QLocale::c(),
                                           QLocale(QLocale::Japanese, QLocale::Japan)};
    return locales;
}

// A broken promise is a finding: it stops the fuzzer like a crash does.
inline void Check(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "check failed: %s\n", what);
        std::abort();
    }
}

} // namespace voltwise::fuzz
