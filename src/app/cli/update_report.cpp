#include "app/cli/update_report.h"

namespace voltwise {

namespace {

QJsonValue TextOrNull(bool present, const QString &text)
{
    return present ? QJsonValue(text) : QJsonValue(QJsonValue::Null);
}

QString OutcomeName(UpdateOutcome outcome)
{
    switch (outcome) {
    case UpdateOutcome::Offer:
        return u"offer"_qs;
    case UpdateOutcome::UpToDate:
        return u"upToDate"_qs;
    case UpdateOutcome::PreRelease:
        return u"preRelease"_qs;
    case UpdateOutcome::None:
        break;
    }
    return u"none"_qs;
}

} // namespace

QJsonObject UpdateReportJson(const UpdateCheck &check)
{
    const bool read = check.descriptor.has_value();
    const UpdateDescriptor release = check.descriptor.value_or(UpdateDescriptor{});
    const bool offer = check.outcome == UpdateOutcome::Offer;
    const bool message =
        check.outcome == UpdateOutcome::UpToDate || check.outcome == UpdateOutcome::PreRelease;
    const QJsonObject update{
        {u"outcome"_qs, OutcomeName(check.outcome)},
        {u"releaseVersion"_qs, TextOrNull(read, release.ReleaseVersion)},
        {u"releaseDate"_qs, TextOrNull(read, release.ReleaseDate.toString(Qt::ISODate))},
        {u"downloadUrl"_qs, TextOrNull(read, release.DownloadURL)},
        {u"changeLogUrl"_qs,
         TextOrNull(release.ChangeLogURL.has_value(), release.ChangeLogURL.value_or(QString()))},
        {u"releaseNotes"_qs, TextOrNull(offer, check.offer.releaseNotes)},
        {u"title"_qs, TextOrNull(offer, check.offer.title)},
        {u"message"_qs, TextOrNull(offer, check.offer.message)},
        {u"messageCaption"_qs, TextOrNull(message, check.message.caption)},
        {u"messageText"_qs, TextOrNull(message, check.message.text)},
    };
    return {{u"update"_qs, update}};
}

QString UpdateReportText(const UpdateCheck &check)
{
    switch (check.outcome) {
    case UpdateOutcome::Offer:
        return u"%1 %2 is available (released %3): %4\n"_qs.arg(
            kProductName, check.offer.releaseVersion,
            check.descriptor->ReleaseDate.toString(Qt::ISODate), check.offer.downloadUrl);
    case UpdateOutcome::UpToDate:
    case UpdateOutcome::PreRelease:
        return check.message.caption + u' ' + check.message.text + u'\n';
    case UpdateOutcome::None:
        break;
    }
    return u"No update information.\n"_qs;
}

} // namespace voltwise
