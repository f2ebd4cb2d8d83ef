#pragma once
// A stretched picture: the SVG is drawn to fill the widget, whatever its size. The drawing is
// kept until the size changes, so repainting under a new reply costs a copy, not a drawing.

#include <QPixmap>
#include <QWidget>

class QSvgRenderer;

namespace shell {

class Picture : public QWidget {
    Q_OBJECT
public:
    Picture(const QString& svg_resource, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSvgRenderer* renderer_;
    QPixmap drawn_;
};

}  // namespace shell
