#pragma once
// The background music rendered once to samples, so that no synthesizer runs while it loops:
// the synthesizer and its sound font (tens of megabytes, and a few per cent of a core for as
// long as it plays) live only while the piece is rendered.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace music {

// The rate the music is rendered at, in frames a second.
inline constexpr int kRenderRate = 44100;
// A longer piece is rendered this far and loops there: its samples would take more memory than
// background music should (a minute takes 10 MB).
inline constexpr double kMaxRenderedSeconds = 600;

struct RenderedPiece {
    int rate = 0;
    // One round of the piece, from its start to where it loops; stereo frames, interleaved.
    std::vector<std::int16_t> round;
    // What still sounds when a round ends (reverberation, notes dying away), added to the start
    // of every round after the first, so that a new round never cuts the last one off. Never
    // longer than a round.
    std::vector<std::int16_t> carry;
};

// Renders `midi`, a file read_midi_file() took, with the General MIDI sound font `font`, at
// `rate` frames a second. Any thread; the synthesizer is gone, and its memory given back to the
// system, when it returns. Nothing, with the reason in `error`, when FluidSynth or the font
// cannot be loaded or FluidSynth does not take the piece; nothing, with an empty error, as soon
// as `cancel` becomes true.
std::optional<RenderedPiece> render_piece(std::string_view midi, const std::filesystem::path& font,
                                          int rate, const std::atomic<bool>& cancel,
                                          std::string& error);

}  // namespace music
