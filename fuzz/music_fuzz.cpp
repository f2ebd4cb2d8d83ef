// music.dat as the fuzzer writes it: the check that tells a playable Standard MIDI File from
// anything else never reads outside the bytes, takes only Standard MIDI Files, gives a length
// the renderer can size its samples by, and reading the file from disk agrees with it.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "music/midi_file.h"
#include "program_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto piece = music::read_midi_piece(bytes);
    if (piece && (!music::is_standard_midi_file(bytes) || !std::isfinite(piece->seconds) ||
                  piece->seconds <= 0)) {
        std::abort();
    }
    fuzzing::put_file("music.dat", bytes);
    const auto read = music::read_midi_file(fuzzing::program_folder() / "music.dat");
    if (read.has_value() != piece.has_value() || (read && *read != bytes)) std::abort();
    fuzzing::restore_file("music.dat");
    return 0;
}
