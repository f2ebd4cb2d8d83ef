#include "shell/picture.h"

#include <QPainter>
#include <QSvgRenderer>

namespace shell {

Picture::Picture(const QString& svg_resource, QWidget* parent)
    : QWidget(parent), renderer_(new QSvgRenderer(svg_resource, this)) {
    renderer_->setAspectRatioMode(Qt::IgnoreAspectRatio);
}

void Picture::paintEvent(QPaintEvent*) {
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (pixels.isEmpty()) return;
    if (drawn_.size() != pixels) {
        drawn_ = QPixmap(pixels);
        drawn_.fill(Qt::transparent);
        QPainter drawing(&drawn_);
        renderer_->render(&drawing, QRectF(QPointF(0, 0), QSizeF(pixels)));
        drawing.end();
        drawn_.setDevicePixelRatio(ratio);
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, drawn_);
}

}  // namespace shell
