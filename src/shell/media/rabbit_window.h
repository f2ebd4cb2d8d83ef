#pragma once
// The animation window: a borderless, always-on-top, full-screen window over a picture of the
// screen taken just before it shows, on which the rabbit runs and bounces ten steps a second
// until a click or a key closes it.
//
// Where the screen cannot be captured (some Wayland desktops) the window is a translucent
// overlay over the live desktop instead. When the sheet cannot be loaded, the error is shown
// and the window shows its picture without a sprite until a click or a key.

#include <QDialog>
#include <QImage>

#include <filesystem>

#include "anim/sprite.h"
#include "anim/surface.h"

class QTimer;

namespace shell {

class ScreenPictureView;

class RabbitWindow : public QDialog {
    Q_OBJECT
public:
    // Captures the screen of `parent` (the primary screen without one) and loads `sheet_file`.
    RabbitWindow(const std::filesystem::path& sheet_file, QWidget* parent);
    ~RabbitWindow() override;

    const anim::Sprite& sprite() const { return sprite_; }
    // False where the screen could not be captured: the window is then a translucent overlay.
    bool has_screen_picture() const { return screen_captured_; }
    // The picture the window shows, with the sprite as last painted.
    const QImage& picture() const { return picture_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void capture_screen_and_load_sheet(const std::filesystem::path& sheet_file);
    void on_tick();

    anim::Sprite sprite_;
    QImage picture_;  // the screen picture; the sprite's steps are copied into it
    anim::Image background_buffer_;
    anim::Image work_buffer_;
    bool screen_captured_ = false;

    ScreenPictureView* picture_view_ = nullptr;  // backimage
    QTimer* tick_timer_ = nullptr;               // Timer1
};

}  // namespace shell
