#include "ui/gui/software_update_dialog.h"

#include "core/completion.h"
#include "core/twips.h"
#include "status/gui/condition_images.h"
#include "ui/gui/label_styles.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

namespace voltwise {

namespace {

constexpr int kIconPixels = 64;
constexpr int kGreenLightImage = 2;

QLabel *MakeLabel(QWidget *parent, const QString &name, const QString &text, const QRect &rect)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(rect);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QPushButton *MakeButton(QWidget *parent, const QString &name, const QString &text, double left)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setGeometry(TwipsRect(left, 4440, 1635, 315));
    // Enter always means the default button, wherever the focus is.
    button->setAutoDefault(false);
    return button;
}

QPixmap ProgramIcon()
{
    const QIcon icon = QGuiApplication::windowIcon();
    return icon.isNull()
               ? ConditionPixmap(kGreenLightImage, kIconPixels, qGuiApp->devicePixelRatio())
               : icon.pixmap(kIconPixels, kIconPixels);
}

} // namespace

SoftwareUpdateDialog::SoftwareUpdateDialog(const UpdateOffer &offer, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint)
    , m_answer(std::make_unique<Completion<UpdateChoice>>())
{
    setObjectName(u"frmSoftwareUpdate"_qs);
    setWindowTitle(tr("Software Update"));
    setFixedSize(TwipsToPixels(7515), TwipsToPixels(4995));
    const QFont font = DesignFont(u"Tahoma"_qs, 8.25);
    setFont(font);

    picAppIcon = MakeLabel(this, u"picAppIcon"_qs, {}, TwipsRect(240, 240, 975, 975));
    picAppIcon->setPixmap(ProgramIcon());

    lblTitle = MakeLabel(this, u"lblTitle"_qs, offer.title, TwipsRect(1440, 240, 5835, 255));
    lblTitle->setFont(
        FontFittingWidths(DesignFont(u"Tahoma"_qs, 9, true), {{offer.title, lblTitle->width()}}));
    lblMessage = MakeLabel(this, u"lblMessage"_qs, offer.message, TwipsRect(1440, 600, 5835, 435));
    lblMessage->setWordWrap(true);
    Label2 = MakeLabel(this, u"Label2"_qs, tr("Release Notes:"), TwipsRect(1440, 1140, 5835, 195));
    Label2->setFont(DesignFont(u"Tahoma"_qs, 8.25, true));

    txtReleaseNotes = new QPlainTextEdit(offer.releaseNotes, this);
    txtReleaseNotes->setObjectName(u"txtReleaseNotes"_qs);
    txtReleaseNotes->setGeometry(TwipsRect(1440, 1440, 5835, 2835));
    // Read-only, yet reachable by Tab so that the keys can scroll it.
    txtReleaseNotes->setReadOnly(true);
    txtReleaseNotes->setTextInteractionFlags(Qt::TextSelectableByMouse |
                                             Qt::TextSelectableByKeyboard);
    txtReleaseNotes->setFocusPolicy(Qt::StrongFocus);
    txtReleaseNotes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    cmdSkipThisVersion = MakeButton(this, u"cmdSkipThisVersion"_qs, tr("Skip This Version"), 1440);
    cmdCancel = MakeButton(this, u"cmdCancel"_qs, tr("Remind Me Later"), 3900);
    cmdOK = MakeButton(this, u"cmdOK"_qs, tr("Download Update"), 5640);
    cmdOK->setDefault(true);
    setTabOrder(cmdSkipThisVersion, cmdCancel);
    setTabOrder(cmdCancel, cmdOK);
    setTabOrder(cmdOK, txtReleaseNotes);
    cmdSkipThisVersion->setFocus();

    connect(cmdOK, &QPushButton::clicked, this, [this] { choose(UpdateChoice::DownloadUpdate); });
    connect(cmdCancel, &QPushButton::clicked, this,
            [this] { choose(UpdateChoice::RemindMeLater); });
    connect(cmdSkipThisVersion, &QPushButton::clicked, this,
            [this] { choose(UpdateChoice::SkipThisVersion); });
}

SoftwareUpdateDialog::~SoftwareUpdateDialog()
{
    m_answer->set(UpdateChoice::RemindMeLater);
}

QCoro::Task<UpdateChoice> SoftwareUpdateDialog::ask()
{
    setWindowModality(Qt::WindowModal);
    if (const QScreen *target = screen()) {
        QRect frame = rect();
        frame.moveCenter(target->availableGeometry().center());
        move(frame.topLeft());
    }
    show();
    co_return co_await *m_answer;
}

void SoftwareUpdateDialog::done(int result)
{
    QDialog::done(result);
    m_answer->set(m_choice);
}

void SoftwareUpdateDialog::choose(UpdateChoice choice)
{
    m_choice = choice;
    accept();
}

void SoftwareUpdateDialog::keyPressEvent(QKeyEvent *event)
{
    // No button is the cancel button.
    if (event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}

} // namespace voltwise
