#pragma once

#include "core/server_urls.h"

#include <QString>
#include <QStringView>
#include <QUrl>
#include <QtGlobal>

#include <array>

namespace voltwise {

// Which configured server a link goes to.
enum class LinkServer
{
    None, // a separator line
    GridMain,
    Maker,
    Pge,
    Sce,
    Sdge,
    SdgeBlackout
};

// One row of the web links offered by the Tools menu and the icon menu; both
// menus use the row's index for the same target.
struct Link
{
    // Untranslated: menus show them through QCoreApplication::translate("Links", …).
    const char *toolsCaption;
    const char *trayCaption;
    LinkServer server;
    QStringView path; // empty: the server's home page

    bool isSeparator() const { return server == LinkServer::None; }
};

inline constexpr std::array<Link, 11> kLinks{{
    {QT_TRANSLATE_NOOP("Links", "California ISO Home"),
     QT_TRANSLATE_NOOP("Links", "California ISO Home"), LinkServer::GridMain, u""},
    {QT_TRANSLATE_NOOP("Links", "California ISO Current System Conditions"),
     QT_TRANSLATE_NOOP("Links", "California ISO System Conditions"), LinkServer::GridMain,
     u"/outlook/SystemStatus.html"},
    {"-", "-", LinkServer::None, u""},
    {QT_TRANSLATE_NOOP("Links", "Voltwise Home"), QT_TRANSLATE_NOOP("Links", "Voltwise &Home"),
     LinkServer::Maker, u""},
    {"-", "-", LinkServer::None, u""},
    {QT_TRANSLATE_NOOP("Links", "Pacific Gas && Electric Home"),
     QT_TRANSLATE_NOOP("Links", "Pacific Gas && Electric Home"), LinkServer::Pge, u""},
    {QT_TRANSLATE_NOOP("Links", "PG&&E Blackout Information"),
     QT_TRANSLATE_NOOP("Links", "PG&&E Blackout Information"), LinkServer::Pge,
     u"/myhome/customerservice/energystatus/gridstatus/"},
    {QT_TRANSLATE_NOOP("Links", "Southern California Edison Home"),
     QT_TRANSLATE_NOOP("Links", "Southern California Edison Home"), LinkServer::Sce, u""},
    {QT_TRANSLATE_NOOP("Links", "SCE Blackout Information"),
     QT_TRANSLATE_NOOP("Links", "SCE Blackout Information"), LinkServer::Sce,
     u"/PowerOutageCenter/Rotating/default.htm"},
    {QT_TRANSLATE_NOOP("Links", "San Diego Gas && Electric Home"),
     QT_TRANSLATE_NOOP("Links", "San Diego Gas && Electric Home"), LinkServer::Sdge, u""},
    {QT_TRANSLATE_NOOP("Links", "SDG&&E Blackout Information"),
     QT_TRANSLATE_NOOP("Links", "SDG&&E Blackout Information"), LinkServer::SdgeBlackout, u"/reo/"},
}};

// The row's target with the configured hosts; empty for a separator or an
// index outside the table.
QUrl LinkUrl(int index, const ServerUrls &servers);

// The maker's online help.
QUrl HelpTopicsUrl(const ServerUrls &servers);

} // namespace voltwise
