#include "update/software_update.h"

#include "platform/browser.h"
#include "settings/registry_operations.h"
#include "settings/setting_keys.h"
#include "settings/settings_names.h"
#include "update/url_text.h"

#include <QCoreApplication>

namespace voltwise {

namespace {

constexpr const SettingKey &kSkip = SettingKeys::SkipVersion;

// Translations keep the App.… names, which the versions replace.
constexpr const char *kTitleTemplate =
    QT_TRANSLATE_NOOP("Update", "A new version of App.ProductName is available!");
constexpr const char *kMessageTemplate =
    QT_TRANSLATE_NOOP("Update", "App.ProductName App.ReleaseVersion is now available - you have "
                                "App.CurrentVersion. Would you like to download the new version "
                                "now?");

} // namespace

UpdateDecision DecideUpdate(QStringView releaseVersion, const std::optional<QString> &storedSkip,
                            QStringView currentVersion, bool finalOnly)
{
    UpdateDecision decision;
    QStringView skip = storedSkip ? QStringView(*storedSkip) : currentVersion;
    const auto overtaken = IsNewerVersion(currentVersion, skip, false);
    if (!overtaken)
        return decision;
    if (*overtaken) {
        skip = currentVersion;
        decision.forgetSkip = true;
    }
    const auto newer = IsNewerVersion(releaseVersion, skip, finalOnly);
    if (newer && *newer) {
        decision.outcome = UpdateOutcome::Offer;
        return decision;
    }
    const auto preRelease = IsNewerVersion(skip, releaseVersion, false);
    if (newer && preRelease)
        decision.outcome = *preRelease ? UpdateOutcome::PreRelease : UpdateOutcome::UpToDate;
    return decision;
}

QString ReplaceUpdatePlaceholders(QString caption, QStringView currentVersion,
                                  QStringView releaseVersion)
{
    return caption.replace(u"App.ProductName"_qs, kProductName)
        .replace(u"App.CompanyName"_qs, kCompanyName)
        .replace(u"App.CurrentVersion"_qs, currentVersion.toString())
        .replace(u"App.ReleaseVersion"_qs, releaseVersion.toString());
}

UpdateMessage UpToDateMessage(UpdateOutcome outcome, QStringView currentVersion)
{
    const QString product = QString(kProductName) + u' ' + currentVersion.toString();
    if (outcome == UpdateOutcome::PreRelease)
        return {QCoreApplication::translate("Update", "You're running a pre-relase version!"),
                QCoreApplication::translate(
                    "Update", "%1 is actually *newer* than the current offical release.")
                    .arg(product),
                false};
    return {QCoreApplication::translate("Update", "You're up to date!"),
            QCoreApplication::translate("Update", "%1 is currently the newest version available.")
                .arg(product),
            false};
}

UpdateMessage DownloadNotOpenedMessage(QStringView downloadUrl)
{
    // Read by hand: the address may be one that QUrl refuses whole.
    QStringView host = downloadUrl.trimmed();
    if (const qsizetype scheme = host.indexOf(u"://"); scheme >= 0)
        host = host.sliced(scheme + 3);
    for (const QChar end : {u'/', u'?', u'#'})
        host = host.left(host.indexOf(end));
    host = host.sliced(host.lastIndexOf(u'@') + 1);
    host =
        host.startsWith(u'[') ? host.left(host.indexOf(u']') + 1) : host.left(host.indexOf(u':'));
    // No host name is longer; a longer text is no host to show whole.
    constexpr qsizetype kLongestHost = 253;
    QString shown = host.left(kLongestHost).toString();
    if (host.size() > kLongestHost)
        shown += u'…';
    return {QCoreApplication::translate("Update", "Software Update"),
            shown.isEmpty()
                ? QCoreApplication::translate(
                      "Update", "%1 could not open the download address in your browser.")
                      .arg(kProductName)
                : QCoreApplication::translate(
                      "Update", "%1 could not open the download address on %2 in your browser.")
                      .arg(kProductName, shown),
            true};
}

QCoro::Task<UpdateCheck> CheckForUpdate(UpdateCheckContext context, QString INFFileURL,
                                        bool FinalOnly)
{
    bool timedOut = false;
    const std::unique_ptr<OneShotTimer> deadline =
        context.timers->create([&timedOut, urls = context.urls] {
            timedOut = true;
            urls->abort();
        });
    deadline->start(context.deadline);
    const auto cancelled = [&context, &timedOut] {
        return timedOut || (context.cancellation && context.cancellation->cancelled);
    };
    UpdateCheck check;
    const QString text =
        co_await context.urls->GetURLText(INFFileURL + u"?Version="_qs + context.currentVersion);
    if (cancelled() || IsMissingDescriptor(text))
        co_return check;
    check.descriptor = ParseUpdateDescriptor(text, context.locale);
    if (!check.descriptor)
        co_return check;
    const UpdateDescriptor &release = *check.descriptor;

    const QString stored =
        GetSetting(*context.store, kApplicationTitle, kSkip.section, kSkip.name, {});
    const UpdateDecision decision = DecideUpdate(
        release.ReleaseVersion, stored.isEmpty() ? std::nullopt : std::optional(stored),
        context.currentVersion, FinalOnly);
    if (decision.forgetSkip && !context.readOnly)
        DeleteSetting(*context.store, kApplicationTitle, kSkip.section, kSkip.name);

    if (decision.outcome == UpdateOutcome::Offer) {
        const QString notes =
            co_await context.urls->GetURLText(release.ChangeLogURL.value_or(QString()));
        if (cancelled())
            co_return check;
        check.offer = {
            ReplaceUpdatePlaceholders(QCoreApplication::translate("Update", kTitleTemplate),
                                      context.currentVersion, release.ReleaseVersion),
            ReplaceUpdatePlaceholders(QCoreApplication::translate("Update", kMessageTemplate),
                                      context.currentVersion, release.ReleaseVersion),
            notes.contains(u"Not Found") ? QString() : notes,
            release.ReleaseVersion,
            release.DownloadURL,
        };
    } else if (decision.outcome != UpdateOutcome::None) {
        check.message = UpToDateMessage(decision.outcome, context.currentVersion);
    }
    check.outcome = decision.outcome;
    co_return check;
}

bool ApplyUpdateChoice(UpdateChoice choice, const UpdateOffer &offer, RegistryBackend &store,
                       BrowserOpener &browser)
{
    switch (choice) {
    case UpdateChoice::DownloadUpdate: {
        QString url = offer.downloadUrl;
        return OpenInBrowser(url, browser);
    }
    case UpdateChoice::SkipThisVersion:
        SaveSetting(store, kApplicationTitle, kSkip.section, kSkip.name, offer.releaseVersion);
        return false;
    case UpdateChoice::RemindMeLater:
        break;
    }
    return false;
}

QCoro::Task<bool> SoftwareUpdate(UpdateCheckContext context, UpdatePrompt &prompt,
                                 BrowserOpener &browser, QString INFFileURL, bool FinalOnly,
                                 bool IncludeUserInfo, bool NotifyUpToDate)
{
    Q_UNUSED(IncludeUserInfo)
    const auto cancellation = context.cancellation;
    const auto cancelled = [&cancellation] {
        return cancellation && cancellation->cancelled;
    };
    RegistryBackend &store = *context.store;
    const UpdateCheck check = co_await CheckForUpdate(std::move(context), INFFileURL, FinalOnly);
    if (cancelled())
        co_return false;
    switch (check.outcome) {
    case UpdateOutcome::Offer: {
        const UpdateChoice choice = co_await prompt.offerUpdate(check.offer);
        // A dialog closed because the program ends is no answer.
        if (cancelled())
            co_return false;
        const bool opened = ApplyUpdateChoice(choice, check.offer, store, browser);
        if (choice == UpdateChoice::DownloadUpdate && !opened && !cancelled())
            co_await prompt.showMessage(DownloadNotOpenedMessage(check.offer.downloadUrl));
        co_return opened;
    }
    case UpdateOutcome::UpToDate:
    case UpdateOutcome::PreRelease:
        if (NotifyUpToDate)
            co_await prompt.showMessage(check.message);
        break;
    case UpdateOutcome::None:
        break;
    }
    co_return false;
}

} // namespace voltwise
