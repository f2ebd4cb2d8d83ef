#pragma once
// A block of lines that moves through the control in one of four directions, or stands still,
// with a raised, lowered or shadowed look. Each frame is composed off-screen and copied in one
// piece, so the moving text does not flicker.
//
// ScrollingTextBase holds all state and behaviour; ScrollingText only publishes the properties.

#include <QColor>
#include <QStringList>
#include <QWidget>

class QTimer;

namespace shell {

class ScrollingTextBase : public QWidget {
    Q_OBJECT
public:
    enum Direction { mdStatic, mdRightToLeft, mdLeftToRight, mdTopToBottom, mdBottomToTop };
    Q_ENUM(Direction)
    enum TextStyle { tsNormal, tsRaised, tsLowered, tsShaddow };
    Q_ENUM(TextStyle)
    enum Alignment { taCenter, taLeftJustify, taRightJustify };
    Q_ENUM(Alignment)

    // A new control is 200 x 20, shows "텍스트를 움직입니다." and moves from the start.
    explicit ScrollingTextBase(QWidget* parent = nullptr);

    QStringList items() const { return items_; }
    void set_items(const QStringList& items);
    Direction direction() const { return direction_; }
    // Stores the direction; then starts the step timer from the current step, or stops it
    // for mdStatic.
    void set_direction(Direction direction);
    int steps() const { return steps_; }
    void set_steps(int steps) { steps_ = steps; }
    int speed() const { return speed_; }
    // Milliseconds between steps, kept within 1 ... 1000.
    void set_speed(int speed);
    bool continuous() const { return continuous_; }
    void set_continuous(bool continuous);
    TextStyle text_style() const { return style_; }
    void set_text_style(TextStyle style);
    // How far the raised, lowered or shadowed look stands out, in pixels.
    int relief_depth() const { return depth_; }
    void set_relief_depth(int depth);
    Alignment alignment() const { return alignment_; }
    void set_alignment(Alignment alignment);
    QColor colour() const { return color_; }
    void set_colour(const QColor& color);
    // The letters' colour (the font itself is the widget's font).
    QColor font_colour() const { return font_color_; }
    void set_font_colour(const QColor& color);

    // Starts the step timer unless it runs; a step within 0 ... steps() becomes the current one.
    void start_at(int step);
    bool running() const;
    int move_step() const { return move_step_; }

    // The measurements of the last measuring.
    int line_height() const { return line_height_; }
    int text_width() const { return text_width_; }
    int text_height() const { return text_height_; }
    // Where the block stands in the frame of the current step (with the centring offsets for
    // the control's size).
    QPoint block_origin() const;

signals:
    void began();
    void stepped();
    void ended();

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void measure();
    void remeasure();
    void timer_step();
    int style_extra() const;

    QStringList items_;
    Direction direction_ = mdStatic;
    int steps_ = 80;
    int speed_ = 100;
    bool continuous_ = true;
    TextStyle style_ = tsNormal;
    int depth_ = 1;
    Alignment alignment_ = taCenter;
    QColor color_;
    QColor font_color_ = Qt::black;

    int move_step_ = 0;
    QTimer* timer_ = nullptr;
    int line_height_ = 0;
    int text_width_ = 0;
    int text_height_ = 0;
};

class ScrollingText : public ScrollingTextBase {
    Q_OBJECT
    // The control's properties under their designed names.
    Q_PROPERTY(QStringList Items READ items WRITE set_items)
    Q_PROPERTY(Direction MoveDirection READ direction WRITE set_direction)
    Q_PROPERTY(int Steps READ steps WRITE set_steps)
    Q_PROPERTY(int Speed READ speed WRITE set_speed)
    Q_PROPERTY(bool Continuous READ continuous WRITE set_continuous)
    Q_PROPERTY(TextStyle TextStyle READ text_style WRITE set_text_style)
    Q_PROPERTY(int Depth READ relief_depth WRITE set_relief_depth)
    Q_PROPERTY(Alignment Alignment READ alignment WRITE set_alignment)
    Q_PROPERTY(QColor Color READ colour WRITE set_colour)
    Q_PROPERTY(QColor FontColor READ font_colour WRITE set_font_colour)
public:
    using ScrollingTextBase::ScrollingTextBase;
};

}  // namespace shell
