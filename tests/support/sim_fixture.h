#pragma once

#include "core/download/download_channel.h"
#include "gridsim/grid_sim.h"

#include <QTcpServer>

namespace voltwise::testing {

using namespace std::chrono_literals;

inline const QDateTime kAfternoon(QDate(2024, 7, 15), QTime(14, 32, 10), Qt::UTC);

// A simulator on a free loopback port; null when no port could be bound.
inline std::unique_ptr<gridsim::GridSim> StartSim(const QDateTime &clock = kAfternoon)
{
    auto sim = std::make_unique<gridsim::GridSim>();
    sim->setClock([clock] { return clock; });
    return sim->listen(QHostAddress::LocalHost, 0) ? std::move(sim) : nullptr;
}

inline std::unique_ptr<DownloadChannel> NewChannel(std::chrono::milliseconds timeout = 10s)
{
    auto channel = std::make_unique<DownloadChannel>();
    channel->setTimeout(timeout);
    return channel;
}

// A loopback address whose port was free a moment ago, so that connecting is refused.
inline QUrl RefusingUrl()
{
    QTcpServer server;
    QUrl url(u"http://127.0.0.1"_qs);
    url.setPort(server.listen(QHostAddress::LocalHost, 0) ? server.serverPort() : 1);
    return url;
}

} // namespace voltwise::testing
