#include "midi_player.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "audio_output.h"
#include "midi_file.h"
#include "sample_loop.h"

namespace music {
namespace {

constexpr const char* kDebianSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

}  // namespace

std::filesystem::path sound_font_path() {
    const char* chosen = std::getenv("DASOM_SOUNDFONT");
    if (chosen != nullptr && *chosen != '\0') return chosen;
    return kDebianSoundFont;
}

std::unique_ptr<MidiPlayer> MidiPlayer::open(const std::filesystem::path& midi_file) {
    std::optional<std::string> bytes = read_midi_file(midi_file);
    if (!bytes) return nullptr;
    std::unique_ptr<MidiPlayer> player(new MidiPlayer);
    player->midi_ = std::move(*bytes);
    return player;
}

MidiPlayer::~MidiPlayer() {
    if (loop_) loop_->stop();
    stop_output();
}

void MidiPlayer::set_sound(RenderedPiece piece) {
    stop_output();
    loop_ = std::make_shared<SampleLoop>(std::move(piece));
    if (playing_) loop_->play();
}

bool MidiPlayer::start_output(const std::string& driver, std::string& error) {
    if (!loop_) {
        error = "음악을 아직 들려줄 수 없습니다.";
        return false;
    }
    if (output_) return true;
    output_ = AudioOutput::open(driver, loop_, error);
    return output_ != nullptr;
}

void MidiPlayer::adopt_output(std::unique_ptr<AudioOutput> output) {
    if (output_) {
        close_in_background(std::move(output));
        return;
    }
    output_ = std::move(output);
    if (output_) output_->wake();
}

void MidiPlayer::stop_output() {
    close_in_background(std::move(output_));
}

void MidiPlayer::play() {
    if (playing_) return;
    playing_ = true;
    if (loop_) loop_->play();
    if (output_) output_->wake();
}

void MidiPlayer::stop() {
    if (!playing_) return;
    playing_ = false;
    if (loop_) loop_->stop();
    if (output_) output_->wake();
}

std::int64_t MidiPlayer::position() const {
    return loop_ ? loop_->position() : 0;
}

std::int64_t MidiPlayer::length() const {
    return loop_ ? loop_->length() : 0;
}

int MidiPlayer::rate() const {
    return loop_ ? loop_->rate() : 0;
}

void MidiPlayer::read(std::int16_t* samples, int frames) {
    if (frames <= 0 || output_) return;
    if (!loop_) {
        std::fill_n(samples, 2 * static_cast<std::size_t>(frames), std::int16_t{0});
        return;
    }
    loop_->read(samples, frames);
}

}  // namespace music
