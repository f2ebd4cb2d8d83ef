#include "midi_file.h"

#include <algorithm>
#include <array>
#include <exception>
#include <limits>
#include <vector>

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

constexpr std::size_t kChunkHead = 8;
constexpr std::uint32_t kDefaultTempo = 500000;  // microseconds a quarter note: 120 a minute

struct TempoChange {
    std::uint64_t tick;
    std::uint32_t microseconds_a_quarter;
};

// Reads the events of one track, [at, end) of the file.
class TrackReader {
  public:
    TrackReader(std::string_view bytes, std::size_t at, std::size_t end)
        : bytes_(bytes), at_(at), end_(end) {}

    // Reads every event up to the end-of-track event or the end of the chunk. False when an
    // event does not read.
    bool read(std::vector<TempoChange>& tempi, bool& sounding_note, std::uint64_t& earliest_open) {
        std::uint64_t tick = 0;
        int running_status = 0;
        std::array<std::int64_t, 16 * 128> open_since;  // note-on tick per channel and key
        open_since.fill(-1);
        while (at_ < end_) {
            std::uint32_t delta = 0;
            if (!varlen(delta)) return false;
            tick += delta;
            end_tick_ = tick;
            int status = 0;
            if (!byte(status)) return false;
            if (status < 0x80) {
                if (running_status == 0) return false;  // data without a status
                --at_;
                status = running_status;
            }
            if (status < 0xF0) {
                running_status = status;
                int data1 = 0;
                int data2 = 0;
                if (!byte(data1)) return false;
                const int kind = status & 0xF0;
                if (kind != 0xC0 && kind != 0xD0 && !byte(data2)) return false;
                const std::size_t note = (status & 0x0F) * 128 + (data1 & 0x7F);
                if (kind == 0x90 && data2 > 0) {
                    if (open_since[note] < 0) open_since[note] = static_cast<std::int64_t>(tick);
                } else if (kind == 0x80 || kind == 0x90) {
                    if (open_since[note] >= 0 &&
                        tick > static_cast<std::uint64_t>(open_since[note]))
                        sounding_note = true;
                    open_since[note] = -1;
                }
                continue;
            }
            running_status = 0;  // a system event ends the running status
            if (status == 0xF0 || status == 0xF7) {
                std::uint32_t length = 0;
                if (!varlen(length) || !skip(length)) return false;
                continue;
            }
            if (status != 0xFF) return false;  // no other status belongs in a file
            int type = 0;
            std::uint32_t length = 0;
            if (!byte(type) || !varlen(length) || length > end_ - at_) return false;
            if (type == 0x2F) break;  // end of track
            if (type == 0x51 && length >= 3) {
                tempi.push_back({tick, static_cast<std::uint32_t>(big_endian(bytes_, at_, 3))});
            }
            at_ += length;
        }
        for (std::int64_t since : open_since) {
            if (since >= 0)
                earliest_open = std::min(earliest_open, static_cast<std::uint64_t>(since));
        }
        return true;
    }

    std::uint64_t end_tick() const { return end_tick_; }

  private:
    bool byte(int& value) {
        if (at_ >= end_) return false;
        value = static_cast<unsigned char>(bytes_[at_++]);
        return true;
    }
    // A variable-length number: at most four bytes, seven bits each.
    bool varlen(std::uint32_t& value) {
        value = 0;
        for (int i = 0; i < 4; ++i) {
            int next = 0;
            if (!byte(next)) return false;
            value = (value << 7) | static_cast<std::uint32_t>(next & 0x7F);
            if (next < 0x80) return true;
        }
        return false;
    }
    bool skip(std::uint32_t length) {
        if (length > end_ - at_) return false;
        at_ += length;
        return true;
    }

    std::string_view bytes_;
    std::size_t at_;
    std::size_t end_;
    std::uint64_t end_tick_ = 0;
};

double seconds_until(std::uint64_t end_tick, std::vector<TempoChange> tempi,
                     std::uint32_t division) {
    std::stable_sort(tempi.begin(), tempi.end(),
                     [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
    double microseconds = 0;
    std::uint64_t tick = 0;
    std::uint32_t tempo = kDefaultTempo;
    for (const TempoChange& change : tempi) {
        if (change.tick >= end_tick) break;
        microseconds += static_cast<double>(change.tick - tick) * tempo / division;
        tick = change.tick;
        if (change.microseconds_a_quarter > 0) tempo = change.microseconds_a_quarter;
    }
    microseconds += static_cast<double>(end_tick - tick) * tempo / division;
    return microseconds / 1e6;
}

}  // namespace

bool is_standard_midi_file(std::string_view bytes) {
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

std::optional<MidiPiece> read_midi_piece(std::string_view bytes) {
    if (!is_standard_midi_file(bytes)) return std::nullopt;
    const std::uint32_t division = big_endian(bytes, 12, 2);
    if (division & 0x8000) return std::nullopt;  // frames a second: not a time this player keeps
    const std::uint32_t tracks = big_endian(bytes, 10, 2);

    std::vector<TempoChange> tempi;
    bool sounding_note = false;
    std::uint64_t earliest_open = std::numeric_limits<std::uint64_t>::max();
    MidiPiece piece;
    std::size_t at = kChunkHead + big_endian(bytes, 4, 4);
    for (std::uint32_t found = 0; found < tracks;) {
        const std::uint32_t length = big_endian(bytes, at + 4, 4);
        const std::size_t next = at + kChunkHead + length;
        if (bytes.substr(at, 4) == "MTrk") {
            ++found;
            TrackReader track(bytes, at + kChunkHead, next);
            if (!track.read(tempi, sounding_note, earliest_open)) return std::nullopt;
            piece.end_tick = std::max(piece.end_tick, track.end_tick());
        }
        at = next;
    }
    // A note left sounding counts when the piece goes on after it began.
    if (!sounding_note && earliest_open >= piece.end_tick) return std::nullopt;
    piece.seconds = seconds_until(piece.end_tick, std::move(tempi), division);
    return piece;
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
    if (!read_midi_piece(bytes)) return std::nullopt;
    return bytes;
}

}  // namespace music
