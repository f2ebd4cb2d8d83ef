#include "shell/media/rabbit_window.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <cstdint>
#include <functional>

#include "shell/error_guard.h"

namespace shell {

// The picture control: paints the parts of the window's picture that need it, and reports a
// click (a press and release on it).
class ScreenPictureView : public QWidget {
public:
    ScreenPictureView(const QImage& picture, QWidget* parent) : QWidget(parent), picture_(picture) {
        setObjectName(QStringLiteral("backimage"));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    std::function<void()> on_click;

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        const QRect area = event->rect();
        const qreal ratio = picture_.devicePixelRatio();
        painter.drawImage(QRectF(area), picture_,
                          QRectF(area.x() * ratio, area.y() * ratio, area.width() * ratio,
                                 area.height() * ratio));
    }
    void mousePressEvent(QMouseEvent* event) override {
        pressed_ = true;
        event->accept();
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        event->accept();
        // A click is a press and a release on the picture; a release alone (the end of a
        // click that started elsewhere) is not.
        if (pressed_ && rect().contains(event->position().toPoint()) && on_click) on_click();
        pressed_ = false;
    }

private:
    const QImage& picture_;
    bool pressed_ = false;
};

namespace {

constexpr int kTickMs = 100;
constexpr int kStart = 50;
// Translucent overlay: nearly transparent, yet still a surface that takes the clicks.
constexpr std::uint32_t kOverlay = 0x01000000u;

anim::Surface surface_of(QImage& image) {
    return {reinterpret_cast<std::uint32_t*>(image.bits()), image.width(), image.height(),
            static_cast<int>(image.bytesPerLine() / 4)};
}

void fill(anim::Image& image, std::uint32_t value) {
    const anim::Surface surface = image.surface();
    for (int y = 0; y < surface.height; ++y) {
        std::fill(surface.row(y), surface.row(y) + surface.width, value);
    }
}

}  // namespace

RabbitWindow::RabbitWindow(const std::filesystem::path& sheet_file, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("AnimForm"));
    setWindowTitle(QStringLiteral("AnimForm"));
    capture_screen_and_load_sheet(sheet_file);

    picture_view_ = new ScreenPictureView(picture_, this);
    picture_view_->on_click = [this] { close(); };
    tick_timer_ = new QTimer(this);
    tick_timer_->setObjectName(QStringLiteral("Timer1"));
    tick_timer_->setInterval(kTickMs);
    connect(tick_timer_, &QTimer::timeout, this, &RabbitWindow::on_tick);
    tick_timer_->start();
}

RabbitWindow::~RabbitWindow() = default;

void RabbitWindow::capture_screen_and_load_sheet(const std::filesystem::path& sheet_file) {
    QScreen* screen = parentWidget() ? parentWidget()->screen() : nullptr;
    if (!screen) screen = QGuiApplication::primaryScreen();
    const QRect geometry = screen ? screen->geometry() : QRect(0, 0, 640, 480);
    setGeometry(geometry);
    setWindowState(Qt::WindowFullScreen);

    // The picture of the screen, taken before the window shows.
    const QPixmap shot = screen ? screen->grabWindow(0) : QPixmap();
    screen_captured_ = !shot.isNull();
    if (screen_captured_) {
        picture_ = shot.toImage().convertToFormat(QImage::Format_RGB32);
        picture_.setDevicePixelRatio(shot.devicePixelRatio());
    } else {
        setAttribute(Qt::WA_TranslucentBackground);
        const qreal ratio = screen ? screen->devicePixelRatio() : 1.0;
        picture_ = QImage(geometry.size() * ratio, QImage::Format_ARGB32_Premultiplied);
        picture_.fill(QColor::fromRgba(kOverlay));
        picture_.setDevicePixelRatio(ratio);
    }

    // A sheet that cannot be loaded: the error is shown, and the window keeps its picture
    // without a sprite (no position, no buffers, no steps).
    sprite_.frame_count = 8;
    QWidget* box_parent = parentWidget() ? parentWidget() : this;
    if (!guarded(box_parent, [&] { sprite_.load(sheet_file); })) return;
    sprite_.x = kStart;
    sprite_.y = kStart;
    sprite_.dx = 2;
    sprite_.dy = 2;

    // The background buffer holds the picture one row higher; its last row stays as made.
    background_buffer_ = anim::Image(picture_.width(), picture_.height());
    fill(background_buffer_, screen_captured_ ? 0xFF000000u : kOverlay);
    anim::copy_rect(surface_of(picture_), {0, 1, picture_.width(), picture_.height() - 1},
                    background_buffer_.surface(), 0, 0);
    work_buffer_ = anim::Image(picture_.width(), picture_.height());
}

void RabbitWindow::on_tick() {
    if (!sprite_.loaded()) return;
    sprite_.mirror_x = true;
    sprite_.step(picture_.width(), picture_.height());
    const anim::Rect shown =
        sprite_.draw(background_buffer_.surface(), work_buffer_.surface(), surface_of(picture_));
    if (shown.empty()) return;
    // Only the dirty rectangle is painted again (in the window's units).
    const qreal ratio = picture_.devicePixelRatio();
    const QRectF area(shown.x / ratio, shown.y / ratio, shown.width / ratio,
                      shown.height / ratio);
    picture_view_->update(area.toAlignedRect());
}

void RabbitWindow::keyPressEvent(QKeyEvent* event) {
    event->accept();
    // A key still held from the sentence's Enter repeats; only a new press closes the window.
    if (!event->isAutoRepeat()) close();
}

void RabbitWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    picture_view_->setGeometry(rect());  // the picture fills the whole window
}

}  // namespace shell
