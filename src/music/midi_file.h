#pragma once
// Telling a Standard MIDI File this player can play from anything else before it is handed to
// the synthesizer, the way a sequencer device refuses to open a file that is not one.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace music {

// The largest piece the player takes; a bigger file is not background music.
inline constexpr std::uintmax_t kMaxMidiFileSize = 4 * 1024 * 1024;

// True when `bytes` is a Standard MIDI File: an "MThd" header of at least six bytes with format
// 0, 1 or 2, at least one track and a non-zero division, followed by as many "MTrk" chunks as the
// header names, each lying wholly inside the file. Never reads outside `bytes`.
bool is_standard_midi_file(std::string_view bytes);

// What the player needs to know of a piece before it plays it.
struct MidiPiece {
    std::uint64_t end_tick = 0;  // where the piece ends, and loops: the latest track end
    double seconds = 0;          // how long that is, after the tempo changes in the piece
};

// The piece in a Standard MIDI File, when every event of every track reads (a track may end
// without its end-of-track event), its time is counted in ticks a quarter note, and it holds at
// least one note of non-zero length: a note-on that sounds before its note-off, or before the
// end of the piece when no note-off follows. Nothing otherwise: a piece without a sounding note
// loops in no time at all. Never reads outside `bytes`.
std::optional<MidiPiece> read_midi_piece(std::string_view bytes);

// The bytes of `path` when it is a readable Standard MIDI File of at most kMaxMidiFileSize
// bytes holding a piece read_midi_piece() takes; nothing otherwise. Never throws for a bad
// file.
std::optional<std::string> read_midi_file(const std::filesystem::path& path);

}  // namespace music
