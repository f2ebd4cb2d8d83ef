#include "shell/media/logo_video_window.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <QVideoWidget>

#include <algorithm>
#include <limits>

#include "shell/message_boxes.h"

namespace shell {

LogoVideoWindow::LogoVideoWindow(std::filesystem::path video, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), video_(std::move(video)) {
    setObjectName(QStringLiteral("TLogoForm"));
    setWindowTitle(QStringLiteral("logo"));
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    setFixedSize(220, 94);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    video_panel_ = new QVideoWidget(this);
    video_panel_->setObjectName(QStringLiteral("Panel1"));
    video_panel_->setAspectRatioMode(Qt::KeepAspectRatio);
    layout->addWidget(video_panel_);

    // Video only: the logo has no sound, and no audio device is touched.
    logo_player_ = new QMediaPlayer(this);
    logo_player_->setObjectName(QStringLiteral("logo_player"));
    logo_player_->setVideoOutput(video_panel_);
    connect(logo_player_, &QMediaPlayer::mediaStatusChanged, this,
            &LogoVideoWindow::on_media_status);
    connect(logo_player_, &QMediaPlayer::errorOccurred, this, &LogoVideoWindow::on_media_error);
    connect(logo_player_, &QMediaPlayer::durationChanged, this,
            &LogoVideoWindow::clip_length_known);
    video_panel_->installEventFilter(this);  // a click on the picture closes the window too

    deadline_ = new QTimer(this);
    deadline_->setSingleShot(true);
    connect(deadline_, &QTimer::timeout, this, &LogoVideoWindow::close_now);

    if (const QScreen* screen = parent != nullptr && parent->screen() != nullptr
                                    ? parent->screen()
                                    : QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

void LogoVideoWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (activated_) return;
    activated_ = true;
    QTimer::singleShot(0, this, &LogoVideoWindow::start_playing);
}

void LogoVideoWindow::start_playing() {
    since_play_.start();
    deadline_->start(kNoLengthMs);
    emit deadline_changed(kNoLengthMs);
    logo_player_->setSource(QUrl::fromLocalFile(QString::fromStdU16String(video_.u16string())));
    logo_player_->play();
}

void LogoVideoWindow::clip_length_known(qint64 milliseconds) {
    if (ending_ || milliseconds <= 0 || !since_play_.isValid()) return;
    const qint64 left = std::max<qint64>(0, milliseconds + kLateMs - since_play_.elapsed());
    deadline_->start(static_cast<int>(std::min<qint64>(left, std::numeric_limits<int>::max())));
    emit deadline_changed(left);
}

void LogoVideoWindow::close_now() {
    // Whatever the media layer is doing, the window goes at once; the player is not asked
    // for anything more, since a stuck media layer would not answer.
    if (ending_) return;
    ending_ = true;
    deadline_->stop();
    hide();
    accept();
}

void LogoVideoWindow::mousePressEvent(QMouseEvent* event) {
    event->accept();
    close_now();
}

bool LogoVideoWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == video_panel_ && event->type() == QEvent::MouseButtonPress) {
        close_now();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void LogoVideoWindow::on_media_status(QMediaPlayer::MediaStatus status) {
    if (ending_ || status != QMediaPlayer::EndOfMedia) return;
    ending_ = true;
    deadline_->stop();
    // A short pause on the last picture, without holding up the event loop.
    QTimer::singleShot(kEndPauseMs, this, [this] {
        logo_player_->stop();
        accept();
    });
}

void LogoVideoWindow::on_media_error(QMediaPlayer::Error, const QString& text) {
    // The media layer reports one failure more than once: one box, then the window goes.
    if (ending_) return;
    ending_ = true;
    deadline_->stop();
    emit deadline_changed(-1);  // the box waits for the user
    logo_player_->stop();
    message_boxes().error(this, QStringLiteral("logo.avi를 재생할 수 없습니다.\n%1").arg(text));
    reject();
}

}  // namespace shell
