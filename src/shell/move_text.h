#pragma once
// A block of lines that moves through the control in one of four directions, or stands still,
// with a raised, lowered or shadowed look. Each frame is composed off-screen and copied in one
// piece, so the moving text does not flicker.
//
// TCustomMoveText holds all state and behaviour; TMoveText only publishes the properties.

#include <QColor>
#include <QStringList>
#include <QWidget>

class QTimer;

class TCustomMoveText : public QWidget {
    Q_OBJECT
public:
    enum TMoveDirection { mdStatic, mdRightToLeft, mdLeftToRight, mdTopToBottom, mdBottomToTop };
    Q_ENUM(TMoveDirection)
    enum TTextStyle { tsNormal, tsRaised, tsLowered, tsShaddow };
    Q_ENUM(TTextStyle)
    enum TAlignment { taCenter, taLeftJustify, taRightJustify };
    Q_ENUM(TAlignment)

    // A new control is 200 x 20, shows "텍스트를 움직입니다." and moves from the start.
    explicit TCustomMoveText(QWidget* parent = nullptr);

    QStringList Items() const { return items_; }
    void setItems(const QStringList& items);
    TMoveDirection MoveDirection() const { return direction_; }
    // Stores the direction; then starts the step timer from the current step, or stops it
    // for mdStatic.
    void setMoveDirection(TMoveDirection direction);
    int Steps() const { return steps_; }
    void setSteps(int steps) { steps_ = steps; }
    int Speed() const { return speed_; }
    // Milliseconds between steps, kept within 1 ... 1000.
    void setSpeed(int speed);
    bool Continuous() const { return continuous_; }
    void setContinuous(bool continuous);
    TTextStyle TextStyle() const { return style_; }
    void setTextStyle(TTextStyle style);
    int Depth() const { return depth_; }
    void setDepth(int depth);
    TAlignment Alignment() const { return alignment_; }
    void setAlignment(TAlignment alignment);
    QColor Color() const { return color_; }
    void setColor(const QColor& color);
    // The letters' colour (the font itself is the widget's font).
    QColor FontColor() const { return font_color_; }
    void setFontColor(const QColor& color);

    // Starts the step timer unless it runs; a step within 0 ... Steps becomes the current one.
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
    void OnBegin();
    void OnStep();
    void OnEnd();

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void measure();
    void remeasure();
    void timer_step();
    int style_extra() const;

    QStringList items_;
    TMoveDirection direction_ = mdStatic;
    int steps_ = 80;
    int speed_ = 100;
    bool continuous_ = true;
    TTextStyle style_ = tsNormal;
    int depth_ = 1;
    TAlignment alignment_ = taCenter;
    QColor color_;
    QColor font_color_ = Qt::black;

    int move_step_ = 0;
    QTimer* timer_ = nullptr;
    int line_height_ = 0;
    int text_width_ = 0;
    int text_height_ = 0;
};

class TMoveText : public TCustomMoveText {
    Q_OBJECT
    Q_PROPERTY(QStringList Items READ Items WRITE setItems)
    Q_PROPERTY(TMoveDirection MoveDirection READ MoveDirection WRITE setMoveDirection)
    Q_PROPERTY(int Steps READ Steps WRITE setSteps)
    Q_PROPERTY(int Speed READ Speed WRITE setSpeed)
    Q_PROPERTY(bool Continuous READ Continuous WRITE setContinuous)
    Q_PROPERTY(TTextStyle TextStyle READ TextStyle WRITE setTextStyle)
    Q_PROPERTY(int Depth READ Depth WRITE setDepth)
    Q_PROPERTY(TAlignment Alignment READ Alignment WRITE setAlignment)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
    Q_PROPERTY(QColor FontColor READ FontColor WRITE setFontColor)
public:
    using TCustomMoveText::TCustomMoveText;
};
