#include "midi_player.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>

#include "fluid_library.h"
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

void route_log(const FluidLibrary& api) {
    static std::once_flag once;
    std::call_once(once, [&] {
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
            api.fluid_set_log_function(level, collect_log, nullptr);
        }
    });
}

std::string take_log_message(const std::string& fallback) {
    const std::lock_guard lock(log_mutex);
    std::string message = last_log_message.empty() ? fallback : last_log_message;
    last_log_message.clear();
    return message;
}

// ALSA writes its own complaints to standard error while FluidSynth tries a device; they are
// held back so that a machine without sound gets the one line the caller writes.
void quiet_alsa(const char*, int, const char*, int, const char*, ...) {}

class AlsaQuiet {
  public:
    explicit AlsaQuiet(const FluidLibrary& api) : api_(api) {
        if (api_.set_alsa_error_handler != nullptr) api_.set_alsa_error_handler(quiet_alsa);
    }
    ~AlsaQuiet() {
        if (api_.set_alsa_error_handler != nullptr) api_.set_alsa_error_handler(nullptr);
    }
    AlsaQuiet(const AlsaQuiet&) = delete;
    AlsaQuiet& operator=(const AlsaQuiet&) = delete;

  private:
    const FluidLibrary& api_;
};

}  // namespace

struct MidiPlayer::Fluid {
    explicit Fluid(const FluidLibrary& library) : api(library) {}
    const FluidLibrary& api;
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    fluid_player_t* player = nullptr;
    fluid_audio_driver_t* driver = nullptr;

    ~Fluid() {
        // The output thread goes first: it drives the player and the synthesizer.
        if (driver != nullptr) api.delete_fluid_audio_driver(driver);
        if (player != nullptr) {
            api.fluid_player_stop(player);
            api.delete_fluid_player(player);
        }
        if (synth != nullptr) api.delete_fluid_synth(synth);
        if (settings != nullptr) api.delete_fluid_settings(settings);
    }
};

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

MidiPlayer::~MidiPlayer() = default;

bool MidiPlayer::load_sound_font(const std::filesystem::path& font, std::string& error) {
    if (fluid_) return true;
    const FluidLibrary* api = fluid_library(error);
    if (api == nullptr) return false;
    route_log(*api);
    auto fluid = std::make_unique<Fluid>(*api);
    fluid->settings = fluid->api.new_fluid_settings();
    if (fluid->settings == nullptr) {
        error = "신시사이저를 만들 수 없습니다.";
        return false;
    }
    // Background music needs no low latency: large periods keep the output thread calm. A new
    // round of the loop must not cut the tails of the last notes, so the synthesizer is not
    // reset between rounds.
    fluid->api.fluid_settings_setint(fluid->settings, "audio.period-size", 1024);
    fluid->api.fluid_settings_setint(fluid->settings, "audio.periods", 4);
    fluid->api.fluid_settings_setint(fluid->settings, "player.reset-synth", 0);
    fluid->api.fluid_settings_setint(fluid->settings, "synth.polyphony", 96);
    fluid->api.fluid_settings_setint(fluid->settings, "synth.chorus.active", 0);
    fluid->api.fluid_settings_setnum(fluid->settings, "synth.gain", 1.5);
    fluid->synth = fluid->api.new_fluid_synth(fluid->settings);
    if (fluid->synth != nullptr) fluid->player = fluid->api.new_fluid_player(fluid->synth);
    if (fluid->player == nullptr ||
        fluid->api.fluid_player_add_mem(fluid->player, midi_.data(), midi_.size()) != FLUID_OK) {
        error = "신시사이저를 만들 수 없습니다: " + take_log_message("알 수 없는 오류");
        return false;
    }
    fluid->api.fluid_player_set_loop(fluid->player, -1);
    if (fluid->api.fluid_synth_sfload(fluid->synth, font.c_str(), 1) == FLUID_FAILED) {
        error = "음색 파일 " + font.string() +
                "을 읽을 수 없습니다: " + take_log_message("알 수 없는 오류");
        return false;
    }
    fluid_ = std::move(fluid);
    if (playing_) fluid_->api.fluid_player_play(fluid_->player);
    return true;
}

void MidiPlayer::unload_sound_font() {
    fluid_.reset();
}

bool MidiPlayer::start_output(const std::string& driver, std::string& error) {
    if (!fluid_) {
        error = "음색 파일을 읽기 전에는 소리를 낼 수 없습니다.";
        return false;
    }
    if (fluid_->driver != nullptr) return true;
    const AlsaQuiet quiet(fluid_->api);
    error.clear();
    for (const char* name : {"pulseaudio", "alsa"}) {
        const std::string chosen = driver.empty() ? name : driver;
        fluid_->api.fluid_settings_setstr(fluid_->settings, "audio.driver", chosen.c_str());
        fluid_->driver = fluid_->api.new_fluid_audio_driver(fluid_->settings, fluid_->synth);
        if (fluid_->driver != nullptr) return true;
        error += (error.empty() ? "오디오 출력을 열 수 없습니다. " : "; ") + chosen + ": " +
                 take_log_message("알 수 없는 오류");
        if (!driver.empty()) break;
    }
    return false;
}

bool MidiPlayer::output_running() const {
    return fluid_ && fluid_->driver != nullptr;
}

void MidiPlayer::stop_output() {
    if (!fluid_ || fluid_->driver == nullptr) return;
    fluid_->api.delete_fluid_audio_driver(fluid_->driver);
    fluid_->driver = nullptr;
}

void MidiPlayer::play() {
    if (playing_) return;
    playing_ = true;
    if (fluid_) fluid_->api.fluid_player_play(fluid_->player);
}

void MidiPlayer::stop() {
    if (!playing_) return;
    playing_ = false;
    if (!fluid_) return;
    fluid_->api.fluid_player_stop(fluid_->player);
    fluid_->api.fluid_synth_all_notes_off(fluid_->synth, -1);
}

int MidiPlayer::position() const {
    return fluid_ ? fluid_->api.fluid_player_get_current_tick(fluid_->player) : 0;
}

int MidiPlayer::length() const {
    return fluid_ ? fluid_->api.fluid_player_get_total_ticks(fluid_->player) : 0;
}

void MidiPlayer::render(std::int16_t* samples, int frames) {
    if (frames <= 0 || output_running()) return;
    if (!fluid_) {
        std::fill_n(samples, 2 * static_cast<std::size_t>(frames), std::int16_t{0});
        return;
    }
    fluid_->api.fluid_synth_write_s16(fluid_->synth, frames, samples, 0, 2, samples, 1, 2);
}

}  // namespace music
