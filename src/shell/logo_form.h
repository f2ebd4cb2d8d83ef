#pragma once
// The logo window: a borderless black window, 220 x 94 inside, centred on the screen, that
// plays logo.avi once when it is first activated and closes itself a moment after the video's
// end. A video that is missing or cannot be played is reported in the error box; the window
// closes when the box is dismissed. Escape closes it at any time.

#include <QDialog>
#include <QMediaPlayer>

#include <filesystem>

class QVideoWidget;

class TLogoForm : public QDialog {
    Q_OBJECT
  public:
    // The pause between the video's end and the window's close.
    static constexpr int kEndPauseMs = 500;

    TLogoForm(std::filesystem::path video, QWidget* parent);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void FormActivate();
    void logo_playerNotify(QMediaPlayer::MediaStatus status);
    void logo_playerError(QMediaPlayer::Error error, const QString& text);

    std::filesystem::path video_;
    QVideoWidget* video_panel_ = nullptr;  // Panel1: the video surface
    QMediaPlayer* logo_player_ = nullptr;  // logo_player
    bool activated_ = false;
    bool ending_ = false;
};
