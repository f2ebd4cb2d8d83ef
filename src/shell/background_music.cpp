#include "shell/background_music.h"

#include <QTimer>

#include <iostream>
#include <string>

#include "music/midi_player.h"

namespace shell {

BackgroundMusic::BackgroundMusic(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("MediaPlayer1"));
}

BackgroundMusic::~BackgroundMusic() = default;

bool BackgroundMusic::open(const std::filesystem::path& file) {
    player_ = music::MidiPlayer::open(file);
    return player_ != nullptr;
}

void BackgroundMusic::allow_output() {
    output_allowed_ = true;
    if (playing()) QTimer::singleShot(0, this, &BackgroundMusic::prepare_output);
}

void BackgroundMusic::play() {
    if (!player_) return;
    player_->play();
    if (output_allowed_ && !output_prepared_) {
        QTimer::singleShot(0, this, &BackgroundMusic::prepare_output);
    }
}

void BackgroundMusic::stop() {
    if (player_) player_->stop();
}

bool BackgroundMusic::playing() const {
    return player_ && player_->playing();
}

void BackgroundMusic::close() {
    player_.reset();
}

void BackgroundMusic::prepare_output() {
    if (!player_ || output_prepared_) return;
    output_prepared_ = true;
    const QByteArray driver = qgetenv("DASOM_AUDIO_DRIVER");
    if (driver == "none") return;
    std::string error;
    if (!player_->load_sound_font(music::sound_font_path(), error) ||
        !player_->start_output(driver.toStdString(), error)) {
        // Not the user's music file at fault: no box, one line for whoever looks.
        std::cerr << "dasom: 배경음악을 들려줄 수 없습니다. " << error << '\n';
    }
}

}  // namespace shell
