#include "midi_player.h"

#include <fluidsynth.h>

#include <cstdlib>
#include <mutex>

#include "midi_file.h"

namespace music {
namespace {

constexpr const char* kDebianSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

// FluidSynth reports through a global log; its messages are collected here instead of going to
// standard error, so that a failure becomes one line of ours.
std::mutex log_mutex;
std::string last_log_message;

void collect_log(int level, const char* message, void*) {
    if (level > FLUID_WARN || message == nullptr) return;
    const std::lock_guard lock(log_mutex);
    last_log_message = message;
}

void route_log() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
            fluid_set_log_function(level, collect_log, nullptr);
        }
    });
}

std::string take_log_message(const std::string& fallback) {
    const std::lock_guard lock(log_mutex);
    std::string message = last_log_message.empty() ? fallback : last_log_message;
    last_log_message.clear();
    return message;
}

}  // namespace

struct MidiPlayer::Fluid {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    fluid_player_t* player = nullptr;
    fluid_audio_driver_t* driver = nullptr;

    ~Fluid() {
        // The output thread goes first: it drives the player and the synthesizer.
        if (driver != nullptr) delete_fluid_audio_driver(driver);
        if (player != nullptr) {
            fluid_player_stop(player);
            delete_fluid_player(player);
        }
        if (synth != nullptr) delete_fluid_synth(synth);
        if (settings != nullptr) delete_fluid_settings(settings);
    }
};

std::filesystem::path sound_font_path() {
    const char* chosen = std::getenv("DASOM_SOUNDFONT");
    if (chosen != nullptr && *chosen != '\0') return chosen;
    return kDebianSoundFont;
}

std::unique_ptr<MidiPlayer> MidiPlayer::open(const std::filesystem::path& midi_file) {
    const std::optional<std::string> bytes = read_midi_file(midi_file);
    if (!bytes) return nullptr;
    route_log();

    std::unique_ptr<MidiPlayer> player(new MidiPlayer);
    player->fluid_ = std::make_unique<Fluid>();
    Fluid& fluid = *player->fluid_;
    fluid.settings = new_fluid_settings();
    if (fluid.settings == nullptr) return nullptr;
    // Background music needs no low latency: large periods keep the output thread calm. A new
    // round of the loop must not cut the tails of the last notes, so the synthesizer is not
    // reset between rounds.
    fluid_settings_setint(fluid.settings, "audio.period-size", 1024);
    fluid_settings_setint(fluid.settings, "audio.periods", 4);
    fluid_settings_setint(fluid.settings, "player.reset-synth", 0);
    fluid_settings_setint(fluid.settings, "synth.polyphony", 96);
    fluid_settings_setint(fluid.settings, "synth.chorus.active", 0);
    fluid_settings_setnum(fluid.settings, "synth.gain", 0.4);
    fluid.synth = new_fluid_synth(fluid.settings);
    if (fluid.synth == nullptr) return nullptr;
    fluid.player = new_fluid_player(fluid.synth);
    if (fluid.player == nullptr ||
        fluid_player_add_mem(fluid.player, bytes->data(), bytes->size()) != FLUID_OK) {
        return nullptr;
    }
    fluid_player_set_loop(fluid.player, -1);
    return player;
}

MidiPlayer::~MidiPlayer() = default;

bool MidiPlayer::load_sound_font(const std::filesystem::path& font, std::string& error) {
    if (font_loaded_) return true;
    if (fluid_synth_sfload(fluid_->synth, font.c_str(), 1) == FLUID_FAILED) {
        error = "음색 파일 " + font.string() +
                "을 읽을 수 없습니다: " + take_log_message("알 수 없는 오류");
        return false;
    }
    font_loaded_ = true;
    if (playing_) start_sounding();
    return true;
}

bool MidiPlayer::start_output(const std::string& driver, std::string& error) {
    if (fluid_->driver != nullptr) return true;
    for (const char* name : {"pulseaudio", "alsa"}) {
        const std::string chosen = driver.empty() ? name : driver;
        fluid_settings_setstr(fluid_->settings, "audio.driver", chosen.c_str());
        fluid_->driver = new_fluid_audio_driver(fluid_->settings, fluid_->synth);
        if (fluid_->driver != nullptr) return true;
        error =
            "오디오 출력(" + chosen + ")을 열 수 없습니다: " + take_log_message("알 수 없는 오류");
        if (!driver.empty()) break;
    }
    return false;
}

bool MidiPlayer::output_running() const {
    return fluid_->driver != nullptr;
}

void MidiPlayer::play() {
    if (playing_) return;
    playing_ = true;
    if (font_loaded_) start_sounding();
}

void MidiPlayer::start_sounding() {
    fluid_player_play(fluid_->player);
}

void MidiPlayer::stop() {
    if (!playing_) return;
    playing_ = false;
    if (!font_loaded_) return;
    fluid_player_stop(fluid_->player);
    fluid_synth_all_notes_off(fluid_->synth, -1);
}

int MidiPlayer::position() const {
    return fluid_player_get_current_tick(fluid_->player);
}

int MidiPlayer::length() const {
    return fluid_player_get_total_ticks(fluid_->player);
}

void MidiPlayer::render(std::int16_t* samples, int frames) {
    if (fluid_->driver != nullptr || frames <= 0) return;
    fluid_synth_write_s16(fluid_->synth, frames, samples, 0, 2, samples, 1, 2);
}

}  // namespace music
