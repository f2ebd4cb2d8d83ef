#pragma once
// Telling a Standard MIDI File from anything else before it is handed to the synthesizer, the
// way a sequencer device refuses to open a file that is not one.

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

// The bytes of `path` when it is a readable Standard MIDI File of at most kMaxMidiFileSize
// bytes; nothing otherwise. Never throws for a bad file.
std::optional<std::string> read_midi_file(const std::filesystem::path& path);

}  // namespace music
