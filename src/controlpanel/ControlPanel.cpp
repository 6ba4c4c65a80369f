#include "controlpanel/ControlPanel.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <optional>

#include "base/SettingsKeys.h"
#include "controlpanel/VolumeWedge.h"
#include "controls/IconButton.h"
#include "controls/RepeatBar.h"
#include "controls/Slider.h"
#include "controls/Theme.h"

namespace orvalis {

using controls::Icon;
using controls::IconButton;
using panel::PanelItem;
namespace theme = controls::theme;

namespace {

constexpr int kPictureSliderColour = 0x827373;
constexpr int kMaxComeBackSeconds = 24 * 3600;

// The command each button sends; parts that are no command button have none.
std::optional<CommandId> commandOf(PanelItem part) {
    switch (part) {
        case PanelItem::Open:
            return CommandId::OpenFile;
        case PanelItem::Previous:
            return CommandId::PreviousItem;
        case PanelItem::Play:
            return CommandId::Play;
        case PanelItem::Pause:
            return CommandId::Pause;
        case PanelItem::Stop:
            return CommandId::Stop;
        case PanelItem::Next:
            return CommandId::NextItem;
        case PanelItem::Mute:
            return CommandId::Mute;
        case PanelItem::RepeatStart:
            return CommandId::RepeatSetStart;
        case PanelItem::RepeatEnd:
            return CommandId::RepeatSetEnd;
        case PanelItem::RepeatClear:
            return CommandId::RepeatClear;
        case PanelItem::Smoothing:
            return CommandId::CaptionSmoothing;
        case PanelItem::Bold:
            return CommandId::CaptionBold;
        case PanelItem::Border:
            return CommandId::CaptionBorder;
        case PanelItem::ShowCaptions:
            return CommandId::CaptionHide;
        case PanelItem::CaptionLarger:
            return CommandId::CaptionLarger;
        case PanelItem::CaptionSmaller:
            return CommandId::CaptionSmaller;
        case PanelItem::CaptionUp:
            return CommandId::CaptionUp;
        case PanelItem::CaptionDown:
            return CommandId::CaptionDown;
        case PanelItem::CaptionLanguage:
            return CommandId::CaptionLanguage;
        case PanelItem::Minimize:
            return CommandId::QuickMinimise;
        case PanelItem::Maximize:
            return CommandId::FullScreenSize;
        case PanelItem::Quit:
            return CommandId::Exit;
        default:
            return std::nullopt;
    }
}

QRect toQRect(const geometry::Rect& r) {
    return QRect(r.left, r.top, std::max(0, r.width()), std::max(0, r.height()));
}

}  // namespace

ControlPanel::ControlPanel(SettingsStore& settings, CommandSink commands,
                           TransportListener& listener, QWidget* parent)
    : QWidget(parent), settings_(settings), commands_(std::move(commands)), listener_(listener) {
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    foldTimer_.setSingleShot(true);
    connect(&foldTimer_, &QTimer::timeout, this, &ControlPanel::foldBack);
    createControls();
    setTrackColour(settings::get(settings_, keys::TrackColor1));
    setDuration(0);
    hide();
    relayout();
}

ControlPanel::~ControlPanel() {
    // The listener may already be gone: nothing the children do while they are torn down
    // may reach it.
    for (QWidget* w : parts_)
        if (w) w->blockSignals(true);
    foldTimer_.stop();
}

IconButton* ControlPanel::addButton(PanelItem part, Icon icon, const char* tip, bool toggle) {
    auto* b =
        new IconButton(icon, this, toggle ? IconButton::Style::Toggle : IconButton::Style::Plain);
    if (tip) b->setToolTip(QString::fromUtf8(tip));
    if (auto command = commandOf(part)) {
        connect(b, &IconButton::clicked, this, [this, id = *command] {
            if (commands_) commands_(id);
        });
    }
    parts_[static_cast<std::size_t>(part)] = b;
    return b;
}

controls::Slider* ControlPanel::addPictureSlider(PanelItem part, PictureKind kind,
                                                 const char* tip) {
    auto* s = new controls::Slider(controls::SliderGesture::Mode::Live,
                                   controls::Slider::Look::Groove, this);
    s->setRange(0, 100);
    s->setColour(theme::fromColorref(kPictureSliderColour));
    s->setToolTip(QString::fromUtf8(tip));
    connect(s, &controls::Slider::changed, this, [this, kind](int position) {
        if (!pictureHeld_) {
            pictureHeld_ = true;
            listener_.holdBar(true);
        }
        listener_.pictureChanged(kind, state_.pictureValue(kind, position));
        restartFoldTimer();
    });
    connect(s, &controls::Slider::letGo, this, [this] {
        if (!pictureHeld_) return;
        pictureHeld_ = false;
        listener_.holdBar(false);
    });
    parts_[static_cast<std::size_t>(part)] = s;
    return s;
}

void ControlPanel::createControls() {
    track_ = new controls::Slider(controls::SliderGesture::Mode::Seek, controls::Slider::Look::Bar,
                                  this);
    parts_[static_cast<std::size_t>(PanelItem::Track)] = track_;
    connect(track_, &controls::Slider::previewed, this,
            [this](int tenths, bool dragging) { listener_.seekPreview(tenths, dragging); });
    connect(track_, &controls::Slider::committed, this,
            [this](int tenths) { listener_.seekCommit(tenths); });
    connect(track_, &controls::Slider::letGo, this, [this] { listener_.seekPreviewEnded(); });

    repeatBar_ = new controls::RepeatBar(this);
    parts_[static_cast<std::size_t>(PanelItem::RepeatBar)] = repeatBar_;
    connect(repeatBar_, &controls::RepeatBar::rangeDragged, this,
            [this](double a, double b) { listener_.repeatRangeDragged(a, b); });
    connect(repeatBar_, &controls::RepeatBar::rangeDragEnded, this,
            [this] { listener_.repeatRangeDragEnded(); });

    addButton(PanelItem::Open, Icon::Open, nullptr);
    addButton(PanelItem::Previous, Icon::Previous, nullptr);
    addButton(PanelItem::Play, Icon::Play, nullptr);
    addButton(PanelItem::Pause, Icon::Pause, nullptr);
    addButton(PanelItem::Stop, Icon::Stop, nullptr);
    addButton(PanelItem::Next, Icon::Next, nullptr);

    // The wedge first: the speaker stands over its empty corner.
    wedge_ = new VolumeWedge(this);
    parts_[static_cast<std::size_t>(PanelItem::Wedge)] = wedge_;
    connect(wedge_, &VolumeWedge::stepDragged, this,
            [this](int step) { listener_.volumeDragged(step); });
    connect(wedge_, &VolumeWedge::dragStarted, this, [this] { listener_.holdBar(true); });
    connect(wedge_, &VolumeWedge::dragEnded, this, [this] { listener_.holdBar(false); });
    addButton(PanelItem::Mute, Icon::Speaker, nullptr)->setLitIcon(Icon::SpeakerMuted);

    addButton(PanelItem::RepeatStart, Icon::RepeatStart, "반복구간 시작");
    addButton(PanelItem::RepeatEnd, Icon::RepeatEnd, "반복구간 끝");
    addButton(PanelItem::RepeatClear, Icon::RepeatClear, "반복구간 해제");
    addButton(PanelItem::Smoothing, Icon::Smoothing, "부드러운 효과", true);
    addButton(PanelItem::Bold, Icon::Bold, "굵게 표시", true);
    addButton(PanelItem::Border, Icon::Border, "테두리 효과", true);
    addButton(PanelItem::ShowCaptions, Icon::Captions, "자막 보기", true);
    addButton(PanelItem::CaptionLarger, Icon::CaptionLarger, "자막 크기 증가");
    addButton(PanelItem::CaptionSmaller, Icon::CaptionSmaller, "자막 크기 감소");
    addButton(PanelItem::CaptionUp, Icon::CaptionUp, "자막 위로");
    addButton(PanelItem::CaptionDown, Icon::CaptionDown, "자막 아래로");
    addButton(PanelItem::CaptionLanguage, Icon::CaptionLanguage, "자막 언어");

    brightness_ = addPictureSlider(PanelItem::Brightness, PictureKind::Brightness, "밝기 조절");
    sharpness_ = addPictureSlider(PanelItem::Sharpness, PictureKind::Contrast, "선명도 조절");
    for (PanelItem p : {PanelItem::FoldBackBrightness, PanelItem::FoldBackSharpness})
        connect(addButton(p, Icon::FoldBack, nullptr), &IconButton::clicked, this,
                &ControlPanel::foldBack);

    addButton(PanelItem::Minimize, Icon::Minimize, nullptr);
    addButton(PanelItem::Maximize, Icon::Maximize, nullptr);
    addButton(PanelItem::Quit, Icon::Quit, nullptr);
}

QWidget* ControlPanel::partWidget(PanelItem part) const {
    return parts_[static_cast<std::size_t>(part)];
}

int ControlPanel::preferredHeight() const {
    return geometry::transportBarHeight(settings::get(settings_, keys::TrackHeight),
                                        settings::get(settings_, keys::UseRepeatCtrl));
}

void ControlPanel::relayout() {
    panel::LayoutInput in;
    in.width = width();
    in.trackHeight = settings::get(settings_, keys::TrackHeight);
    in.useRepeatCtrl = settings::get(settings_, keys::UseRepeatCtrl);
    in.adjustRowOpen = adjustRowOpen_;
    in.captionsLoaded = state_.captions().loaded;
    titleSize_ = settings::get(settings_, keys::TitleSize);
    layout_ = panel::layoutPanel(in);

    for (std::size_t i = 0; i < panel::kPanelItemCount; ++i) {
        QWidget* w = parts_[i];
        if (!w) continue;
        const panel::Placement& at = layout_.parts[i];
        QRect r = toQRect(at.rect);
        if (w == wedge_) r.setSize(VolumeWedge::pixelSize());
        w->setGeometry(r);
        w->setVisible(at.shown);
    }
    update();
}

void ControlPanel::applyLooks() {
    for (std::size_t i = 0; i < panel::kPanelItemCount; ++i) {
        auto* b = qobject_cast<IconButton*>(parts_[i]);
        if (!b) continue;
        const panel::ButtonLook look = state_.look(static_cast<PanelItem>(i));
        b->setEnabled(look.enabled);
        b->setLit(look.lit);
    }
    track_->setEnabled(state_.trackEnabled());
}

QRect ControlPanel::textRect(PanelItem part) const {
    return toQRect(layout_[part].rect);
}

void ControlPanel::updateTimeTexts() {
    update(textRect(PanelItem::CurrentTime));
    update(textRect(PanelItem::TotalTime));
}

// --- TransportPort ---------------------------------------------------------------------

void ControlPanel::setDuration(double seconds) {
    state_.setDuration(seconds);
    track_->setRange(0, state_.trackMax());
    track_->setValue(state_.trackPosition());
    repeatBar_->setLength(state_.durationSeconds());
    repeatBar_->setRange(0, 0);
    repeatBar_->setToolTip(QString::fromStdString(state_.repeatTip()));
    applyLooks();
    updateTimeTexts();
}

void ControlPanel::setPosition(double seconds) {
    const bool textChanged = state_.setPosition(seconds);
    track_->setValue(state_.trackPosition());
    if (textChanged) updateTimeTexts();
}

void ControlPanel::setTitle(const std::string& title) {
    title_ = title;
    if (layout_[PanelItem::Title].shown) update(textRect(PanelItem::Title));
}

void ControlPanel::showPlaying() {
    state_.showPlaying();
    applyLooks();
}

void ControlPanel::showPaused() {
    state_.showPaused();
    applyLooks();
}

void ControlPanel::showStopped() {
    state_.showStopped();
    applyLooks();
}

void ControlPanel::disableButtons() {
    state_.disableButtons();
    applyLooks();
}

void ControlPanel::setTrackColour(int colorref) {
    trackColour_ = colorref;
    track_->setGradient(settings::get(settings_, keys::UseGradient));
    track_->setColour(theme::fromColorref(colorref));
}

void ControlPanel::updateRepeatRange(double a, double b) {
    state_.setRepeatRange(a, b);
    repeatBar_->setRange(state_.repeatStart(), state_.repeatEnd());
    repeatBar_->setToolTip(QString::fromStdString(state_.repeatTip()));
}

void ControlPanel::refreshCaptionButtons(const CaptionButtons& captions) {
    const bool relay = captions.loaded != state_.captions().loaded;
    state_.setCaptions(captions);
    if (relay) relayout();
    applyLooks();
}

void ControlPanel::showMuteState(bool muted) {
    state_.setMuted(muted);
    applyLooks();
    wedge_->update();
}

void ControlPanel::setVolumeStep(int step) {
    wedge_->showStep(step);
}

void ControlPanel::setBookmarkMarks(const std::vector<int>& seconds) {
    state_.setBookmarks(seconds);
    track_->setMarks(state_.bookmarkTenths());
}

void ControlPanel::clearBookmarkMarks() {
    setBookmarkMarks({});
}

void ControlPanel::setShowFrameNumber(bool on) {
    state_.setShowFrameNumber(on);
    updateTimeTexts();
}

void ControlPanel::setPictureValues(const PictureControls& picture) {
    state_.setPicture(picture);
    if (!brightness_->dragging())
        brightness_->setValue(state_.pictureSlider(PictureKind::Brightness));
    if (!sharpness_->dragging()) sharpness_->setValue(state_.pictureSlider(PictureKind::Contrast));
}

void ControlPanel::toggleAdjustRow() {
    adjustRowOpen_ = !adjustRowOpen_;
    relayout();
    if (adjustRowOpen_) {
        restartFoldTimer();
    } else {
        foldTimer_.stop();
    }
}

void ControlPanel::place(const geometry::Rect& rect, bool shown) {
    // The rectangle is in the same screen coordinates as the window's own geometry.
    QPoint topLeft(rect.left, rect.top);
    if (QWidget* parent = parentWidget()) {
        topLeft = parent->isWindow() ? topLeft - parent->geometry().topLeft()
                                     : parent->mapFromGlobal(topLeft);
    }
    setGeometry(QRect(topLeft, QSize(std::max(0, rect.width()), std::max(0, rect.height()))));
    shown_ = shown;
    setVisible(shown);
    if (shown) raise();
}

void ControlPanel::refresh() {
    relayout();
    setTrackColour(trackColour_);
}

// --- fold-out row ----------------------------------------------------------------------

int ControlPanel::comeBackMs() const {
    const int seconds = settings::get(settings_, keys::ComeBackTime);
    if (seconds < 1) return 0;
    return std::min(seconds, kMaxComeBackSeconds) * 1000;
}

void ControlPanel::restartFoldTimer() {
    if (!adjustRowOpen_) return;
    if (const int ms = comeBackMs(); ms > 0) foldTimer_.start(ms);
}

void ControlPanel::foldBack() {
    foldTimer_.stop();
    if (!adjustRowOpen_) return;
    adjustRowOpen_ = false;
    relayout();
}

// --- events ----------------------------------------------------------------------------

void ControlPanel::resizeEvent(QResizeEvent*) {
    relayout();
}

void ControlPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), theme::panelBackground());
    p.fillRect(QRect(0, 0, width(), 1), theme::panelEdge());

    if (layout_[PanelItem::CurrentTime].shown) {
        const auto text = [&](PanelItem part, const std::string& utf8, const QColor& colour) {
            const QString s = QString::fromStdString(utf8);
            const QRect r = textRect(part);
            p.setFont(theme::fittedFont(theme::timeFont(), s, r.width()));
            p.setPen(colour);
            p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, s);
        };
        text(PanelItem::CurrentTime, state_.time().currentText(), theme::textPrimary());
        text(PanelItem::TotalTime, state_.time().totalText(), theme::textSecondary());
    }
    if (adjustRowOpen_) {
        p.setFont(theme::textFont(8));
        p.setPen(theme::textSecondary());
        for (auto [part, label] :
             {std::pair{PanelItem::Brightness, "밝기"}, {PanelItem::Sharpness, "선명도"}}) {
            const QRect slider = textRect(part);
            const QRect r(5, slider.top() - 1, std::max(0, slider.left() - 5 - 6),
                          slider.height() + 2);
            p.drawText(r, Qt::AlignRight | Qt::AlignVCenter, QString::fromUtf8(label));
        }
    }
    if (layout_[PanelItem::Title].shown && !title_.empty()) {
        const QRect r = textRect(PanelItem::Title);
        p.setFont(theme::textFont(titleSize_));
        p.setPen(theme::textSecondary());
        const QString text = QFontMetrics(p.font()).elidedText(QString::fromStdString(title_),
                                                               Qt::ElideMiddle, r.width());
        p.drawText(r, Qt::AlignRight | Qt::AlignVCenter, text);
    }
}

void ControlPanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && layout_[PanelItem::TotalTime].shown &&
        textRect(PanelItem::TotalTime).contains(event->position().toPoint())) {
        if (state_.time().loaded()) setCursor(Qt::PointingHandCursor);
        if (state_.cycleTimeDisplay()) {
            update(textRect(PanelItem::TotalTime));
            listener_.timeDisplayChanged(state_.time().mode() == panel::TimeMode::Count);
        }
    }
    // Every press is the bar's own: none reaches the window below to start a window drag.
    event->accept();
}

void ControlPanel::mouseMoveEvent(QMouseEvent* event) {
    const bool overTotal = layout_[PanelItem::TotalTime].shown && state_.time().loaded() &&
                           textRect(PanelItem::TotalTime).contains(event->position().toPoint());
    if (overTotal) {
        setCursor(Qt::PointingHandCursor);
    } else {
        unsetCursor();
    }
    event->accept();
}

void ControlPanel::mouseReleaseEvent(QMouseEvent* event) {
    // A right-button release anywhere on the bar opens files, as the open button does.
    if (event->button() == Qt::RightButton && commands_) commands_(CommandId::OpenFile);
    event->accept();
}

void ControlPanel::contextMenuEvent(QContextMenuEvent* event) {
    // The right button opens files here; the player's menu belongs to the picture.
    event->accept();
}

void ControlPanel::forwardInput(QEvent* event) {
    // Sent on explicitly: an event the application synthesises (a wheel turn replayed, a
    // key from another window) would not travel up by itself.
    QWidget* target = inputTarget_ ? inputTarget_.data() : parentWidget();
    if (target) QCoreApplication::sendEvent(target, event);
    event->accept();
}

void ControlPanel::keyPressEvent(QKeyEvent* event) {
    forwardInput(event);
}

void ControlPanel::keyReleaseEvent(QKeyEvent* event) {
    forwardInput(event);
}

void ControlPanel::wheelEvent(QWheelEvent* event) {
    forwardInput(event);
}

bool ControlPanel::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (layout_[PanelItem::TotalTime].shown &&
            textRect(PanelItem::TotalTime).contains(help->pos())) {
            const std::string_view tip = state_.time().totalTip();
            QToolTip::showText(help->globalPos(),
                               QString::fromUtf8(tip.data(), static_cast<qsizetype>(tip.size())),
                               this, textRect(PanelItem::TotalTime));
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

}  // namespace orvalis
