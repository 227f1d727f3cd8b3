#include "core/download/download_channel.h"

#include <QCoreApplication>

namespace voltwise {

std::optional<QString> ProgressText(int state, int responseCode, const QString &responseText)
{
    switch (DownloadState(state)) {
    case DownloadState::None:
        return QString();
    case DownloadState::ResolvingHost:
        return QCoreApplication::translate("Download", "Resolving host...");
    case DownloadState::HostResolved:
        return QCoreApplication::translate("Download", "Host resolved");
    case DownloadState::Connecting:
        return QCoreApplication::translate("Download", "Connecting...");
    case DownloadState::Connected:
        return QCoreApplication::translate("Download", "Connected");
    case DownloadState::Requesting:
        return QCoreApplication::translate("Download", "Requesting...");
    case DownloadState::RequestSent:
        return QCoreApplication::translate("Download", "Request sent");
    case DownloadState::ReceivingResponse:
        return QCoreApplication::translate("Download", "Receiving response...");
    case DownloadState::ResponseReceived:
        return QCoreApplication::translate("Download", "Response received");
    case DownloadState::Disconnecting:
        return QCoreApplication::translate("Download", "Disconnecting...");
    case DownloadState::Disconnected:
        return QCoreApplication::translate("Download", "Disconnected");
    case DownloadState::Error:
        return QCoreApplication::translate("Download", "Error #%1: %2")
            .arg(QString::number(responseCode), responseText);
    case DownloadState::ResponseCompleted:
        return QCoreApplication::translate("Download", "Response Completed");
    }
    return std::nullopt;
}

} // namespace voltwise
