#include "midi_file.h"

#include <exception>

#include "text/line_reader.h"

namespace music {
namespace {

std::uint32_t big_endian(std::string_view bytes, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

}  // namespace

bool is_standard_midi_file(std::string_view bytes) {
    constexpr std::size_t kChunkHead = 8;
    if (bytes.size() < kChunkHead + 6 || bytes.substr(0, 4) != "MThd") return false;
    const std::uint32_t header_length = big_endian(bytes, 4, 4);
    if (header_length < 6 || header_length > bytes.size() - kChunkHead) return false;
    const std::uint32_t format = big_endian(bytes, 8, 2);
    const std::uint32_t tracks = big_endian(bytes, 10, 2);
    const std::uint32_t division = big_endian(bytes, 12, 2);
    if (format > 2 || tracks == 0 || division == 0) return false;

    std::size_t at = kChunkHead + header_length;
    std::uint32_t found = 0;
    while (found < tracks) {
        if (bytes.size() - at < kChunkHead) return false;
        const std::uint32_t length = big_endian(bytes, at + 4, 4);
        if (length > bytes.size() - at - kChunkHead) return false;
        // Chunks of other kinds may lie between the tracks; they are skipped.
        if (bytes.substr(at, 4) == "MTrk") ++found;
        at += kChunkHead + length;
    }
    return true;
}

std::optional<std::string> read_midi_file(const std::filesystem::path& path) {
    // The one reader of every file: a regular file only, opened without waiting (a FIFO in the
    // file's place never blocks the start), and never more than the limit.
    std::string bytes;
    try {
        bytes = text::read_file(path, kMaxMidiFileSize);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    if (!is_standard_midi_file(bytes)) return std::nullopt;
    return bytes;
}

}  // namespace music
