#pragma once

#include "core/server_urls.h"

#include <QString>
#include <QStringView>
#include <QUrl>

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
    QStringView toolsCaption;
    QStringView trayCaption;
    LinkServer server;
    QStringView path; // empty: the server's home page

    bool isSeparator() const { return server == LinkServer::None; }
};

inline constexpr std::array<Link, 11> kLinks{{
    {u"California ISO Home", u"California ISO Home", LinkServer::GridMain, u""},
    {u"California ISO Current System Conditions", u"California ISO System Conditions",
     LinkServer::GridMain, u"/outlook/SystemStatus.html"},
    {u"-", u"-", LinkServer::None, u""},
    {u"Voltwise Home", u"Voltwise &Home", LinkServer::Maker, u""},
    {u"-", u"-", LinkServer::None, u""},
    {u"Pacific Gas && Electric Home", u"Pacific Gas && Electric Home", LinkServer::Pge, u""},
    {u"PG&&E Blackout Information", u"PG&&E Blackout Information", LinkServer::Pge,
     u"/myhome/customerservice/energystatus/gridstatus/"},
    {u"Southern California Edison Home", u"Southern California Edison Home", LinkServer::Sce, u""},
    {u"SCE Blackout Information", u"SCE Blackout Information", LinkServer::Sce,
     u"/PowerOutageCenter/Rotating/default.htm"},
    {u"San Diego Gas && Electric Home", u"San Diego Gas && Electric Home", LinkServer::Sdge, u""},
    {u"SDG&&E Blackout Information", u"SDG&&E Blackout Information", LinkServer::SdgeBlackout,
     u"/reo/"},
}};

// The row's target with the configured hosts; empty for a separator or an
// index outside the table.
QUrl LinkUrl(int index, const ServerUrls &servers);

// The maker's online help.
QUrl HelpTopicsUrl(const ServerUrls &servers);

} // namespace voltwise
