// How long one chat turn takes, measured against the least any reader of the same data files
// must spend.
//
// The engine reads its data files from disk on every turn and caches nothing, so a turn cannot
// be faster than opening those files, reading their bytes and finding their line ends. Beside
// every turn this benchmark measures exactly that floor: the same system calls the turn made,
// in the same order and of the same sizes (stat of the path, open with the same flags, fstat,
// read calls of the same byte counts, close), each byte read scanned once with memchr for
// '\n'. Which calls a turn makes is recorded once per case, before timing, by wrapping the C
// library's open, read, close and stat functions (the engine and text libraries are linked
// statically; see CMakeLists.txt and "Which files a turn reads" below), and one floor pass is
// checked against the record before timing. So data1.dat counts twice when a computer question
// reads it again to fill a placeholder, and vowel.dat once for every particle bracket in the
// reply.
//
// Data sets: the default data files (data/ installed into a temporary folder) and generated sets
// 10, 100 and 500 times larger (kLargestScale; the readers take no file over 64 MiB, and a set
// with a file over that is left out with a note). A generated set keeps the default files'
// proportions: it holds scale - 1 copies of every file's sections with fresh labels, keywords,
// key phrases and reserved phrases (random Hangul syllables of the same shape, never occurring
// in a benchmark sentence), followed by the default contents. So the sentences match the same
// sections, answer groups and free-talk entries as with the default data, but those now sit at
// the very end of their files: the worst case for every reader that stops at the first fit.
// data3.dat keeps the default questions first (only the first 256 can ever be drawn).
//
// Sentences: one answered from data2.dat, one that falls through to free talk (data4.dat), one
// that falls through everything to a computer question (data3.dat, data1.dat read again), and
// one reserved command. The random generator is reset to the same seed before every turn, so
// each turn of a case does the same work.
//
// Each benchmark "turn/<scenario>/x<scale>" reports the turn's wall-clock time as its time and
// the floor beside it as the counter floor_us; every iteration times both back to back, so a
// busy machine slows both alike. After the benchmarks a table lists, per case, the median turn
// and floor times, their ratio, and the time per megabyte read at each scale (linearity). Run
// with --benchmark_repetitions=3 (or more) so that the table shows medians.
//
// The aims: a turn within 1.5 times its floor at every scale, and a time per MB read that stays
// the same from 10x to 500x (linear in data size). The table marks the cases that miss them.
//
// Own flags (before or after the benchmark flags):
//   --scales=1,10,100,500    data set sizes (1 is the default data)
//   --source_data=DIR        UTF-8 data sources (default: the repository's data/)
//   --sentence_answer=TEXT, --sentence_free_talk=TEXT, --sentence_question=TEXT,
//   --sentence_reserved=TEXT override the sentences (UTF-8)
//   --keep_data              keep the temporary data folders and print where they are

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "data_files.h"
#include "engine/engine.h"
#include "engine/quiet_host.h"
#include "engine/host.h"
#include "text/byte_search.h"
#include "text/codec.h"
#include "text/line_reader.h"

namespace fs = std::filesystem;

// ---------------------------------------------------------------------------------------------
// Which files a turn reads, and how.
//
// Every reader opens its file the same way (text::InputFile): a look at the path (stat), an
// open, a look at the open file (fstat), read calls of one chunk each until the end or until the
// reader has what it wants, a close. The engine and text libraries are linked statically and
// their calls of open, read, close and the stat family are wrapped at link time (see
// CMakeLists.txt), so while a turn is recorded every such call lands here first. glibc reaches
// the same system call under several names: open64 where file offsets are 64 bits, __open_2
// and __read_chk where _FORTIFY_SOURCE checks the arguments, stat64 and the like; all of them
// are wrapped and recorded alike. Only descriptors that came from a wrapped open while
// recording are followed, and only files opened for reading are part of the floor (a turn that
// writes is told so).

namespace io_record {

// One call a turn made, in the order it made it.
enum class Call { look, look_at_link, open, status, read, close };

struct Step {
    Call call = Call::look;
    int file = -1;            // open, status, read, close: index into Record::files
    std::string path;         // look, look_at_link: the path looked at
    std::size_t request = 0;  // read: the byte count asked for
    std::size_t got = 0;      // read: the byte count returned
};

// A file the turn opened for reading.
struct OpenedFile {
    std::string path;
    int flags = 0;           // as given to open
    bool opened = false;     // the open succeeded
    std::size_t bytes = 0;   // bytes read in all
    int reads = 0;           // read calls, the last one usually finding the end
};

struct Record {
    std::vector<OpenedFile> files;
    std::vector<Step> steps;
    int other_opens = 0;  // opens for writing or of folders: not part of the floor

    std::size_t bytes_read() const {
        std::size_t total = 0;
        for (const OpenedFile& f : files) total += f.bytes;
        return total;
    }
    int count(Call call) const {
        return static_cast<int>(std::count_if(steps.begin(), steps.end(),
                                              [call](const Step& s) { return s.call == call; }));
    }
};

bool recording = false;
Record record;
std::map<int, int> descriptors;  // open descriptor -> index into record.files

void start() {
    record = {};
    descriptors.clear();
    recording = true;
}

void opened(const char* path, int flags, int descriptor) {
    if (!recording) return;
    if ((flags & O_ACCMODE) != O_RDONLY || (flags & O_DIRECTORY) != 0) {
        ++record.other_opens;
        return;
    }
    const int index = static_cast<int>(record.files.size());
    record.files.push_back({path, flags, descriptor >= 0, 0, 0});
    record.steps.push_back({Call::open, index, {}, 0, 0});
    if (descriptor >= 0) descriptors[descriptor] = index;
}

int file_of(int descriptor) {
    if (!recording) return -1;
    const auto found = descriptors.find(descriptor);
    return found == descriptors.end() ? -1 : found->second;
}

void looked(Call call, const char* path) {
    if (recording) record.steps.push_back({call, -1, path, 0, 0});
}

void status_taken(int descriptor) {
    if (const int file = file_of(descriptor); file >= 0) {
        record.steps.push_back({Call::status, file, {}, 0, 0});
    }
}

void read_done(int descriptor, std::size_t request, long result) {
    if (const int file = file_of(descriptor); file >= 0) {
        const std::size_t got = result > 0 ? static_cast<std::size_t>(result) : 0;
        record.steps.push_back({Call::read, file, {}, request, got});
        record.files[file].bytes += got;
        record.files[file].reads += 1;
    }
}

void closing(int descriptor) {
    if (const int file = file_of(descriptor); file >= 0) {
        record.steps.push_back({Call::close, file, {}, 0, 0});
        descriptors.erase(descriptor);
    }
}

}  // namespace io_record

extern "C" {

int __real_open(const char* path, int flags, ...);
int __real_open64(const char* path, int flags, ...);
int __real___open_2(const char* path, int flags);
int __real___open64_2(const char* path, int flags);
ssize_t __real_read(int descriptor, void* buffer, std::size_t count);
ssize_t __real___read_chk(int descriptor, void* buffer, std::size_t count, std::size_t room);
int __real_close(int descriptor);
int __real_stat(const char* path, struct stat* status);
int __real_stat64(const char* path, struct stat64* status);
int __real_lstat(const char* path, struct stat* status);
int __real_lstat64(const char* path, struct stat64* status);
int __real_fstat(int descriptor, struct stat* status);
int __real_fstat64(int descriptor, struct stat64* status);

namespace {
// The mode argument, present only when the flags create a file.
mode_t mode_argument(int flags, va_list arguments) {
    return (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE
               ? static_cast<mode_t>(va_arg(arguments, int))
               : 0;
}
}  // namespace

int __wrap_open(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = mode_argument(flags, arguments);
    va_end(arguments);
    const int descriptor = __real_open(path, flags, mode);
    io_record::opened(path, flags, descriptor);
    return descriptor;
}

int __wrap_open64(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = mode_argument(flags, arguments);
    va_end(arguments);
    const int descriptor = __real_open64(path, flags, mode);
    io_record::opened(path, flags, descriptor);
    return descriptor;
}

int __wrap___open_2(const char* path, int flags) {
    const int descriptor = __real___open_2(path, flags);
    io_record::opened(path, flags, descriptor);
    return descriptor;
}

int __wrap___open64_2(const char* path, int flags) {
    const int descriptor = __real___open64_2(path, flags);
    io_record::opened(path, flags, descriptor);
    return descriptor;
}

ssize_t __wrap_read(int descriptor, void* buffer, std::size_t count) {
    const ssize_t n = __real_read(descriptor, buffer, count);
    io_record::read_done(descriptor, count, n);
    return n;
}

ssize_t __wrap___read_chk(int descriptor, void* buffer, std::size_t count, std::size_t room) {
    const ssize_t n = __real___read_chk(descriptor, buffer, count, room);
    io_record::read_done(descriptor, count, n);
    return n;
}

int __wrap_close(int descriptor) {
    io_record::closing(descriptor);
    return __real_close(descriptor);
}

int __wrap_stat(const char* path, struct stat* status) {
    io_record::looked(io_record::Call::look, path);
    return __real_stat(path, status);
}

int __wrap_stat64(const char* path, struct stat64* status) {
    io_record::looked(io_record::Call::look, path);
    return __real_stat64(path, status);
}

int __wrap_lstat(const char* path, struct stat* status) {
    io_record::looked(io_record::Call::look_at_link, path);
    return __real_lstat(path, status);
}

int __wrap_lstat64(const char* path, struct stat64* status) {
    io_record::looked(io_record::Call::look_at_link, path);
    return __real_lstat64(path, status);
}

int __wrap_fstat(int descriptor, struct stat* status) {
    io_record::status_taken(descriptor);
    return __real_fstat(descriptor, status);
}

int __wrap_fstat64(int descriptor, struct stat64* status) {
    io_record::status_taken(descriptor);
    return __real_fstat64(descriptor, status);
}

}  // extern "C"

namespace {

using engine::QuietHost;

// ---------------------------------------------------------------------------------------------
// Scenarios.

enum class Path { reserved, answer, free_talk, computer_question };

const char* path_name(Path path) {
    switch (path) {
        case Path::reserved: return "reserved command";
        case Path::answer: return "data2 answer";
        case Path::free_talk: return "free talk";
        case Path::computer_question: return "computer question";
    }
    return "?";
}

struct Scenario {
    std::string name;
    std::string sentence_utf8;
    Path expected;
};

std::vector<Scenario> default_scenarios() {
    return {
        {"answer", "어제 저녁에 김치찌개 먹었어", Path::answer},
        {"free_talk", "흠 흠", Path::free_talk},
        {"question", "쿼크 글루온", Path::computer_question},
        {"reserved", "이제 디버그 꺼", Path::reserved},
    };
}

// The files of the program folder the engine reads during a turn (mal.dat belongs to the idle
// timer but is part of the data set all the same).
const char* const kEngineFiles[] = {"reserve.dat", "data1.dat", "data2.dat", "data3.dat",
                                    "data4.dat",   "vowel.dat", "mal.dat"};

// The largest generated data set run by default. Every reader refuses a file over
// text::kDataFileLimit (64 MiB), and at 500 times the default data the largest file (data2.dat,
// about 66 kB) comes to half of that: the data can nearly double before this scale stops
// fitting. A scale whose files would not fit is left out with a note, never run half-way.
constexpr int kLargestScale = 500;

// ---------------------------------------------------------------------------------------------
// UTF-8 helpers for the generator.

std::u32string decode_utf8(std::string_view s) {
    std::u32string out;
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        int extra = b < 0x80 ? 0 : b < 0xE0 ? 1 : b < 0xF0 ? 2 : 3;
        char32_t c = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
        for (int k = 1; k <= extra && i + k < s.size(); ++k) {
            c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        }
        out += c;
        i += 1 + extra;
    }
    return out;
}

std::string encode_utf8(std::u32string_view s) {
    std::string out;
    for (const char32_t c : s) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

bool is_syllable(char32_t c) { return c >= 0xAC00 && c <= 0xD7A3; }

std::vector<std::string> read_source_lines(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
    }
    return lines;
}

void write_source_lines(const fs::path& path, const std::vector<std::string>& lines) {
    std::ofstream out(path, std::ios::binary);
    for (const std::string& line : lines) out << line << '\n';
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

bool begins_with(std::string_view line, std::string_view prefix) {
    return line.substr(0, prefix.size()) == prefix;
}

// Lines before the first header ("*") line, and the rest.
std::pair<std::vector<std::string>, std::vector<std::string>> split_preamble(
    const std::vector<std::string>& lines) {
    const auto first = std::find_if(lines.begin(), lines.end(),
                                    [](const std::string& l) { return begins_with(l, "*"); });
    return {std::vector<std::string>(lines.begin(), first),
            std::vector<std::string>(first, lines.end())};
}

// ---------------------------------------------------------------------------------------------
// Generated data sets.

class Generator {
public:
    Generator(int scale, std::vector<std::string> sentences_cp949)
        : random_(20261208u + static_cast<unsigned>(scale)),
          sentences_(std::move(sentences_cp949)) {
        for (const char* mark : {"의문", "평서", "좋음", "나쁨", "무"}) {
            forbidden_in_labels_.push_back(text::cp949(mark));
        }
    }

    // Writes the UTF-8 sources of a data set `scale` times the default one into `folder`.
    void write_sources(const fs::path& source, const fs::path& folder, int scale) {
        fs::create_directories(folder);
        const auto keywords = read_source_lines(source / "data1.dat");
        for (const std::string& line : keywords) {
            if (!begins_with(line, "*")) continue;
            const std::string label = bracket(line);
            if (!label.empty()) forbidden_in_labels_.push_back(text::cp949(label));
        }
        const int copies = scale - 1;
        labels_.assign(copies, {});

        // reserve.dat: pairs of phrase and command.
        {
            const auto lines = read_source_lines(source / "reserve.dat");
            std::vector<std::string> out;
            for (int c = 0; c < copies; ++c) {
                for (std::size_t i = 0; i < lines.size(); ++i) {
                    out.push_back(i % 2 == 0 ? fresh_word(lines[i]) : lines[i]);
                }
            }
            out.insert(out.end(), lines.begin(), lines.end());
            write_source_lines(folder / "reserve.dat", out);
        }
        // data1.dat: keyword sections.
        {
            auto [out, body] = split_preamble(keywords);
            for (int c = 0; c < copies; ++c) {
                for (const std::string& line : body) {
                    if (begins_with(line, "*")) {
                        const std::string label = bracket(line);
                        if (label == "1" || label == "2" || label == "3" || label == "질문") {
                            out.push_back(line);
                        } else {
                            out.push_back(replace_first_bracket(line, copy_label(c, label)));
                        }
                    } else if (line.empty() || begins_with(line, "//")) {
                        out.push_back(line);
                    } else {
                        out.push_back(fresh_word(line));
                    }
                }
            }
            out.insert(out.end(), body.begin(), body.end());
            write_source_lines(folder / "data1.dat", out);
        }
        // data2.dat: answer groups.
        {
            auto [out, body] = split_preamble(read_source_lines(source / "data2.dat"));
            for (int c = 0; c < copies; ++c) {
                for (const std::string& line : body) {
                    out.push_back(begins_with(line, "*") ? copy_answer_header(c, line) : line);
                }
            }
            out.insert(out.end(), body.begin(), body.end());
            write_source_lines(folder / "data2.dat", out);
        }
        // data3.dat: count, then the questions; the default ones stay first.
        {
            const auto lines = read_source_lines(source / "data3.dat");
            std::vector<std::string> out;
            const int count = lines.empty() ? 0 : std::atoi(lines[0].c_str());
            out.push_back(std::to_string(count * scale));
            out.insert(out.end(), lines.begin() + (lines.empty() ? 0 : 1), lines.end());
            for (int c = 0; c < copies; ++c) {
                for (std::size_t i = 1; i < lines.size(); ++i) {
                    out.push_back(copy_question(c, lines[i]));
                }
            }
            write_source_lines(folder / "data3.dat", out);
        }
        // data4.dat: free-talk entries.
        {
            const auto lines = read_source_lines(source / "data4.dat");
            auto [out, body] = split_preamble(lines);
            for (int c = 0; c < copies; ++c) {
                for (const std::string& line : body) {
                    out.push_back(line.find('*') != std::string::npos
                                      ? "*" + fresh_word(line.substr(1))
                                      : line);
                }
            }
            out.insert(out.end(), body.begin(), body.end());
            write_source_lines(folder / "data4.dat", out);
        }
        // mal.dat: count, then the monologue lines.
        {
            const auto lines = read_source_lines(source / "mal.dat");
            std::vector<std::string> out;
            const int count = lines.empty() ? 0 : std::atoi(lines[0].c_str());
            out.push_back(std::to_string(count * scale));
            for (int c = 0; c < scale; ++c) {
                for (std::size_t i = 1; i < lines.size(); ++i) out.push_back(lines[i]);
            }
            write_source_lines(folder / "mal.dat", out);
        }
    }

private:
    static std::string bracket(std::string_view line) {
        const std::size_t open = line.find('[');
        const std::size_t close = line.find(']', open == std::string_view::npos ? 0 : open);
        if (open == std::string_view::npos || close == std::string_view::npos) return {};
        return std::string(line.substr(open + 1, close - open - 1));
    }

    static std::string replace_first_bracket(const std::string& line, const std::string& label) {
        const std::size_t open = line.find('[');
        const std::size_t close = line.find(']', open);
        return line.substr(0, open + 1) + label + line.substr(close);
    }

    char32_t syllable() {
        return 0xAC00 + std::uniform_int_distribution<int>(0, 11171)(random_);
    }

    // A word of the same shape (every Hangul syllable replaced) that occurs in no sentence.
    std::string fresh_word(const std::string& original) {
        for (;;) {
            std::u32string word = decode_utf8(original);
            bool changed = false;
            for (char32_t& c : word) {
                if (is_syllable(c)) {
                    c = syllable();
                    changed = true;
                }
            }
            if (!changed) word.insert(word.begin(), syllable());
            std::string utf8 = encode_utf8(word);
            const std::string bytes = text::cp949(utf8);
            const bool clean = std::none_of(sentences_.begin(), sentences_.end(),
                                            [&](const std::string& s) {
                                                return text::contains(s, bytes);
                                            });
            if (clean) return utf8;
        }
    }

    // The label a copy uses in place of a default label: as long (at least two syllables),
    // unique, and holding no default label or header mark, so no header of a copy can be
    // mistaken for a default one.
    std::string copy_label(int copy, const std::string& original) {
        auto& labels = labels_[copy];
        if (const auto found = labels.find(original); found != labels.end()) return found->second;
        const std::u32string characters = decode_utf8(original);
        const std::size_t length = std::max<std::size_t>(
            2, std::count_if(characters.begin(), characters.end(), is_syllable));
        for (;;) {
            std::u32string label;
            for (std::size_t i = 0; i < length; ++i) label += syllable();
            const std::string utf8 = encode_utf8(label);
            const std::string header = text::cp949("*[" + utf8 + "]");
            const bool clean = std::none_of(forbidden_in_labels_.begin(),
                                            forbidden_in_labels_.end(),
                                            [&](const std::string& f) {
                                                return text::contains(header, f);
                                            });
            if (clean && used_labels_.insert(utf8).second) {
                labels.emplace(original, utf8);
                return utf8;
            }
        }
    }

    // "*[person][item]...": the person field stays, every item field gets the copy's label.
    std::string copy_answer_header(int copy, const std::string& line) {
        std::string out;
        std::size_t at = 0;
        int field = 0;
        for (;;) {
            const std::size_t open = line.find('[', at);
            const std::size_t close = open == std::string::npos ? open : line.find(']', open);
            if (close == std::string::npos) break;
            out += line.substr(at, open + 1 - at);
            const std::string name = line.substr(open + 1, close - open - 1);
            out += field++ == 0 ? name : copy_label(copy, name);
            out += ']';
            at = close + 1;
        }
        return out + line.substr(at);
    }

    std::string copy_question(int copy, const std::string& line) {
        std::string out;
        std::size_t at = 0;
        for (;;) {
            const std::size_t open = line.find('{', at);
            const std::size_t close = open == std::string::npos ? open : line.find('}', open);
            if (close == std::string::npos) break;
            out += line.substr(at, open + 1 - at);
            out += copy_label(copy, line.substr(open + 1, close - open - 1));
            out += '}';
            at = close + 1;
        }
        return out + line.substr(at);
    }

    std::mt19937 random_;
    std::vector<std::string> sentences_;
    std::vector<std::string> forbidden_in_labels_;
    std::vector<std::map<std::string, std::string>> labels_;
    std::set<std::string> used_labels_;
};

// ---------------------------------------------------------------------------------------------
// Cases: one scenario on one data set.

struct Case {
    const Scenario* scenario = nullptr;
    int scale = 1;
    fs::path folder;
    std::string sentence;  // CP949
    unsigned seed = 1;
    std::uintmax_t data_bytes = 0;
    io_record::Record record;
    Path path = Path::reserved;
    std::string reply;

    std::string name(const char* what) const {
        return std::string(what) + "/" + scenario->name + "/x" + std::to_string(scale);
    }
    std::size_t bytes_read() const { return record.bytes_read(); }
};

Path classify(const io_record::Record& record) {
    const auto opened = [&](const char* name) {
        return std::any_of(record.files.begin(), record.files.end(),
                           [&](const io_record::OpenedFile& f) {
                               return fs::path(f.path).filename() == name;
                           });
    };
    if (opened("data3.dat")) return Path::computer_question;
    if (opened("data4.dat")) return Path::free_talk;
    if (opened("data2.dat")) return Path::answer;
    return Path::reserved;
}

// The computer's question is the first random draw of a turn that falls through to it. Picks
// a seed whose draw is one of the default questions with exactly one placeholder and one particle
// bracket, so every scale asks the same kind of question (data1.dat read twice, vowel.dat once).
unsigned question_seed(const fs::path& folder, int scale) {
    const auto lines = text::read_all_lines(folder / "data3.dat");
    if (lines.size() < 2) return 1;
    const int count = std::atoi(lines[0].c_str());
    const int defaults = count / scale;
    for (unsigned seed = 1; seed < 100000; ++seed) {
        std::mt19937 random(seed);
        const int drawn =
            (count <= 0 ? 0 : std::uniform_int_distribution<int>(0, count - 1)(random)) % 256;
        if (drawn >= defaults || drawn + 1 >= static_cast<int>(lines.size())) continue;
        const std::string& q = lines[drawn + 1];
        if (std::count(q.begin(), q.end(), '{') == 1 && std::count(q.begin(), q.end(), '[') == 1) {
            return seed;
        }
    }
    return 1;
}

void record_turn(Case& c) {
    QuietHost host;
    std::mt19937 random(c.seed);
    engine::Engine engine(c.folder, host, random);
    io_record::start();
    try {
        engine.chat_turn(c.sentence);
    } catch (...) {
        io_record::recording = false;
        throw;
    }
    io_record::recording = false;
    c.record = std::move(io_record::record);
    c.path = classify(c.record);
    c.reply = host.speech;
}

// ---------------------------------------------------------------------------------------------
// The timed body: every iteration times one turn and one floor pass back to back (in turns
// first one, then the other), so a busy machine slows both alike and their ratio stays fair.

// Makes the calls the turn made, in its order and with its sizes: the same looks at the same
// paths, the same files opened with the same flags, the same read calls of the same byte
// counts, the same closes. Every byte read is scanned once with memchr for the line ends. With
// `check`, throws when a call does not give what it gave during the turn (the data changed, or
// the floor no longer mirrors the turn).
std::size_t replay_floor(const io_record::Record& record, std::vector<int>& descriptors,
                         char* buffer, bool check = false) {
    using io_record::Call;
    descriptors.assign(record.files.size(), -1);
    std::size_t lines = 0;
    struct stat status;
    for (const io_record::Step& step : record.steps) {
        switch (step.call) {
            case Call::look:
                benchmark::DoNotOptimize(::stat(step.path.c_str(), &status));
                break;
            case Call::look_at_link:
                benchmark::DoNotOptimize(::lstat(step.path.c_str(), &status));
                break;
            case Call::open: {
                const io_record::OpenedFile& file = record.files[step.file];
                // The mode argument keeps a fortified open from taking another entry point than
                // the readers' open with constant flags.
                descriptors[step.file] = ::open(file.path.c_str(), file.flags, 0);
                if (check && (descriptors[step.file] >= 0) != file.opened) {
                    throw std::runtime_error("the floor's open of " + file.path +
                                             " did not do what the turn's did");
                }
                break;
            }
            case Call::status:
                benchmark::DoNotOptimize(::fstat(descriptors[step.file], &status));
                break;
            case Call::read: {
                const ssize_t n = ::read(descriptors[step.file], buffer, step.request);
                const std::size_t got = n > 0 ? static_cast<std::size_t>(n) : 0;
                if (check && got != step.got) {
                    throw std::runtime_error("the floor read " + std::to_string(got) +
                                             " bytes of " + record.files[step.file].path +
                                             " where the turn read " +
                                             std::to_string(step.got));
                }
                const char* p = buffer;
                const char* const end = p + got;
                while (p < end) {
                    const void* lf = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
                    if (!lf) break;
                    ++lines;
                    p = static_cast<const char*>(lf) + 1;
                }
                break;
            }
            case Call::close:
                ::close(descriptors[step.file]);
                descriptors[step.file] = -1;
                break;
        }
    }
    // A file the turn left open (none does) is closed all the same.
    for (int& descriptor : descriptors) {
        if (descriptor >= 0) ::close(descriptor);
        descriptor = -1;
    }
    return lines;
}

// The largest read the turn asked for: the floor's buffer.
std::size_t largest_request(const io_record::Record& record) {
    std::size_t request = 1;
    for (const auto& step : record.steps) request = std::max(request, step.request);
    return request;
}

void turn_and_floor(benchmark::State& state, const Case* c) {
    using Clock = std::chrono::steady_clock;
    QuietHost host;
    const std::mt19937 seeded(c->seed);
    std::mt19937 random = seeded;
    engine::Engine engine(c->folder, host, random);
    std::vector<char> buffer(largest_request(c->record));
    std::vector<int> descriptors;

    const auto turn = [&] {
        random = seeded;
        engine.chat_turn(c->sentence);
    };
    const auto floor = [&] {
        benchmark::DoNotOptimize(replay_floor(c->record, descriptors, buffer.data()));
    };

    double turn_seconds = 0;
    double floor_seconds = 0;
    bool turn_first = true;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        turn_first ? turn() : floor();
        const auto t1 = Clock::now();
        turn_first ? floor() : turn();
        const auto t2 = Clock::now();
        const double first = std::chrono::duration<double>(t1 - t0).count();
        const double second = std::chrono::duration<double>(t2 - t1).count();
        const double turn_time = turn_first ? first : second;
        turn_seconds += turn_time;
        floor_seconds += turn_first ? second : first;
        state.SetIterationTime(turn_time);
        turn_first = !turn_first;
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * c->bytes_read()));
    state.counters["floor_us"] =
        benchmark::Counter(floor_seconds * 1e6, benchmark::Counter::kAvgIterations);
    state.counters["ratio"] = benchmark::Counter(turn_seconds / floor_seconds);
}

// ---------------------------------------------------------------------------------------------
// Collecting medians for the summary.

struct Timing {
    double turn = 0;   // seconds
    double floor = 0;  // seconds
};

class SummaryReporter : public benchmark::ConsoleReporter {
public:
    SummaryReporter() : ConsoleReporter(::isatty(1) ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            const double unit = benchmark::GetTimeUnitMultiplier(run.time_unit);
            const auto floor = run.counters.find("floor_us");
            if (floor == run.counters.end()) continue;
            const Timing t{run.GetAdjustedRealTime() / unit, floor->second.value / 1e6};
            const std::string& name = run.run_name.function_name;
            if (run.run_type == Run::RT_Aggregate) {
                if (run.aggregate_name == "median") medians_[name] = t;
            } else {
                singles_[name].push_back(t);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    bool find(const std::string& name, Timing& out) const {
        if (const auto m = medians_.find(name); m != medians_.end()) {
            out = m->second;
            return true;
        }
        const auto s = singles_.find(name);
        if (s == singles_.end() || s->second.empty()) return false;
        auto turns = s->second;
        auto floors = s->second;
        std::sort(turns.begin(), turns.end(), [](auto a, auto b) { return a.turn < b.turn; });
        std::sort(floors.begin(), floors.end(), [](auto a, auto b) { return a.floor < b.floor; });
        out = {turns[turns.size() / 2].turn, floors[floors.size() / 2].floor};
        return true;
    }

private:
    std::map<std::string, Timing> medians_;
    std::map<std::string, std::vector<Timing>> singles_;
};

// A turn may take this many times its floor.
constexpr double kFloorRatioTarget = 1.5;
// The time per MB at a larger scale may exceed the one at 10x by this factor before the turn
// counts as growing faster than its data (timings on a shared machine wobble by about this much).
constexpr double kLinearityTolerance = 1.25;

std::string micros(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", seconds * 1e6);
    return text;
}

std::string fixed(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string pad(const std::string& s, std::size_t width, bool left = false) {
    if (s.size() >= width) return s;
    return left ? s + std::string(width - s.size(), ' ') : std::string(width - s.size(), ' ') + s;
}

std::string describe_reads(const Case& c) {
    struct PerFile {
        int opens = 0;
        int reads = 0;
        std::size_t bytes = 0;
    };
    std::map<std::string, PerFile> per_file;
    std::vector<std::string> order;
    for (const auto& f : c.record.files) {
        const std::string name = fs::path(f.path).filename().string();
        if (!per_file.count(name)) order.push_back(name);
        PerFile& p = per_file[name];
        p.opens += 1;
        p.reads += f.reads;
        p.bytes += f.bytes;
    }
    std::string out;
    for (const auto& name : order) {
        const PerFile& p = per_file[name];
        if (!out.empty()) out += ", ";
        out += name;
        if (p.opens > 1) out += " x" + std::to_string(p.opens);
        out += " (" + std::to_string(p.bytes) + " B, " + std::to_string(p.reads) +
               (p.reads == 1 ? " read)" : " reads)");
    }
    return out;
}

std::string describe_calls(const io_record::Record& record) {
    using io_record::Call;
    std::string out;
    const std::pair<Call, const char*> names[] = {
        {Call::look, "stat"}, {Call::look_at_link, "lstat"}, {Call::open, "open"},
        {Call::status, "fstat"}, {Call::read, "read"},       {Call::close, "close"}};
    for (const auto& [call, name] : names) {
        const int n = record.count(call);
        if (n == 0) continue;
        if (!out.empty()) out += ", ";
        out += std::to_string(n) + " " + name;
    }
    return out;
}

void print_summary(const std::vector<Case>& cases, const SummaryReporter& reporter) {
    std::cout << "\nChat turn against its I/O floor: medians, wall clock, microseconds per turn;"
                 " ratio = turn / floor;\nms/MB = milliseconds per MB the turn reads\n\n";
    std::cout << pad("scenario", 10, true) << pad("scale", 6) << pad("data bytes", 11)
              << pad("read/turn", 10) << pad("turn us", 10) << pad("floor us", 10)
              << pad("ratio", 7) << pad("turn ms/MB", 11) << pad("floor ms/MB", 12) << "\n";
    struct Row {
        double turn_per_mb = 0;
        double floor_per_mb = 0;
    };
    std::map<std::string, std::map<int, Row>> rows;
    for (const Case& c : cases) {
        Timing t;
        if (!reporter.find(c.name("turn"), t)) continue;
        const double mb = static_cast<double>(c.bytes_read()) / 1e6;
        const Row row{t.turn * 1e3 / mb, t.floor * 1e3 / mb};
        rows[c.scenario->name][c.scale] = row;
        std::cout << pad(c.scenario->name, 10, true) << pad(std::to_string(c.scale) + "x", 6)
                  << pad(std::to_string(c.data_bytes), 11)
                  << pad(std::to_string(c.bytes_read()), 10) << pad(micros(t.turn), 10)
                  << pad(micros(t.floor), 10) << pad(fixed(t.turn / t.floor, 2), 7)
                  << pad(fixed(row.turn_per_mb, 2), 11) << pad(fixed(row.floor_per_mb, 2), 12)
                  << (t.turn > kFloorRatioTarget * t.floor ? "  over 1.5x" : "") << "\n";
    }
    std::cout << "\nLinearity: time per MB read, against 10x (1.00 = linear in data size)\n";
    for (const auto& [scenario, by_scale] : rows) {
        const auto ten = by_scale.find(10);
        if (ten == by_scale.end()) continue;
        for (const auto& [scale, row] : by_scale) {
            if (scale <= 10) continue;
            const double growth = row.turn_per_mb / ten->second.turn_per_mb;
            std::cout << "  " << pad(scenario, 10, true) << pad(std::to_string(scale), 5)
                      << "x / 10x: turn " << fixed(growth, 2) << ", floor "
                      << fixed(row.floor_per_mb / ten->second.floor_per_mb, 2)
                      << (growth > kLinearityTolerance ? "  grows faster than the data" : "")
                      << "\n";
        }
    }
}

std::uintmax_t data_set_bytes(const fs::path& folder) {
    std::uintmax_t total = 0;
    for (const char* name : kEngineFiles) {
        std::error_code error;
        const auto size = fs::file_size(folder / name, error);
        if (!error) total += size;
    }
    return total;
}

struct LargestFile {
    std::string name;
    std::uintmax_t bytes = 0;
};

LargestFile largest_file(const fs::path& folder) {
    LargestFile largest;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        const std::uintmax_t bytes = entry.file_size();
        if (bytes > largest.bytes) largest = {entry.path().filename().string(), bytes};
    }
    return largest;
}

std::string megabytes(std::uintmax_t bytes) {
    const double b = static_cast<double>(bytes);
    return b < 1e6 ? fixed(b / 1e3, 1) + " kB" : fixed(b / 1e6, 1) + " MB";
}

std::vector<int> parse_scales(const std::string& text) {
    std::vector<int> scales;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) {
        const int scale = std::atoi(item.c_str());
        if (scale >= 1) scales.push_back(scale);
    }
    return scales;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> scales = {1, 10, 100, kLargestScale};
    fs::path source = DASOM_SOURCE_DATA;
    bool keep_data = false;
    std::vector<Scenario> scenarios = default_scenarios();

    // Own flags out, benchmark flags through.
    std::vector<char*> rest = {argv[0]};
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const auto value = [&](std::string_view flag) -> const char* {
            return begins_with(arg, flag) ? argv[i] + flag.size() : nullptr;
        };
        bool taken = false;
        if (const char* v = value("--scales=")) {
            scales = parse_scales(v);
            taken = true;
        } else if (const char* v = value("--source_data=")) {
            source = v;
            taken = true;
        } else if (arg == "--keep_data") {
            keep_data = true;
            taken = true;
        } else {
            for (Scenario& s : scenarios) {
                if (const char* v = value("--sentence_" + s.name + "=")) {
                    s.sentence_utf8 = v;
                    taken = true;
                }
            }
        }
        if (!taken) rest.push_back(argv[i]);
    }
    int rest_count = static_cast<int>(rest.size());
    benchmark::Initialize(&rest_count, rest.data());
    if (benchmark::ReportUnrecognizedArguments(rest_count, rest.data())) return 1;

    const fs::path base =
        fs::temp_directory_path() / ("dasom-engine-bench-" + std::to_string(::getpid()));
    std::vector<std::string> sentences;
    for (const Scenario& s : scenarios) sentences.push_back(text::cp949(s.sentence_utf8));

    std::vector<Case> cases;
    std::vector<std::string> data_sets;
    std::vector<std::string> notes;
    try {
        for (const int scale : scales) {
            const fs::path folder = base / ("x" + std::to_string(scale));
            if (scale == 1) {
                tools::install_data_folder(source, folder);
            } else {
                const fs::path generated = base / ("source-x" + std::to_string(scale));
                Generator(scale, sentences).write_sources(source, generated, scale);
                // The installer reads every source, and the engine every installed file, only
                // up to the readers' limit: a set with a file over it is left out, not run.
                LargestFile largest = largest_file(generated);
                if (largest.bytes <= text::kDataFileLimit) {
                    tools::install_data_folder(generated, folder);
                    largest = largest_file(folder);
                }
                fs::remove_all(generated);
                if (largest.bytes > text::kDataFileLimit) {
                    fs::remove_all(folder);
                    notes.push_back(
                        "data set x" + std::to_string(scale) + " left out: its " + largest.name +
                        " would be " + megabytes(largest.bytes) + ", over the " +
                        megabytes(text::kDataFileLimit) + " (" +
                        std::to_string(text::kDataFileLimit >> 20) +
                        " MiB) a reader takes; about x" +
                        std::to_string(text::kDataFileLimit * scale / largest.bytes) +
                        " would fit");
                    continue;
                }
            }
            const std::uintmax_t bytes = data_set_bytes(folder);
            const LargestFile largest = largest_file(folder);
            data_sets.push_back("x" + std::to_string(scale) + ": " + megabytes(bytes) +
                                " in the engine's files, the largest " + largest.name + " " +
                                megabytes(largest.bytes) + " (" +
                                fixed(100.0 * static_cast<double>(largest.bytes) /
                                          static_cast<double>(text::kDataFileLimit),
                                      1) +
                                " % of the limit)");
            for (std::size_t i = 0; i < scenarios.size(); ++i) {
                Case c;
                c.scenario = &scenarios[i];
                c.scale = scale;
                c.folder = folder;
                c.sentence = sentences[i];
                c.data_bytes = bytes;
                c.seed = scenarios[i].expected == Path::computer_question
                             ? question_seed(folder, scale)
                             : 1;
                record_turn(c);
                // One floor pass before timing, checked against the turn's calls.
                std::vector<char> buffer(largest_request(c.record));
                std::vector<int> descriptors;
                replay_floor(c.record, descriptors, buffer.data(), true);
                cases.push_back(std::move(c));
            }
        }
    } catch (const std::exception& error) {
        std::cerr << "engine_bench: setting up the data failed: " << error.what() << "\n";
        if (!keep_data) fs::remove_all(base);
        return 1;
    }

    std::cout << "Data sets (a reader takes a file of at most " << megabytes(text::kDataFileLimit)
              << ", " << (text::kDataFileLimit >> 20) << " MiB):\n";
    for (const std::string& line : data_sets) std::cout << "  " << line << "\n";
    for (const std::string& note : notes) std::cout << "note: " << note << "\n";
    std::cout << "Data folders under " << base.string() << "\n";
    bool paths_ok = true;
    for (const Case& c : cases) {
        if (c.record.files.empty()) {
            std::cerr << "engine_bench: no file reads were recorded; is the engine still linked "
                         "statically with open/read/close wrapped (bench/CMakeLists.txt)?\n";
            if (!keep_data) fs::remove_all(base);
            return 1;
        }
        std::cout << "  " << c.name("turn") << ": " << path_name(c.path) << ", reply \""
                  << text::to_utf8(c.reply) << "\"\n      reads " << describe_reads(c)
                  << "\n      calls " << describe_calls(c.record) << "\n";
        if (c.record.other_opens > 0) {
            std::cout << "      WARNING: the turn also opened " << c.record.other_opens
                      << " file(s) for writing or a folder; the floor leaves them out\n";
        }
        if (c.path != c.scenario->expected) {
            paths_ok = false;
            std::cout << "      WARNING: expected " << path_name(c.scenario->expected)
                      << "; choose another sentence with --sentence_" << c.scenario->name
                      << "=...\n";
        }
    }
    std::cout << std::flush;

    for (const Case& c : cases) {
        benchmark::RegisterBenchmark(c.name("turn").c_str(), turn_and_floor, &c)->UseManualTime();
    }
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    print_summary(cases, reporter);
    if (!paths_ok) std::cout << "\nWARNING: some sentences took another path than intended.\n";

    if (!keep_data) fs::remove_all(base);
    return 0;
}
