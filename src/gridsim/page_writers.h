#pragma once

#include "gridsim/grid_snapshot.h"

#include <QByteArray>

namespace voltwise::gridsim {

// The operator's HTML pages, Latin-1 encoded. The page readers search them
// as plain text, so the marker words and the letter case of the tags
// around them matter.

// "/awe/SP/systemstatus.html": "ISO System Status" with a <TABLE> that
// changes only when the level does, then "Current Active Notice(s)" and
// "Pending Notices", each with a <pre> body (empty when there is none).
QByteArray WriteStatusPage(const GridSnapshot &snapshot);

// "/awe/forecast.html": "Current Active Forecast(s)" with a <pre> body.
QByteArray WriteForecastPage(const GridSnapshot &snapshot);

// "/outlook/SP/outlook.html": two tables, hours ending 1-12 and 13-24, each
// with one row per series, the series name in its own cell followed by
// twelve cells of megawatts ("31,456"); hours still to come have empty
// actual demand cells.
QByteArray WriteOutlookPage(const GridSnapshot &snapshot);

// The HTML body of an error status, e.g. "<title>404 Not Found</title>".
QByteArray WriteErrorPage(int status, const QString &path);

// "Not Found" for 404; "Unknown" for codes without a known phrase.
QByteArray ReasonPhrase(int status);

} // namespace voltwise::gridsim
