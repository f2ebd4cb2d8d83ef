#include "shell/picture.h"

#include <QPainter>
#include <QSvgRenderer>

namespace shell {

Picture::Picture(const QString& svg_resource, QWidget* parent)
    : QWidget(parent), renderer_(new QSvgRenderer(svg_resource, this)) {
    renderer_->setAspectRatioMode(Qt::IgnoreAspectRatio);
}

void Picture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    renderer_->render(&painter, QRectF(rect()));
}

}  // namespace shell
