#include "core/download/download_channel.h"

namespace voltwise {

std::optional<QString> ProgressText(int state, int responseCode, const QString &responseText)
{
    switch (DownloadState(state)) {
    case DownloadState::None:
        return QString();
    case DownloadState::ResolvingHost:
        return u"Resolving host..."_qs;
    case DownloadState::HostResolved:
        return u"Host resolved"_qs;
    case DownloadState::Connecting:
        return u"Connecting..."_qs;
    case DownloadState::Connected:
        return u"Connected"_qs;
    case DownloadState::Requesting:
        return u"Requesting..."_qs;
    case DownloadState::RequestSent:
        return u"Request sent"_qs;
    case DownloadState::ReceivingResponse:
        return u"Receiving response..."_qs;
    case DownloadState::ResponseReceived:
        return u"Response received"_qs;
    case DownloadState::Disconnecting:
        return u"Disconnecting..."_qs;
    case DownloadState::Disconnected:
        return u"Disconnected"_qs;
    case DownloadState::Error:
        return u"Error #"_qs + QString::number(responseCode).trimmed() + u": "_qs + responseText;
    case DownloadState::ResponseCompleted:
        return u"Response Completed"_qs;
    }
    return std::nullopt;
}

} // namespace voltwise
