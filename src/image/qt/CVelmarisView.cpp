#include "image/qt/CVelmarisView.h"

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

#include "image/qt/ViewRenderer.h"

namespace velmaris {

CVelmarisView::CVelmarisView(ViewSource* source, QWidget* parent)
    : QWidget(parent)
    , source_(source)
{
    // The paint covers every pixel: no background erase.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
}

void CVelmarisView::SetSource(ViewSource* source)
{
    source_ = source;
    update();
}

void CVelmarisView::OnUpdate(int hint)
{
    if (hint == 0) {
        update();
    }
}

void CVelmarisView::RecreateBuffer(const QSize& size)
{
    // A size with no area keeps the previous buffer.
    if (size.width() <= 0 || size.height() <= 0) {
        return;
    }
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
    if (source_ == nullptr) {
        return;
    }
    if (buffer_.size() != size()) {
        RecreateBuffer(size());
    }
    if (buffer_.isNull()) {
        return;
    }
    RenderViewFrame(buffer_, *source_, view_);
    QPainter painter(this);
    painter.drawImage(0, 0, buffer_);
}

} // namespace velmaris
