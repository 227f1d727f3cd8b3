#include "gridsim/operator_format.h"
#include "gridsim/page_writers.h"

namespace voltwise::gridsim {

namespace {

QString ConditionsText(ConditionLevel level)
{
    switch (level) {
    case LevelAlert:
        return QStringLiteral("Alert");
    case LevelWarning:
        return QStringLiteral("Warning");
    case LevelStage1:
        return QStringLiteral("Stage 1 Emergency");
    case LevelStage2:
        return QStringLiteral("Stage 2 Emergency");
    case LevelStage3:
        return QStringLiteral("Stage 3 Emergency");
    case LevelLoadInterruptions:
        return QStringLiteral("Stage 3 Emergency - Load Interruptions in Progress");
    default:
        return QStringLiteral("Normal");
    }
}

QString StatusTable(const GridSnapshot &s)
{
    const QString effective =
        s.level == LevelNormal
            ? u"No emergency notices are in effect"_qs
            : OperatorDateTime(s.levelStart) + u" through "_qs + OperatorDateTime(s.levelEnd);
    return u"<TABLE WIDTH=\"560\" BORDER=\"1\" CELLPADDING=\"4\" CELLSPACING=\"0\">\n"
           u"<TR><TD WIDTH=\"40%\"><B>System Conditions:</B></TD><TD><B>"_qs +
           ConditionsText(s.level) +
           u"</B></TD></TR>\n"
           u"<TR><TD><B>In Effect:</B></TD><TD>"_qs +
           effective + u"</TD></TR>\n</TABLE>\n"_qs;
}

QString PreBody(const QStringList &texts)
{
    return u"<pre>"_qs + texts.join(u"\n\n") + u"</pre>"_qs;
}

} // namespace

QByteArray WriteStatusPage(const GridSnapshot &s)
{
    const QString page =
        u"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n"
        u"<html>\n<head>\n<title>California ISO - System Status</title>\n"
        u"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">\n"
        u"<meta http-equiv=\"Refresh\" content=\"300\">\n</head>\n"
        u"<body bgcolor=\"#FFFFFF\" text=\"#000000\">\n"
        u"<font face=\"Arial, Helvetica, sans-serif\">\n"
        u"<h2>ISO System Status</h2>\n"_qs +
        StatusTable(s) + u"<p><font size=\"-1\">Page updated "_qs + OperatorDateTime(s.produced) +
        u". System conditions are reviewed every ten minutes.</font></p>\n"
        u"<h3>Current Active Notice(s)</h3>\n"_qs +
        PreBody(s.activeNotices) + u"\n<h3>Pending Notices</h3>\n"_qs + PreBody(s.pendingNotices) +
        u"\n<hr>\n<p><font size=\"-1\">California Independent System Operator</font></p>\n"
        u"</font>\n</body>\n</html>\n"_qs;
    return page.toLatin1();
}

QByteArray WriteForecastPage(const GridSnapshot &s)
{
    const QString page =
        u"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n"
        u"<html>\n<head>\n<title>California ISO - Forecasted Notifications</title>\n"
        u"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">\n"
        u"</head>\n<body bgcolor=\"#FFFFFF\">\n"
        u"<h2>Current Active Forecast(s)</h2>\n"_qs +
        PreBody(s.forecasts) +
        u"\n<p><font size=\"-1\">Forecasts of load reductions are issued 48 hours, 24 hours and "
        u"1 hour ahead of expected interruptions. Page updated "_qs +
        OperatorDateTime(s.produced) + u".</font></p>\n</body>\n</html>\n"_qs;
    return page.toLatin1();
}

} // namespace voltwise::gridsim
