#include "shell/dialogs/scrolling_text.h"

#include <QEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace shell {

namespace {

// v taken to the nearest integer, ties to even, kept far inside the range of int.
int nearest(double v) {
    const double rounded = std::nearbyint(v);
    if (!(rounded > -1e9)) return -1000000000;  // also NaN
    return static_cast<int>(std::min(rounded, 1e9));
}

}  // namespace

ScrollingTextBase::ScrollingTextBase(QWidget* parent) : QWidget(parent), timer_(new QTimer(this)) {
    resize(200, 20);
    items_ = {QStringLiteral("텍스트를 움직입니다.")};
    color_ = palette().color(QPalette::Button);
    setFont(QFont(QStringLiteral("굴림체"), 10));
    timer_->setInterval(speed_);
    connect(timer_, &QTimer::timeout, this, &ScrollingTextBase::timer_step);
    set_direction(mdRightToLeft);
}

void ScrollingTextBase::set_items(const QStringList& items) {
    if (items == items_) return;
    items_ = items;
    remeasure();
}

void ScrollingTextBase::set_direction(Direction direction) {
    direction_ = direction;
    if (direction_ != mdStatic) {
        start_at(move_step_);
    } else {
        timer_->stop();
    }
    update();
}

void ScrollingTextBase::set_speed(int speed) {
    speed_ = std::clamp(speed, 1, 1000);
    timer_->setInterval(speed_);
}

void ScrollingTextBase::set_continuous(bool continuous) {
    if (continuous == continuous_) return;
    continuous_ = continuous;
    if (direction_ != mdStatic) start_at(move_step_);
}

void ScrollingTextBase::set_text_style(TextStyle style) {
    if (style == style_) return;
    style_ = style;
    remeasure();
}

void ScrollingTextBase::set_relief_depth(int depth) {
    if (depth == depth_) return;
    depth_ = depth;
    remeasure();
}

void ScrollingTextBase::set_alignment(Alignment alignment) {
    if (alignment == alignment_) return;
    alignment_ = alignment;
    remeasure();
}

void ScrollingTextBase::set_colour(const QColor& color) {
    if (color == color_) return;
    color_ = color;
    remeasure();
}

void ScrollingTextBase::set_font_colour(const QColor& color) {
    if (color == font_color_) return;
    font_color_ = color;
    remeasure();
}

void ScrollingTextBase::start_at(int step) {
    if (timer_->isActive()) return;
    if (step >= 0 && step <= steps_) move_step_ = step;
    timer_->start();
}

bool ScrollingTextBase::running() const { return timer_->isActive(); }

int ScrollingTextBase::style_extra() const {
    switch (style_) {
        case tsRaised:
        case tsLowered:
            return 2 * depth_;
        case tsShaddow:
            return depth_;
        case tsNormal:
            break;
    }
    return 0;
}

void ScrollingTextBase::measure() {
    const QFontMetrics metrics(font());
    // The cell height already holds the internal leading (the cell above the em square); the
    // line adds it once more.
    const int cell = metrics.height();
    const int internal_leading = std::max(0, cell - QFontInfo(font()).pixelSize());
    line_height_ = cell + internal_leading + style_extra();
    text_width_ = 0;
    for (const QString& line : items_) {
        text_width_ = std::max(text_width_, metrics.horizontalAdvance(line) + style_extra());
    }
    text_height_ = static_cast<int>(items_.size()) * line_height_;
}

void ScrollingTextBase::remeasure() {
    measure();
    update();
}

QPoint ScrollingTextBase::block_origin() const {
    // A control with no steps (or a negative count) shows the end of the pass instead of
    // dividing by zero.
    const double p = steps_ > 0 ? static_cast<double>(move_step_) / steps_ : 1.0;
    const double across = static_cast<double>(text_width_) + width();
    const double down = static_cast<double>(text_height_) + height();
    // The centring offsets follow the control's current size.
    const int centre_x = text_width_ < width() ? (width() - text_width_) / 2 : 0;
    const int centre_y = text_height_ < height() ? (height() - text_height_) / 2 : 0;
    switch (direction_) {
        case mdRightToLeft:
            return {nearest((1 - p) * across) - text_width_, centre_y};
        case mdLeftToRight:
            return {nearest(p * across) - text_width_, centre_y};
        case mdTopToBottom:
            return {centre_x, nearest(p * down) - text_height_};
        case mdBottomToTop:
            return {centre_x, nearest((1 - p) * down) - text_height_};
        case mdStatic:
            break;
    }
    return {centre_x, centre_y};
}

void ScrollingTextBase::paintEvent(QPaintEvent*) {
    measure();
    const qreal ratio = devicePixelRatioF();
    QPixmap frame(size() * ratio);
    frame.setDevicePixelRatio(ratio);
    frame.fill(color_);
    {
        QPainter painter(&frame);
        painter.setFont(font());
        const QFontMetrics metrics(font());
        const QColor highlight = palette().color(QPalette::Light);
        const QColor shadow = palette().color(QPalette::Dark);
        const QPoint origin = block_origin();
        auto draw_at = [&](int x, int y, const QColor& colour, const QString& line) {
            painter.setPen(colour);
            painter.drawText(QPoint(x, y + metrics.ascent()), line);
        };
        for (int i = 0; i < items_.size(); ++i) {
            const QString& line = items_[i];
            const int x = origin.x();
            const int y = origin.y() + i * line_height_;
            const int line_width = metrics.horizontalAdvance(line);
            int a = 0;
            if (alignment_ == taCenter) a = nearest(text_width_ / 2.0 - line_width / 2.0);
            if (alignment_ == taRightJustify) a = text_width_ - line_width;
            if (style_ == tsRaised || style_ == tsLowered) {
                const bool raised = style_ == tsRaised;
                draw_at(x + a - depth_, y - depth_, raised ? highlight : shadow, line);
                draw_at(x + a + depth_, y + depth_, raised ? shadow : highlight, line);
            } else if (style_ == tsShaddow) {
                draw_at(x + a + depth_, y + depth_, shadow, line);
            }
            draw_at(x + a, y, font_color_, line);
        }
    }
    QPainter(this).drawPixmap(0, 0, frame);
}

void ScrollingTextBase::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) remeasure();
}

void ScrollingTextBase::timer_step() {
    if (move_step_ == 0) emit began();
    ++move_step_;
    repaint();
    emit stepped();
    if (move_step_ > steps_) {
        timer_->stop();
        emit ended();
        move_step_ = 0;
        if (continuous_) start_at(0);
    }
}

}  // namespace shell
