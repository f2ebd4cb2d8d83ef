#include "music_score.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace tools {
namespace {

constexpr int kTicksPerQuarter = 480;
constexpr int kMaxChannels = 15;  // channel 10 (index 9) is the drum kit and is skipped

struct Event {
    int tick;
    int order;  // at the same tick: controls first, then note-offs, then note-ons
    std::string bytes;
};

struct Voice {
    std::string name;
    int channel = 0;
    int velocity = 64;
    int length = 0;  // ticks written so far
    int bar_start = 0;
    std::vector<Event> events;
};

class ScoreError : public std::runtime_error {
  public:
    ScoreError(const std::string& source, int line, const std::string& what)
        : std::runtime_error(source + ":" + std::to_string(line) + ": " + what) {}
};

int parse_number(const std::string& word, int low, int high) {
    std::size_t used = 0;
    int value = 0;
    try {
        value = std::stoi(word, &used);
    } catch (const std::exception&) {
        throw std::invalid_argument("숫자가 아닙니다: " + word);
    }
    if (used != word.size() || value < low || value > high) {
        throw std::invalid_argument(word + "은(는) " + std::to_string(low) + "에서 " +
                                    std::to_string(high) + " 사이여야 합니다");
    }
    return value;
}

int parse_pitch(std::string_view text) {
    static const std::map<char, int> kSteps = {{'c', 0}, {'d', 2}, {'e', 4}, {'f', 5},
                                               {'g', 7}, {'a', 9}, {'b', 11}};
    if (text.size() < 2 || !kSteps.count(text[0])) {
        throw std::invalid_argument("음 이름이 아닙니다: " + std::string(text));
    }
    int pitch = kSteps.at(text[0]);
    std::size_t at = 1;
    if (text[at] == '#' || (text[at] == 'b' && text.size() > 2)) {
        pitch += text[at] == '#' ? 1 : -1;
        ++at;
    }
    if (at + 1 != text.size() || !std::isdigit(static_cast<unsigned char>(text[at]))) {
        throw std::invalid_argument("음 이름이 아닙니다: " + std::string(text));
    }
    return pitch + 12 * (text[at] - '0' + 1);
}

int parse_length(std::string_view text) {
    static const std::map<char, int> kLengths = {{'w', 4 * kTicksPerQuarter},
                                                 {'h', 2 * kTicksPerQuarter},
                                                 {'q', kTicksPerQuarter},
                                                 {'e', kTicksPerQuarter / 2},
                                                 {'s', kTicksPerQuarter / 4}};
    if (text.empty() || text.size() > 2 || !kLengths.count(text[0]) ||
        (text.size() == 2 && text[1] != '.')) {
        throw std::invalid_argument("길이가 아닙니다: " + std::string(text));
    }
    const int length = kLengths.at(text[0]);
    return text.size() == 2 ? length + length / 2 : length;
}

void put_variable(std::string& out, std::uint32_t value) {
    char bytes[5];
    int count = 0;
    bytes[count++] = static_cast<char>(value & 0x7F);
    while ((value >>= 7) != 0) bytes[count++] = static_cast<char>(0x80 | (value & 0x7F));
    while (count > 0) out += bytes[--count];
}

void put_big_endian(std::string& out, std::uint32_t value, int count) {
    for (int i = count - 1; i >= 0; --i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::string bytes_of(std::initializer_list<int> values) {
    std::string out;
    for (int value : values) out += static_cast<char>(value);
    return out;
}

std::string track_chunk(std::vector<Event> events, int end_tick) {
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    std::string body;
    int tick = 0;
    for (const Event& event : events) {
        put_variable(body, static_cast<std::uint32_t>(event.tick - tick));
        body += event.bytes;
        tick = event.tick;
    }
    put_variable(body, static_cast<std::uint32_t>(end_tick - tick));
    body += bytes_of({0xFF, 0x2F, 0x00});
    std::string chunk = "MTrk";
    put_big_endian(chunk, static_cast<std::uint32_t>(body.size()), 4);
    return chunk + body;
}

class ScoreReader {
  public:
    explicit ScoreReader(const std::string& source) : source_(source) {}

    void line(int number, const std::string& text) {
        line_ = number;
        std::istringstream words(text.substr(0, text.find(';')));
        std::string word;
        if (!(words >> word)) return;
        try {
            if (word == "tempo") {
                words >> word;
                tempo_ = parse_number(word, 20, 300);
            } else if (word == "meter") {
                words >> word;
                const std::size_t slash = word.find('/');
                if (slash == std::string::npos) throw std::invalid_argument("박자가 아닙니다");
                const int beats = parse_number(word.substr(0, slash), 1, 16);
                const int unit = parse_number(word.substr(slash + 1), 1, 16);
                if (unit != 2 && unit != 4 && unit != 8) throw std::invalid_argument("박자 단위");
                beats_ = beats;
                beat_unit_ = unit;
            } else if (word == "voice") {
                start_voice(words);
            } else {
                do note_word(word);
                while (words >> word);
            }
        } catch (const std::invalid_argument& error) {
            throw ScoreError(source_, line_, error.what());
        }
    }

    std::string finish() {
        if (voices_.empty()) throw ScoreError(source_, line_, "성부가 없습니다");
        const int end = voices_.front().length;
        for (const Voice& voice : voices_) {
            if (voice.length != end || voice.bar_start != end) {
                throw ScoreError(source_, line_,
                                 voice.name +
                                     " 성부의 길이가 다른 성부와 다르거나 마지막 "
                                     "마디가 닫히지 않았습니다");
            }
        }
        if (end == 0) throw ScoreError(source_, line_, "음표가 없습니다");

        std::string out = "MThd";
        put_big_endian(out, 6, 4);
        put_big_endian(out, 1, 2);
        put_big_endian(out, static_cast<std::uint32_t>(voices_.size() + 1), 2);
        put_big_endian(out, kTicksPerQuarter, 2);

        const std::uint32_t micros = 60'000'000 / static_cast<std::uint32_t>(tempo_);
        int unit_power = 0;
        while ((1 << unit_power) < beat_unit_) ++unit_power;
        std::vector<Event> tempo_events = {
            {0, 0,
             bytes_of({0xFF, 0x51, 0x03, int(micros >> 16) & 0xFF, int(micros >> 8) & 0xFF,
                       int(micros) & 0xFF})},
            {0, 0, bytes_of({0xFF, 0x58, 0x04, beats_, unit_power, 24, 8})}};
        out += track_chunk(tempo_events, end);
        for (const Voice& voice : voices_) out += track_chunk(voice.events, end);
        return out;
    }

  private:
    void start_voice(std::istringstream& words) {
        Voice voice;
        if (!(words >> voice.name)) throw std::invalid_argument("성부 이름이 없습니다");
        if (voices_.size() == kMaxChannels) throw std::invalid_argument("성부가 너무 많습니다");
        voice.channel = static_cast<int>(voices_.size()) >= 9 ? static_cast<int>(voices_.size()) + 1
                                                              : static_cast<int>(voices_.size());
        const int status = 0xB0 | voice.channel;
        std::string key, value;
        while (words >> key) {
            if (!(words >> value)) throw std::invalid_argument(key + " 값이 없습니다");
            const int number = parse_number(value, 0, 127);
            if (key == "program") {
                voice.events.push_back({0, 0, bytes_of({0xC0 | voice.channel, number})});
            } else if (key == "volume") {
                voice.events.push_back({0, 0, bytes_of({status, 7, number})});
            } else if (key == "pan") {
                voice.events.push_back({0, 0, bytes_of({status, 10, number})});
            } else if (key == "reverb") {
                voice.events.push_back({0, 0, bytes_of({status, 91, number})});
            } else if (key == "velocity") {
                voice.velocity = std::max(1, number);
            } else {
                throw std::invalid_argument("모르는 성부 설정입니다: " + key);
            }
        }
        voices_.push_back(std::move(voice));
        length_ = kTicksPerQuarter;
    }

    void note_word(const std::string& word) {
        if (voices_.empty()) throw std::invalid_argument("음표 앞에 voice 줄이 있어야 합니다");
        Voice& voice = voices_.back();
        if (word == "|") {
            const int bar = kTicksPerQuarter * 4 / beat_unit_ * beats_;
            // A bar line right after another (the start of a line) closes nothing.
            if (voice.length != voice.bar_start && voice.length - voice.bar_start != bar) {
                throw std::invalid_argument(voice.name + " 성부의 마디 길이가 박자와 다릅니다");
            }
            voice.bar_start = voice.length;
            return;
        }
        if (word.rfind("v=", 0) == 0) {
            voice.velocity = parse_number(word.substr(2), 1, 127);
            return;
        }
        const std::size_t colon = word.find(':');
        if (colon != std::string::npos) length_ = parse_length(word.substr(colon + 1));
        const std::string pitches = word.substr(0, colon);
        if (pitches != "r") {
            std::size_t start = 0;
            while (start <= pitches.size()) {
                std::size_t plus = pitches.find('+', start);
                if (plus == std::string::npos) plus = pitches.size();
                const int pitch =
                    parse_pitch(std::string_view(pitches).substr(start, plus - start));
                if (pitch > 127) throw std::invalid_argument("음이 너무 높습니다: " + word);
                voice.events.push_back(
                    {voice.length, 2, bytes_of({0x90 | voice.channel, pitch, voice.velocity})});
                voice.events.push_back(
                    {voice.length + length_, 1, bytes_of({0x80 | voice.channel, pitch, 0})});
                start = plus + 1;
            }
        }
        voice.length += length_;
    }

    std::string source_;
    int line_ = 0;
    int tempo_ = 120;
    int beats_ = 4;
    int beat_unit_ = 4;
    int length_ = kTicksPerQuarter;
    std::vector<Voice> voices_;
};

}  // namespace

std::string midi_from_score(std::string_view score, const std::string& source_name) {
    ScoreReader reader(source_name);
    int number = 0;
    std::size_t start = 0;
    while (start < score.size()) {
        std::size_t end = score.find('\n', start);
        if (end == std::string_view::npos) end = score.size();
        reader.line(++number, std::string(score.substr(start, end - start)));
        start = end + 1;
    }
    return reader.finish();
}

}  // namespace tools
