#include "image/qt/CVelmarisView.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QResizeEvent>
#include <QScreen>
#include <QSvgRenderer>
#include <QTimer>
#include <QWheelEvent>

#include <cmath>

#include "image/SonarState.h"
#include "image/ViewInteraction.h"
#include "image/ViewSource.h"
#include "image/qt/ViewRenderer.h"
#include "protocol/TimeStamp.h"

// The resources of a static library must be registered by name, outside
// any namespace.
static void InitViewResources()
{
    Q_INIT_RESOURCE(view);
}

namespace velmaris {

namespace {
constexpr int kCursorSize = 32; // device-independent pixels
constexpr int kCursorHot = 16;
constexpr int kWheelNotch = 120; // eighths of a degree
} // namespace

CVelmarisView::CVelmarisView(ViewSource* source, QWidget* parent)
    : QWidget(parent)
    , source_(source)
{
    // The paint covers every pixel: no background erase.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    setMouseTracking(true); // moves without a button update the read-out
    InitViewResources();
    clock_.start();
    frameTimer_ = new QTimer(this);
    frameTimer_->setSingleShot(true);
    frameTimer_->setTimerType(Qt::PreciseTimer);
    connect(frameTimer_, &QTimer::timeout, this, &CVelmarisView::PaintFrame);
}

void CVelmarisView::RequestFrame()
{
    if (const QScreen* shown = screen())
        pacer_.SetRefreshRate(shown->refreshRate());
    if (const auto wait = pacer_.Request(NowMs()))
        frameTimer_->start(static_cast<int>(std::ceil(*wait)));
}

void CVelmarisView::PaintFrame()
{
    repaint();
    // Hidden or minimised, nothing was painted; the requests are served all
    // the same, so the next one gets a frame of its own.
    if (pacer_.Pending())
        pacer_.Painted(NowMs());
}

QCursor CVelmarisView::SonarCursor(qreal devicePixelRatio)
{
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    const int side = static_cast<int>(std::ceil(kCursorSize * ratio));
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        QSvgRenderer renderer(QStringLiteral(":/view/sonar-cursor.svg"));
        if (renderer.isValid())
            renderer.render(&painter, QRectF(0, 0, side, side));
    }
    pixmap.setDevicePixelRatio(ratio);
    return QCursor(pixmap, kCursorHot, kCursorHot);
}

void CVelmarisView::RefreshCursor()
{
    // Drawn again for a new ratio (the window moved to another screen), so
    // the artwork stays sharp rather than scaled.
    const qreal ratio = devicePixelRatioF();
    if (ratio != cursorRatio_) {
        cursorRatio_ = ratio;
        setCursor(SonarCursor(ratio));
    }
}

void CVelmarisView::enterEvent(QEnterEvent* event)
{
    RefreshCursor();
    QWidget::enterEvent(event);
}

ReadoutFrame CVelmarisView::CurrentFrame() const
{
    ReadoutFrame frame;
    frame.cx = width();
    frame.cy = height();
    if (source_ != nullptr) {
        const SonarSettings& settings = source_->State().settings;
        frame.zoom = settings.zoom;
        frame.displayMode = settings.sectorMode;
        frame.rangeIndex = settings.rangeIndex;
    }
    return frame;
}

void CVelmarisView::ToggleMeasureMode()
{
    velmaris::ToggleMeasureMode(view_);
    update();
}

void CVelmarisView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || source_ == nullptr) {
        QWidget::mousePressEvent(event);
        return;
    }
    // Qt holds the mouse for this widget until the button is released, so
    // a drag keeps going outside the window.
    const QPoint at = event->position().toPoint();
    std::optional<MeasuredTarget> target = FinishedMeasurement(CurrentFrame(), view_, at.x(), at.y());
    PressLeft(view_, at.x(), at.y());
    repaint();
    if (target) {
        const LocalTime now = CurrentLocalTime();
        target->measuredAt = WallClockText(now.year, now.month, now.day, now.hour, now.minute, now.second);
        const PingRecord& ping = source_->State().ping;
        target->pingDate = ping.date;
        target->pingTime = ping.time;
        emit targetMeasured(*target);
    }
}

void CVelmarisView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    ReleaseLeft(view_);
}

void CVelmarisView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (rect().contains(at))
        RefreshCursor();
    if (MoveMouse(view_, at.x(), at.y()))
        repaint();
    ReadCursor(CurrentFrame(), view_, at.x(), at.y(), reading_);
    view_.targetSize = reading_.targetSize;
    if (view_.measurementShown && source_ != nullptr) {
        // The line follows the mouse: at once while the image is held (no
        // ping repaints it), otherwise with the next paint.
        if (source_->Status().held) {
            repaint();
        } else {
            update();
        }
    }
    emit cursorRead();
    QWidget::mouseMoveEvent(event);
}

void CVelmarisView::wheelEvent(QWheelEvent* event)
{
    // Fine-grained wheels report parts of a notch; a step needs a whole one.
    wheelRemainder_ += event->angleDelta().y();
    while (wheelRemainder_ >= kWheelNotch) {
        wheelRemainder_ -= kWheelNotch;
        emit zoomStepRequested(+1);
    }
    while (wheelRemainder_ <= -kWheelNotch) {
        wheelRemainder_ += kWheelNotch;
        emit zoomStepRequested(-1);
    }
    event->accept();
}

void CVelmarisView::SetSource(ViewSource* source)
{
    source_ = source;
    update();
}

void CVelmarisView::OnUpdate(int hint)
{
    if (hint == 0)
        RequestFrame();
}

void CVelmarisView::RecreateBuffer(const QSize& size)
{
    // A size with no area keeps the previous buffer.
    if (size.width() <= 0 || size.height() <= 0)
        return;
    buffer_ = QImage(size, QImage::Format_RGB32);
    buffer_.fill(Qt::black);
}

void CVelmarisView::resizeEvent(QResizeEvent* event)
{
    RecreateBuffer(event->size());
    QWidget::resizeEvent(event);
}

void CVelmarisView::paintEvent(QPaintEvent*)
{
    if (source_ == nullptr)
        return;
    if (buffer_.size() != size())
        RecreateBuffer(size());
    if (buffer_.isNull())
        return;
    RenderViewFrame(buffer_, *source_, view_, strokes_);
    QPainter painter(this);
    painter.drawImage(0, 0, buffer_);
    ++framesPainted_;
    // Whatever asked for this paint, it shows every ping so far.
    pacer_.Painted(NowMs());
    frameTimer_->stop();
}

} // namespace velmaris
