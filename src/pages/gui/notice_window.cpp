#include "pages/gui/notice_window.h"

#include "platform/browser.h"
#include "platform/gui/always_on_top.h"
#include "status/scale_colours.h"

#include <QApplication>
#include <QEnterEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>

#include <algorithm>

namespace voltwise {

namespace {

// Slides move by frames of this length; a busy machine slows them down
// rather than making them jump.
constexpr std::chrono::milliseconds kFrameInterval{16};

QFont NoticeFont()
{
    QFont font(QStringLiteral("Tahoma"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    return font;
}

QLabel *MakeLabel(QWidget *parent, const QString &name, const QFont &font)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setFont(font);
    label->setTextFormat(Qt::PlainText); // page text must never be taken for markup
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Plain labels pass pointer moves on to the window, which tells the parts apart.
    label->setMouseTracking(true);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, QApplication::palette().color(QPalette::ToolTipBase));
    palette.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::ToolTipText));
    label->setPalette(palette);
    return label;
}

Rgb ToRgb(const QColor &colour)
{
    return {colour.red(), colour.green(), colour.blue()};
}

// The scheme's link colour, red under the pointer, each where it reads on
// the notice's background.
void SetLinkColour(QLabel *label, bool hot)
{
    const QPalette scheme = QApplication::palette();
    const Rgb colour = ReadableLinkColour(
        hot ? Rgb{255, 0, 0} : ToRgb(scheme.color(QPalette::Link)),
        ToRgb(scheme.color(QPalette::ToolTipText)), ToRgb(scheme.color(QPalette::ToolTipBase)));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(colour.red, colour.green, colour.blue));
    label->setPalette(palette);
}

// Windows and Unix line ends alike make one line break.
QString WithPlainLineBreaks(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

int LineHeightInTwips(const QLabel *label)
{
    return PixelsToTwips(label->fontMetrics().height());
}

int WrappedHeightInTwips(const QLabel *label, int width)
{
    if (label->text().isEmpty())
        return LineHeightInTwips(label);
    return PixelsToTwips(label->heightForWidth(width));
}

} // namespace

NoticeWindow::NoticeWindow(BrowserOpener &browser, TimerFactory &timers)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::X11BypassWindowManagerHint | Qt::WindowDoesNotAcceptFocus)
    , browser_(browser)
    , shpBorder_(new QFrame(this))
    , tmrScrollForm_(timers.create([this] { holdElapsed(); }))
    , slideFrames_(timers.create([this] { slideFrame(); }))
{
    setObjectName(QStringLiteral("frmNotice"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_X11NetWmWindowTypeNotification);
    setMouseTracking(true);
    setAutoFillBackground(true);

    const QFont font = NoticeFont();
    setFont(font);
    QFont bold = font;
    bold.setBold(true);
    QFont link = bold;
    link.setUnderline(true);

    shpBorder_->setObjectName(QStringLiteral("shpBorder"));
    shpBorder_->setFrameStyle(QFrame::Box | QFrame::Plain);
    shpBorder_->setAutoFillBackground(true);
    shpBorder_->setAttribute(Qt::WA_TransparentForMouseEvents);

    lblNoticeHeader_ = MakeLabel(this, QStringLiteral("lblNoticeHeader"), bold);
    lblNoticeHeader_->setWordWrap(true);
    lblNoticeText_ = MakeLabel(this, QStringLiteral("lblNoticeText"), font);
    lblNoticeText_->setWordWrap(true);
    lblClickText_ = MakeLabel(this, QStringLiteral("lblClickText"), link);
    lblClickText_->setCursor(Qt::PointingHandCursor);
    SetLinkColour(lblClickText_, false);
    lblClickText_->installEventFilter(this);

    setGeometry(NoticeRect(availableArea(), TwipsToPixels(notice_design::kWindowWidth), 0));
}

NoticeWindow::~NoticeWindow() = default;

void NoticeWindow::ScrollNotice(const QString &NoticeHeader, const QString &NoticeText,
                                const QString &ClickText, const QString &ClickURL,
                                const QColor &Background, int Delay, QWidget *Parent)
{
    if (phase_ != Phase::Created)
        return;

    lblNoticeHeader_->setText(WithPlainLineBreaks(NoticeHeader));
    lblNoticeText_->setText(WithPlainLineBreaks(CapNoticeText(NoticeText)));
    lblClickText_->setText(ClickText);
    clickUrl_ = ClickURL;
    NoticeParent_ = Parent;

    for (QWidget *filled : {static_cast<QWidget *>(this), static_cast<QWidget *>(shpBorder_)}) {
        QPalette palette = filled->palette();
        palette.setColor(QPalette::Window, Background);
        filled->setPalette(palette);
    }

    layOut(!ClickText.isEmpty());

    delay_ = std::max(Delay, 0);
    startSlide(Phase::Rising);
}

void NoticeWindow::layOut(bool hasClickText)
{
    using namespace notice_design;
    const int labelWidth = TwipsToPixels(kLabelWidth);
    const int labelLeft = TwipsToPixels(kLabelLeft);

    NoticeMeasures measures;
    measures.headerHeight = WrappedHeightInTwips(lblNoticeHeader_, labelWidth);
    measures.textHeight = WrappedHeightInTwips(lblNoticeText_, labelWidth);
    measures.clickHeight = hasClickText ? PixelsToTwips(lblClickText_->sizeHint().height())
                                        : LineHeightInTwips(lblClickText_);
    const NoticeLayout layout = LayOutNotice(measures, hasClickText);

    lblNoticeHeader_->setGeometry(labelLeft, TwipsToPixels(kHeaderTop), labelWidth,
                                  TwipsToPixels(measures.headerHeight));
    lblNoticeText_->setGeometry(labelLeft, TwipsToPixels(layout.textTop), labelWidth,
                                TwipsToPixels(measures.textHeight));
    // A wider substitute for the designed font must not push the link past
    // the window's right edge.
    const int clickWidth = lblClickText_->sizeHint().width();
    const int clickLeft =
        std::max(0, std::min(TwipsToPixels(kClickLeft),
                             TwipsToPixels(kWindowWidth) - clickWidth - labelLeft / 2));
    lblClickText_->setGeometry(clickLeft, TwipsToPixels(layout.clickTop), clickWidth,
                               TwipsToPixels(measures.clickHeight));
    lblClickText_->setVisible(layout.clickVisible);

    targetHeight_ = std::min(TwipsToPixels(layout.targetHeight), availableArea().height());
    shpBorder_->setGeometry(0, 0, TwipsToPixels(kWindowWidth), targetHeight_);
}

void NoticeWindow::startSlide(Phase phase)
{
    phase_ = phase;
    slideElapsed_ = std::chrono::milliseconds(0);
    slideFrame();
}

void NoticeWindow::slideFrame()
{
    const bool rising = phase_ == Phase::Rising;
    const int height = SlideHeight(slideElapsed_, kNoticeSlideDuration, targetHeight_,
                                   rising ? SlideDirection::Up : SlideDirection::Down);
    if (!rising && height <= 0) {
        close();
        return;
    }
    if (height > 0) {
        setGeometry(NoticeRect(availableArea(), width(), height));
        if (!isVisible()) {
            show();
            SetAlwaysOnTop(this, true);
        }
    }
    if (!rising || height < targetHeight_) {
        slideElapsed_ += kFrameInterval;
        slideFrames_->start(kFrameInterval);
        return;
    }
    if (pointerOnLink_) {
        phase_ = Phase::Paused;
    } else {
        phase_ = Phase::Holding;
        runHold();
    }
    Q_EMIT raised();
}

void NoticeWindow::runHold()
{
    if (HoldEnds(delay_))
        tmrScrollForm_->start(std::chrono::milliseconds(delay_));
}

void NoticeWindow::holdElapsed()
{
    tmrScrollForm_->stop();
    if (phase_ != Phase::Holding)
        return; // the fall is under way or the pointer rests on the link
    startSlide(Phase::Falling);
}

void NoticeWindow::PointerOver(NoticeArea area)
{
    const HoverEffect effect = HoverEffectOf(area);
    if (effect.look != LinkLook::Unchanged)
        SetLinkColour(lblClickText_, effect.look == LinkLook::Hot);

    switch (effect.hold) {
    case HoldChange::Unchanged:
        return;
    case HoldChange::Stop:
        pointerOnLink_ = true;
        if (phase_ == Phase::Holding) {
            tmrScrollForm_->stop();
            phase_ = Phase::Paused;
        }
        return;
    case HoldChange::Run:
        pointerOnLink_ = false;
        if (phase_ == Phase::Paused) {
            phase_ = Phase::Holding;
            runHold();
        }
        return;
    }
}

NoticeArea NoticeWindow::areaAt(QPoint position) const
{
    const QWidget *child = childAt(position);
    if (child == lblClickText_)
        return NoticeArea::Link;
    if (child == lblNoticeText_)
        return NoticeArea::Text;
    if (child == lblNoticeHeader_)
        return NoticeArea::Heading;
    return NoticeArea::Background;
}

void NoticeWindow::enterEvent(QEnterEvent *event)
{
    PointerOver(areaAt(event->position().toPoint()));
    QWidget::enterEvent(event);
}

void NoticeWindow::mouseMoveEvent(QMouseEvent *event)
{
    PointerOver(areaAt(event->position().toPoint()));
    QWidget::mouseMoveEvent(event);
}

bool NoticeWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != lblClickText_)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        return static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton;
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton)
            break;
        if (lblClickText_->rect().contains(mouse->position().toPoint()))
            clickLink();
        return true;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void NoticeWindow::clickLink()
{
    if (!clickUrl_.isEmpty()) {
        OpenInBrowser(clickUrl_, browser_);
        return;
    }
    if (NoticeParent_) {
        NoticeParent_->showNormal();
        NoticeParent_->raise();
        NoticeParent_->activateWindow();
    }
}

QRect NoticeWindow::availableArea() const
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

} // namespace voltwise
