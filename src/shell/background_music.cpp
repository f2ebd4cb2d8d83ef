#include "shell/background_music.h"

#include <QTimer>

#include <iostream>
#include <string>

#include "music/midi_player.h"

namespace shell {
namespace {
// How long a stopped piece keeps its audio output: the last notes fade, then the output closes
// so that a silent player costs no processor time.
constexpr int kFadeMs = 3000;
}  // namespace

BackgroundMusic::BackgroundMusic(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("MediaPlayer1"));
    fade_timer_ = new QTimer(this);
    fade_timer_->setSingleShot(true);
    fade_timer_->setInterval(kFadeMs);
    connect(fade_timer_, &QTimer::timeout, this, [this] {
        if (player_ && !player_->playing()) player_->stop_output();
    });
}

BackgroundMusic::~BackgroundMusic() = default;

bool BackgroundMusic::open(const std::filesystem::path& file) {
    player_ = music::MidiPlayer::open(file);
    return player_ != nullptr;
}

void BackgroundMusic::allow_output() {
    output_allowed_ = true;
    if (playing()) QTimer::singleShot(0, this, &BackgroundMusic::start_sound);
}

void BackgroundMusic::play() {
    if (!player_) return;
    fade_timer_->stop();
    player_->play();
    if (output_allowed_) QTimer::singleShot(0, this, &BackgroundMusic::start_sound);
}

void BackgroundMusic::stop() {
    if (!player_) return;
    player_->stop();
    if (player_->output_running()) fade_timer_->start();
}

bool BackgroundMusic::playing() const {
    return player_ && player_->playing();
}

void BackgroundMusic::close() {
    fade_timer_->stop();
    player_.reset();
}

void BackgroundMusic::start_sound() {
    if (!playing() || output_failed_ || player_->output_running()) return;
    const QByteArray driver = qgetenv("DASOM_AUDIO_DRIVER");
    if (driver == "none") return;
    std::string error;
    if (!player_->load_sound_font(music::sound_font_path(), error) ||
        !player_->start_output(driver.toStdString(), error)) {
        // Not the user's music file at fault: no box, one line for whoever looks.
        std::cerr << "dasom: 배경음악을 들려줄 수 없습니다. " << error << '\n';
        output_failed_ = true;
        player_->unload_sound_font();  // nothing will ever hear it
    }
}

}  // namespace shell
