#include "gridsim/sim_fault.h"

#include <QStringList>

namespace voltwise::gridsim {

namespace {

std::optional<qint64> Number(QStringView text, qint64 min, qint64 max)
{
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    if (!ok || value < min || value > max)
        return std::nullopt;
    return value;
}

std::nullopt_t Fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return std::nullopt;
}

} // namespace

std::optional<Fault> ParseFault(QStringView faultText, QString *error)
{
    Fault fault;
    for (QStringView item : faultText.split(u',', Qt::SkipEmptyParts)) {
        item = item.trimmed();
        const qsizetype colon = item.indexOf(u':');
        const QStringView name = colon < 0 ? item : item.left(colon);
        const QStringView value = colon < 0 ? QStringView() : item.mid(colon + 1);
        const bool hasValue = colon >= 0;
        if (name == u"none" && !hasValue) {
            continue;
        } else if (name == u"delay" && hasValue) {
            const auto ms = Number(value, 0, 3'600'000);
            if (!ms)
                return Fail(error, u"delay must be 0 to 3600000 ms: "_qs + item.toString());
            fault.delay = std::chrono::milliseconds(*ms);
        } else if (name == u"status" && hasValue) {
            const auto code = Number(value, 200, 599);
            if (!code)
                return Fail(error, u"status must be 200 to 599: "_qs + item.toString());
            fault.status = int(*code);
        } else if (name == u"empty" && !hasValue) {
            fault.emptyBody = true;
        } else if (name == u"html" && !hasValue) {
            fault.html = true;
        } else if (name == u"stall" && !hasValue) {
            fault.stall = true;
        } else if (name == u"cut" && !hasValue) {
            fault.cut = true;
        } else if (name == u"trickle" && hasValue) {
            const auto ms = Number(value, 1, 60000);
            if (!ms)
                return Fail(error, u"trickle must be 1 to 60000 ms: "_qs + item.toString());
            fault.trickle = std::chrono::milliseconds(*ms);
        } else if (name == u"chunked" && !hasValue) {
            fault.chunked = true;
        } else if (name == u"reset" && (value == u"head" || value == u"body")) {
            fault.reset = value == u"head" ? ResetPoint::BeforeHead : ResetPoint::InBody;
        } else if (name == u"gzip-bomb") {
            const auto bytes = hasValue ? Number(value, 1, qint64(1) << 30) : Fault::kDefaultBomb;
            if (!bytes)
                return Fail(error,
                            u"gzip-bomb must be 1 to 1073741824 bytes: "_qs + item.toString());
            fault.gzipBombBytes = *bytes;
        } else if (name == u"binary" && !hasValue) {
            fault.binary = true;
        } else if (name == u"invalid-utf8" && !hasValue) {
            fault.invalidUtf8 = true;
        } else if (name == u"redirect" && !value.isEmpty()) {
            fault.redirect = value.toString();
        } else if (name == u"oversize") {
            const auto bytes =
                hasValue ? Number(value, 1, qint64(1) << 32) : Fault::kDefaultOversize;
            if (!bytes)
                return Fail(error,
                            u"oversize must be 1 to 4294967296 bytes: "_qs + item.toString());
            fault.oversizeBytes = *bytes;
        } else {
            return Fail(error, u"unknown fault: "_qs + item.toString());
        }
    }
    return fault;
}

QString FaultText(const Fault &fault)
{
    QStringList items;
    if (fault.delay.count() > 0)
        items << u"delay:"_qs + QString::number(fault.delay.count());
    if (fault.status != 0)
        items << u"status:"_qs + QString::number(fault.status);
    if (fault.emptyBody)
        items << u"empty"_qs;
    if (fault.html)
        items << u"html"_qs;
    if (fault.stall)
        items << u"stall"_qs;
    if (fault.cut)
        items << u"cut"_qs;
    if (fault.oversizeBytes > 0)
        items << u"oversize:"_qs + QString::number(fault.oversizeBytes);
    if (fault.chunked)
        items << u"chunked"_qs;
    if (fault.trickle.count() > 0)
        items << u"trickle:"_qs + QString::number(fault.trickle.count());
    if (fault.reset != ResetPoint::None)
        items << (fault.reset == ResetPoint::BeforeHead ? u"reset:head"_qs : u"reset:body"_qs);
    if (fault.gzipBombBytes > 0)
        items << u"gzip-bomb:"_qs + QString::number(fault.gzipBombBytes);
    if (fault.binary)
        items << u"binary"_qs;
    if (fault.invalidUtf8)
        items << u"invalid-utf8"_qs;
    if (!fault.redirect.isEmpty())
        items << u"redirect:"_qs + fault.redirect;
    return items.isEmpty() ? u"none"_qs : items.join(u',');
}

std::optional<PathFault> ParsePathFault(QStringView option, QString *error)
{
    const qsizetype equals = option.indexOf(u'=');
    if (equals <= 0 || !(option.startsWith(u'/') || option.startsWith(u"*=")))
        return Fail(error,
                    u"expected PATH=FAULT with PATH starting with / or *: "_qs + option.toString());
    const auto fault = ParseFault(option.mid(equals + 1), error);
    if (!fault)
        return std::nullopt;
    return PathFault{option.left(equals).toString(), *fault};
}

} // namespace voltwise::gridsim
