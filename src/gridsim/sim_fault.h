#pragma once

#include <QString>
#include <QStringView>

#include <chrono>
#include <optional>

namespace voltwise::gridsim {

// How a connection is cut with a reset (RST) instead of a proper close.
enum class ResetPoint
{
    None,
    BeforeHead, // as soon as the request is in
    InBody      // after the head and half of the body
};

// What goes wrong when one path is requested. The default value is no fault.
struct Fault
{
    static constexpr qint64 kDefaultOversize = 10 * 1024 * 1024;
    static constexpr qint64 kDefaultBomb = 64 * 1024 * 1024;

    std::chrono::milliseconds delay{0}; // before anything is sent
    int status = 0;                     // 200..599; 0 keeps the resource's own status
    bool emptyBody = false;
    bool html = false;        // an HTML page instead of the resource, as a portal sends
    bool stall = false;       // headers announce more than is sent; then silence, kept open
    bool cut = false;         // headers announce more than is sent; then the connection closes
    qint64 oversizeBytes = 0; // a filler body of this size instead of the resource
    bool chunked = false;     // chunked transfer coding instead of a Content-Length
    std::chrono::milliseconds trickle{0}; // the body in small pieces, one per interval
    ResetPoint reset = ResetPoint::None;
    qint64 gzipBombBytes = 0; // a gzip body that inflates to this many zero bytes
    bool binary = false;      // pseudo-random bytes, NULs included, under the resource's type
    bool invalidUtf8 = false; // the resource labelled UTF-8 with invalid sequences mixed in
    QString redirect{};       // 302 to this address; "self" is the requested path

    bool isNone() const { return *this == Fault{}; }
    friend bool operator==(const Fault &, const Fault &) = default;
};

// FAULT: comma-separated items "delay:MS", "status:CODE", "empty", "html",
// "stall", "oversize[:BYTES]" (10 MiB by default), "chunked", "trickle:MS",
// "cut", "reset:head", "reset:body", "gzip-bomb[:BYTES]" (64 MiB by
// default), "binary", "invalid-utf8", "redirect:self" or "redirect:URL";
// "none" or nothing is no fault. Example: "delay:1500,status:500".
std::optional<Fault> ParseFault(QStringView faultText, QString *error = nullptr);

// The canonical FAULT of a fault ("none" for no fault).
QString FaultText(const Fault &fault);

struct PathFault
{
    QString path;
    Fault fault;
};

// "PATH=FAULT", e.g. "/awe/forecast.html=status:404". PATH starts with "/",
// or is "*" for every resource.
std::optional<PathFault> ParsePathFault(QStringView option, QString *error = nullptr);

} // namespace voltwise::gridsim
