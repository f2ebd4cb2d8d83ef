#pragma once
// The logo window: a borderless black window, 220 x 94 inside, centred on the screen, that
// plays logo.avi once when it is first activated and closes itself a moment after the video's
// end. A video that is missing or cannot be played is reported in the error box; the window
// closes when the box is dismissed. A click or Escape closes it at any time, and it closes by
// itself a few seconds after the clip's length whatever the media layer does (a media layer
// that never reports the end, or never starts, would otherwise leave a black box).

#include <QDialog>
#include <QElapsedTimer>
#include <QMediaPlayer>

#include <filesystem>

class QTimer;
class QVideoWidget;

namespace shell {

class LogoVideoWindow : public QDialog {
    Q_OBJECT
  public:
    // The pause between the video's end and the window's close.
    static constexpr int kEndPauseMs = 500;
    // How long after the clip's length the window closes at the latest.
    static constexpr int kLateMs = 3000;
    // How long it waits for the media layer to tell the clip's length.
    static constexpr int kNoLengthMs = 10000;

    LogoVideoWindow(std::filesystem::path video, QWidget* parent);

  signals:
    // The window closes at the latest this many milliseconds from now; -1 when the user closes
    // it (an error box waits for them).
    void deadline_changed(qint64 milliseconds);

  protected:
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void start_playing();
    void on_media_status(QMediaPlayer::MediaStatus status);
    void on_media_error(QMediaPlayer::Error error, const QString& text);
    void clip_length_known(qint64 milliseconds);
    void close_now();

    std::filesystem::path video_;
    QVideoWidget* video_panel_ = nullptr;  // Panel1: the video surface
    QMediaPlayer* logo_player_ = nullptr;  // logo_player
    QTimer* deadline_ = nullptr;
    QElapsedTimer since_play_;
    bool activated_ = false;
    bool ending_ = false;
};

}  // namespace shell
