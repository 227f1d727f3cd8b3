#pragma once

#include "core/timers.h"
#include "update/update_descriptor.h"
#include "update/version.h"

#include <QLocale>
#include <QString>
#include <qcoro/qcorotask.h>

#include <chrono>
#include <memory>
#include <optional>

namespace voltwise {

class BrowserOpener;
class RegistryBackend;
class UrlTextSource;

inline constexpr QLatin1String kProductName("Voltwise");
inline constexpr QLatin1String kCompanyName("Ternwood");

// What one check decided.
enum class UpdateOutcome
{
    None,       // no descriptor, or the check failed: nothing is said
    Offer,      // a newer release: the dialog
    UpToDate,   // "You're up to date!"
    PreRelease, // "You're running a pre-relase version!"
};

// The dialog's content, placeholders replaced.
struct UpdateOffer
{
    QString title;        // lblTitle
    QString message;      // lblMessage
    QString releaseNotes; // txtReleaseNotes; empty when there are none
    QString releaseVersion;
    QString downloadUrl;
};

// A message box with an OK button: information, or a warning.
struct UpdateMessage
{
    QString caption;
    QString text;
    bool warning = false;
};

struct UpdateCheck
{
    UpdateOutcome outcome = UpdateOutcome::None;
    std::optional<UpdateDescriptor> descriptor; // when one was read
    UpdateOffer offer;                          // when the outcome is Offer
    UpdateMessage message;                      // when UpToDate or PreRelease
};

// The release compared with the running version and the stored skip; the
// outcome is None when a version text cannot be read.
struct UpdateDecision
{
    UpdateOutcome outcome = UpdateOutcome::None;
    // The running version has overtaken the stored skip, which is forgotten.
    bool forgetSkip = false;
};
UpdateDecision DecideUpdate(QStringView releaseVersion, const std::optional<QString> &storedSkip,
                            QStringView currentVersion, bool finalOnly);

// Every placeholder of the dialog's captions ("App.ProductName",
// "App.CompanyName", "App.CurrentVersion", "App.ReleaseVersion"), in that order.
QString ReplaceUpdatePlaceholders(QString caption, QStringView currentVersion,
                                  QStringView releaseVersion);
UpdateMessage UpToDateMessage(UpdateOutcome outcome, QStringView currentVersion);
// The warning that the download address did not open, naming its host.
UpdateMessage DownloadNotOpenedMessage(QStringView downloadUrl);

// Set when the program ends during a check: the check stops at its next step
// and changes nothing more.
struct UpdateCancellation
{
    bool cancelled = false;
};

struct UpdateCheckContext
{
    UrlTextSource *urls = nullptr;
    RegistryBackend *store = nullptr;
    QString currentVersion = VersionString();
    QLocale locale = QLocale::system();
    // Only looks: an overtaken skip stays stored.
    bool readOnly = false;
    std::shared_ptr<const UpdateCancellation> cancellation{};
    // However slowly the server answers, the check ends within this; what
    // has not come by then is no answer.
    TimerFactory *timers = &SystemTimers();
    std::chrono::milliseconds deadline{30000};
};

// Reads the descriptor at INFFileURL (with "?Version=" and the running
// version), decides against the stored "SkipVersion" and gathers what the
// dialog or the message would show, fetching the change log for an offer.
// The context's sources must outlive the task.
QCoro::Task<UpdateCheck> CheckForUpdate(UpdateCheckContext context, QString INFFileURL,
                                        bool FinalOnly);

// The user's answer to the dialog.
enum class UpdateChoice
{
    DownloadUpdate,
    RemindMeLater, // also the close box
    SkipThisVersion,
};

// Shows the update dialog and the messages; never a nested event loop.
class UpdatePrompt
{
public:
    virtual ~UpdatePrompt() = default;
    virtual QCoro::Task<UpdateChoice> offerUpdate(UpdateOffer offer) = 0;
    virtual QCoro::Task<> showMessage(UpdateMessage message) = 0;
    // Closes whatever is shown, as the close box would; its task completes
    // before dismiss() returns.
    virtual void dismiss() = 0;
};

// What a button does: "Download Update" opens the download in the browser
// and answers whether it opened; "Skip This Version" stores the release as
// "SkipVersion".
bool ApplyUpdateChoice(UpdateChoice choice, const UpdateOffer &offer, RegistryBackend &store,
                       BrowserOpener &browser);

// The whole check: true only when the dialog was shown, the user chose
// "Download Update" and the browser took the address; when it did not, the
// user is told so. IncludeUserInfo has no effect.
QCoro::Task<bool> SoftwareUpdate(UpdateCheckContext context, UpdatePrompt &prompt,
                                 BrowserOpener &browser, QString INFFileURL, bool FinalOnly = false,
                                 bool IncludeUserInfo = false, bool NotifyUpToDate = false);

} // namespace voltwise
