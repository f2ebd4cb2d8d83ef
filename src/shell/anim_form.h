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
class BackImage;
}

class TAnimForm : public QDialog {
    Q_OBJECT
public:
    // Captures the screen of `parent` (the primary screen without one) and loads `sheet_file`.
    TAnimForm(const std::filesystem::path& sheet_file, QWidget* parent);
    ~TAnimForm() override;

    const anim::Sprite& animation() const { return animation_; }
    // False where the screen could not be captured: the window is then a translucent overlay.
    bool has_screen_picture() const { return screen_captured_; }
    // The picture the window shows, with the sprite as last painted.
    const QImage& picture() const { return picture_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormCreate(const std::filesystem::path& sheet_file);
    void Timer1Timer();
    void backimageClick();
    void FormKeyPress();

    anim::Sprite animation_;
    QImage picture_;  // the screen picture; the sprite's steps are copied into it
    anim::Image background_buffer_;
    anim::Image work_buffer_;
    bool screen_captured_ = false;

    shell::BackImage* backimage_ = nullptr;  // backimage
    QTimer* timer_ = nullptr;                // Timer1
};
