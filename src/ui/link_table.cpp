#include "ui/link_table.h"

namespace voltwise {

namespace {

QUrl ServerOf(LinkServer server, const ServerUrls &servers)
{
    switch (server) {
    case LinkServer::GridMain:
        return servers.gridMain;
    case LinkServer::Maker:
        return servers.maker;
    case LinkServer::Pge:
        return servers.pge;
    case LinkServer::Sce:
        return servers.sce;
    case LinkServer::Sdge:
        return servers.sdge;
    case LinkServer::SdgeBlackout:
        return servers.sdgeBlackout;
    case LinkServer::None:
        break;
    }
    return {};
}

} // namespace

QUrl LinkUrl(int index, const ServerUrls &servers)
{
    if (index < 0 || index >= int(kLinks.size()) || kLinks[index].isSeparator())
        return {};
    const Link &link = kLinks[index];
    return ServerUrls::resolve(ServerOf(link.server, servers), link.path.toString());
}

QUrl HelpTopicsUrl(const ServerUrls &servers)
{
    return ServerUrls::resolve(servers.maker, u"/Voltwise_Help.html"_qs);
}

} // namespace voltwise
