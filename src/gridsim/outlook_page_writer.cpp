#include "gridsim/operator_format.h"
#include "gridsim/page_writers.h"

#include <QLocale>

#include <functional>

namespace voltwise::gridsim {

namespace {

using Series = std::function<std::optional<double>(const HourFigures &)>;

QString Row(const QString &key, const GridSnapshot &s, int firstHourEnding, const Series &value)
{
    QString row = u"<tr>\n  <td class=\"key\" nowrap>"_qs + key + u"</td>\n "_qs;
    for (int he = firstHourEnding; he < firstHourEnding + 12; ++he) {
        const std::optional<double> mw = value(s.hours[std::size_t(he - 1)]);
        row += u" <td align=\"right\">"_qs + (mw ? Megawatts(*mw) : QString()) + u"</td>"_qs;
    }
    return row + u"\n</tr>\n"_qs;
}

QString Table(const GridSnapshot &s, int firstHourEnding)
{
    QString table = u"<table border=\"1\" cellpadding=\"3\" cellspacing=\"0\">\n"
                    u"<tr>\n  <th align=\"left\">Hour Ending</th>\n "_qs;
    for (int he = firstHourEnding; he < firstHourEnding + 12; ++he)
        table += u" <th>"_qs + QString::number(he) + u"</th>"_qs;
    table += u"\n</tr>\n";
    table += Row(u"Day-Ahead Demand Forecast"_qs, s, firstHourEnding,
                 [](const HourFigures &h) { return std::optional(h.dayAhead); });
    table += Row(u"Hour-Ahead Demand Forecast"_qs, s, firstHourEnding,
                 [](const HourFigures &h) { return std::optional(h.hourAhead); });
    table +=
        Row(u"Actual Demand"_qs, s, firstHourEnding, [](const HourFigures &h) { return h.actual; });
    table += Row(u"Available Resources"_qs, s, firstHourEnding,
                 [](const HourFigures &h) { return std::optional(h.resources); });
    return table + u"</table>\n"_qs;
}

} // namespace

QByteArray WriteOutlookPage(const GridSnapshot &s)
{
    const QString day = QLocale::c().toString(s.produced.date(), u"dddd, MMMM d, yyyy");
    const QString page =
        u"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n"
        u"<html>\n<head>\n<title>California ISO - Today's Outlook</title>\n"
        u"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">\n"
        u"<meta http-equiv=\"Refresh\" content=\"600\">\n</head>\n"
        u"<body bgcolor=\"#FFFFFF\">\n<h2>Today's Outlook</h2>\n<p>"_qs +
        day + u" &nbsp; (megawatts by hour ending, Pacific time)</p>\n"_qs + Table(s, 1) +
        u"<br>\n"_qs + Table(s, 13) +
        u"<p><img src=\"ems_small.gif\" width=\"320\" height=\"200\" alt=\"System load\"></p>\n"
        u"<p><font size=\"-1\">Page updated "_qs +
        OperatorDateTime(s.produced) + u".</font></p>\n</body>\n</html>\n"_qs;
    return page.toLatin1();
}

} // namespace voltwise::gridsim
