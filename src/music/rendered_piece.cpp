#include "rendered_piece.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "fluid_library.h"
#include "midi_file.h"

namespace music {
namespace {

constexpr int kBlockFrames = 4096;
// What follows the end of a round is rendered until it falls silent, for at most this long.
constexpr double kMaxCarrySeconds = 10;
// A block of the carry whose loudest sample stays at this level is silence (the synthesizer's
// dither moves the last bit).
constexpr int kSilence = 4;

// The synthesizer, its sound font and its sequencer, freed in the right order.
struct Synth {
    explicit Synth(const FluidLibrary& library) : api(library) {}
    ~Synth() {
        if (player != nullptr) {
            api.fluid_player_stop(player);
            api.delete_fluid_player(player);
        }
        if (synth != nullptr) api.delete_fluid_synth(synth);
        if (settings != nullptr) api.delete_fluid_settings(settings);
    }
    Synth(const Synth&) = delete;
    Synth& operator=(const Synth&) = delete;

    const FluidLibrary& api;
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    fluid_player_t* player = nullptr;
};

// FluidSynth reads only a header of exactly six bytes; a longer one (allowed, its rest unused)
// is cut to six.
std::string with_short_header(std::string_view midi) {
    const std::uint32_t length =
        (static_cast<unsigned char>(midi[4]) << 24) | (static_cast<unsigned char>(midi[5]) << 16) |
        (static_cast<unsigned char>(midi[6]) << 8) | static_cast<unsigned char>(midi[7]);
    if (length == 6) return std::string(midi);
    std::string bytes(midi.substr(0, 14));
    bytes[4] = bytes[5] = bytes[6] = '\0';
    bytes[7] = '\6';
    bytes.append(midi.substr(8 + length));
    return bytes;
}

int peak(const std::int16_t* samples, std::size_t count) {
    int loudest = 0;
    for (std::size_t i = 0; i < count; ++i) loudest = std::max(loudest, std::abs(int{samples[i]}));
    return loudest;
}

void release_freed_memory() {
#if defined(__GLIBC__)
    // The sound font's instruments are thousands of small blocks; freed, they would stay with
    // the process.
    malloc_trim(0);
#endif
}

std::optional<RenderedPiece> render(std::string_view midi, const std::filesystem::path& font,
                                    int rate, const std::atomic<bool>& cancel, std::string& error) {
    const std::optional<MidiPiece> piece = read_midi_piece(midi);
    if (!piece) {
        error = "음악 파일이 MIDI 곡이 아닙니다.";
        return std::nullopt;
    }
    const FluidLibrary* api = fluid_library(error);
    if (api == nullptr) return std::nullopt;

    Synth fluid(*api);
    fluid.settings = api->new_fluid_settings();
    if (fluid.settings == nullptr) {
        error = "신시사이저를 만들 수 없습니다.";
        return std::nullopt;
    }
    api->fluid_settings_setnum(fluid.settings, "synth.sample-rate", rate);
    api->fluid_settings_setint(fluid.settings, "synth.polyphony", 96);
    api->fluid_settings_setint(fluid.settings, "synth.chorus.active", 0);
    api->fluid_settings_setnum(fluid.settings, "synth.gain", 1.5);
    fluid.synth = api->new_fluid_synth(fluid.settings);
    if (fluid.synth != nullptr) fluid.player = api->new_fluid_player(fluid.synth);
    const std::string bytes = with_short_header(midi);
    if (fluid.player == nullptr ||
        api->fluid_player_add_mem(fluid.player, bytes.data(), bytes.size()) != FLUID_OK) {
        error = "신시사이저를 만들 수 없습니다: " + take_fluid_log_message("알 수 없는 오류");
        return std::nullopt;
    }
    if (api->fluid_synth_sfload(fluid.synth, font.c_str(), 1) == FLUID_FAILED) {
        error = "음색 파일 " + font.string() +
                "을 읽을 수 없습니다: " + take_fluid_log_message("알 수 없는 오류");
        return std::nullopt;
    }
    api->fluid_player_play(fluid.player);

    RenderedPiece rendered;
    rendered.rate = rate;
    const auto frames = static_cast<std::size_t>(
        std::max(1.0, std::round(std::min(piece->seconds, kMaxRenderedSeconds) * rate)));
    try {
        rendered.round.resize(2 * frames);
    } catch (const std::bad_alloc&) {
        error = "음악을 담을 메모리가 없습니다.";
        return std::nullopt;
    }
    for (std::size_t done = 0; done < frames; done += kBlockFrames) {
        if (cancel) return std::nullopt;
        const int count = static_cast<int>(std::min<std::size_t>(kBlockFrames, frames - done));
        std::int16_t* out = rendered.round.data() + 2 * done;
        api->fluid_synth_write_s16(fluid.synth, count, out, 0, 2, out, 1, 2);
        if (done == 0 && api->fluid_player_get_total_ticks(fluid.player) == 0) {
            // The sequencer refused the file after all.
            error = "음악 파일을 읽을 수 없습니다: " + take_fluid_log_message("알 수 없는 오류");
            return std::nullopt;
        }
    }

    // The end of the piece dies away into the next round.
    std::vector<std::int16_t> carry;
    std::vector<std::int16_t> block(2 * kBlockFrames);
    const auto max_carry = static_cast<std::size_t>(kMaxCarrySeconds * rate);
    while (carry.size() / 2 < max_carry) {
        if (cancel) return std::nullopt;
        api->fluid_synth_write_s16(fluid.synth, kBlockFrames, block.data(), 0, 2, block.data(), 1,
                                   2);
        if (peak(block.data(), block.size()) <= kSilence) break;
        carry.insert(carry.end(), block.begin(), block.end());
    }
    // Cut off at the limit (a note held for ever), it fades rather than clicks.
    const std::size_t fade = std::min<std::size_t>(carry.size() / 2, rate / 100);
    for (std::size_t i = 0; i < fade; ++i) {
        const double gain = static_cast<double>(i) / fade;
        for (std::size_t channel = 0; channel < 2; ++channel) {
            std::int16_t& sample = carry[carry.size() - 2 * (i + 1) + channel];
            sample = static_cast<std::int16_t>(sample * gain);
        }
    }
    // A carry longer than a round (a very short piece) reaches into several rounds at once.
    rendered.carry.assign(std::min(carry.size(), rendered.round.size()), 0);
    std::vector<int> sum(rendered.carry.size(), 0);
    for (std::size_t i = 0; i < carry.size(); ++i) sum[i % rendered.round.size()] += carry[i];
    for (std::size_t i = 0; i < sum.size(); ++i) {
        rendered.carry[i] = static_cast<std::int16_t>(std::clamp(sum[i], -32768, 32767));
    }
    return rendered;
}

}  // namespace

std::optional<RenderedPiece> render_piece(std::string_view midi, const std::filesystem::path& font,
                                          int rate, const std::atomic<bool>& cancel,
                                          std::string& error) {
    error.clear();
    std::optional<RenderedPiece> rendered = render(midi, font, rate, cancel, error);
    release_freed_memory();
    return rendered;
}

}  // namespace music
