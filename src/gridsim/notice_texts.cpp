#include "gridsim/notice_texts.h"

#include "gridsim/operator_format.h"

namespace voltwise::gridsim {

namespace {

QString Span(const QDateTime &start, const QDateTime &end)
{
    return OperatorDateTime(start) + u" through "_qs + OperatorDateTime(end);
}

QString Emergency(const GridSnapshot &s, const QString &stage, const QString &reason)
{
    return u"%1 EMERGENCY NOTICE\n"
           u"The California ISO has declared a %2 Electrical Emergency, effective %3.\n"
           u"%4\n"
           u"Consumers are urged to conserve electricity."_qs.arg(
               stage.toUpper(), stage, Span(s.levelStart, s.levelEnd), reason);
}

QString Territories(const TerritoryInterruptions &cut)
{
    return u"  PG&E Service Territory        %1 MW\n"
           u"  SCE Service Territory         %2 MW\n"
           u"  SDG&E Service Territory       %3 MW\n"
           u"  Vernon Municipal Utility      %4 MW\n"
           u"  Pasadena Municipal Utility    %5 MW"_qs.arg(
               Megawatts(cut.pge), Megawatts(cut.sce), Megawatts(cut.sdge), Megawatts(cut.vernon),
               Megawatts(cut.pasadena));
}

QString ForecastText(const ForecastNotice &n)
{
    QString text = n.keyword + u'\n';
    if (n.megawatts)
        text += u"Load interruptions of up to %1 MW are forecast from %2.\n"_qs.arg(
            Megawatts(*n.megawatts), Span(n.start, n.end));
    else
        text += u"Load interruptions may be needed from %1.\n"_qs.arg(Span(n.start, n.end));
    text += u"Amounts by utility service territory will follow in later notices."_qs;
    return text;
}

} // namespace

void WriteNoticeTexts(GridSnapshot &s)
{
    s.activeNotices.clear();
    s.pendingNotices.clear();
    s.forecasts.clear();
    const QString issued = OperatorDateTime(s.levelStart);

    switch (s.level) {
    case LevelAlert:
        s.activeNotices
            << u"ALERT NOTICE issued %1\n"
               u"Operating reserves for tomorrow are forecast to fall below 7 percent.\n"
               u"Market participants are asked to offer all available resources."_qs.arg(issued);
        s.pendingNotices << u"A Warning notice will follow if reserves keep falling."_qs;
        break;
    case LevelWarning:
        s.activeNotices << u"WARNING NOTICE issued %1\n"
                           u"Operating reserves in the next hour are forecast to fall below 7 "
                           u"percent.\nThe ISO is buying power outside the market."_qs.arg(issued);
        s.pendingNotices << u"STAGE 1 EMERGENCY expected from %1."_qs.arg(
            OperatorDateTime(s.levelEnd.addSecs(-3 * 3600)));
        break;
    case LevelStage1:
        s.activeNotices << Emergency(s, u"Stage 1"_qs,
                                     u"Operating reserves have fallen below 7 percent."_qs);
        s.pendingNotices << u"STAGE 2 EMERGENCY possible later today."_qs;
        break;
    case LevelStage2:
        s.activeNotices << Emergency(s, u"Stage 2"_qs,
                                     u"Operating reserves have fallen below 5 percent.\n"
                                     u"Interruptible customers are being curtailed."_qs);
        s.pendingNotices << u"STAGE 3 EMERGENCY possible later today."_qs;
        break;
    case LevelStage3:
        s.activeNotices << Emergency(s, u"Stage 3"_qs,
                                     u"Operating reserves have fallen below 1.5 percent."_qs);
        s.pendingNotices << u"LOAD INTERRUPTIONS are imminent."_qs;
        break;
    case LevelLoadInterruptions:
        s.activeNotices << Emergency(s, u"Stage 3"_qs,
                                     u"Rotating load interruptions are in progress:\n"_qs +
                                         Territories(s.interruptions));
        break;
    default:
        break;
    }
    if (s.forecastNotice)
        s.forecasts << ForecastText(*s.forecastNotice);
}

} // namespace voltwise::gridsim
