#include "profile_file.h"

#include "text/codec.h"
#include "text/file_error.h"
#include "text/line_reader.h"
#include "text/line_writer.h"

namespace settings {

namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
    return s;
}

char fold(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Names compare without regard to ASCII letter case. A CP949 trail byte may lie in the ASCII
// letter range, so the byte after a lead byte is compared exactly: otherwise two different
// Hangul syllables could match.
bool same_name(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto byte = static_cast<unsigned char>(a[i]);
        if (byte >= 0x81 && byte <= 0xFE && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
            ++i;
        } else if (fold(a[i]) != fold(b[i])) {
            return false;
        }
    }
    return true;
}

// A line without its line end (LF, CR LF, or a CR ending the file).
std::string_view content_of(std::string_view line) {
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

struct Line {
    enum class Kind { other, section, key };
    Kind kind = Kind::other;
    std::string_view name;     // section or key name, trimmed
    std::string_view value;    // key lines: everything after "=" up to the line end
    std::size_t value_at = 0;  // key lines: offset of the value, after the blanks that follow "="
};

Line classify(std::string_view raw, bool first_line) {
    std::string_view s = content_of(raw);
    std::size_t skipped = 0;
    // An editor may have put a UTF-8 byte order mark in front; ASCII names still match then.
    if (first_line && s.substr(0, 3) == "\xEF\xBB\xBF") {
        s.remove_prefix(3);
        skipped = 3;
    }
    const std::string_view trimmed = trim(s);
    Line line;
    if (trimmed.empty() || trimmed.front() == ';') return line;
    if (trimmed.front() == '[') {
        const std::size_t close = trimmed.find(']');
        if (close != std::string_view::npos) {
            line.kind = Line::Kind::section;
            line.name = trim(trimmed.substr(1, close - 1));
            return line;
        }
    }
    const std::size_t eq = s.find('=');
    if (eq == std::string_view::npos) return line;
    line.kind = Line::Kind::key;
    line.name = trim(s.substr(0, eq));
    std::size_t at = eq + 1;
    while (at < s.size() && is_blank(s[at])) ++at;
    line.value = s.substr(at);
    line.value_at = skipped + at;
    return line;
}

// What reading makes of the text after "=".
std::string_view decode_value(std::string_view raw) {
    std::string_view v = trim(raw);
    if (v.size() >= 2 && v.front() == v.back() && (v.front() == '"' || v.front() == '\'')) {
        v = v.substr(1, v.size() - 2);
    }
    // The cut never leaves a lone lead byte that would show as a broken character.
    return text::cut_at_character(v, kMaxValueLength);
}

// The text to write after "=" so that reading gives `value` back.
std::string encode_value(std::string_view value) {
    std::string v(value);
    // A line break would end the line early and make the rest a line of its own.
    for (char& c : v) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    const bool needs_quotes =
        !v.empty() &&
        (is_blank(v.front()) || is_blank(v.back()) ||
         (v.size() >= 2 && v.front() == v.back() && (v.front() == '"' || v.front() == '\'')));
    return needs_quotes ? '"' + v + '"' : v;
}

bool has_line_end(std::string_view line) {
    return !line.empty() && line.back() == '\n';
}

void end_line(std::string& line) {
    if (has_line_end(line)) return;
    line += (!line.empty() && line.back() == '\r') ? "\n" : "\r\n";
}

}  // namespace

ProfileFile::ProfileFile(std::string_view bytes) {
    std::size_t begin = 0;
    while (begin < bytes.size()) {
        const std::size_t lf = bytes.find('\n', begin);
        const std::size_t end = lf == std::string_view::npos ? bytes.size() : lf + 1;
        lines_.emplace_back(bytes.substr(begin, end - begin));
        begin = end;
    }
}

ProfileFile ProfileFile::load(const std::filesystem::path& file, std::string* problem) {
    try {
        return ProfileFile(text::read_file(file, kMaxProfileSize));
    } catch (const text::FileError& error) {
        // A missing file is the usual first start; anything else the user may want to know.
        std::error_code ignored;
        if (problem && std::filesystem::exists(std::filesystem::symlink_status(file, ignored))) {
            *problem = error.what();
        }
        return ProfileFile();
    }
}

std::optional<std::string> ProfileFile::read(std::string_view section, std::string_view key) const {
    bool inside = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line line = classify(lines_[i], i == 0);
        if (line.kind == Line::Kind::section) {
            // Only the first section of a name counts; a repeat of it is not read.
            if (inside) return std::nullopt;
            inside = same_name(line.name, section);
        } else if (inside && line.kind == Line::Kind::key && same_name(line.name, key)) {
            return std::string(decode_value(line.value));
        }
    }
    return std::nullopt;
}

std::string ProfileFile::read_string(std::string_view section, std::string_view key,
                                     const std::string& default_value) const {
    return read(section, key).value_or(default_value);
}

std::int32_t ProfileFile::read_int(std::string_view section, std::string_view key,
                                   std::int32_t default_value) const {
    const std::optional<std::string> value = read(section, key);
    if (!value) return default_value;
    try {
        return text::parse_int(*value);
    } catch (const text::ConversionError&) {
        return default_value;
    }
}

bool ProfileFile::read_bool(std::string_view section, std::string_view key,
                            bool default_value) const {
    return read_int(section, key, default_value ? 1 : 0) != 0;
}

void ProfileFile::write(std::string_view section, std::string_view key, std::string_view value) {
    std::optional<std::size_t> header;
    std::optional<std::size_t> last_key;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line line = classify(lines_[i], i == 0);
        if (line.kind == Line::Kind::section) {
            if (header) break;
            if (same_name(line.name, section)) header = i;
        } else if (header && line.kind == Line::Kind::key) {
            if (same_name(line.name, key)) {
                // A line that already reads as the value stays as it is, so a value longer
                // than the read limit is not cut by a round trip.
                if (decode_value(line.value) == value && value.size() <= kMaxValueLength) return;
                std::string& raw = lines_[i];
                const std::size_t ending = raw.size() - content_of(raw).size();
                raw = raw.substr(0, line.value_at) + encode_value(value) +
                      raw.substr(raw.size() - ending);
                return;
            }
            last_key = i;
        }
    }

    std::string new_line =
        std::string(key) + '=' + encode_value(value) + std::string(text::kLineEnd);
    if (header) {
        const std::size_t after = last_key.value_or(*header);
        end_line(lines_[after]);
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(after) + 1, std::move(new_line));
        return;
    }
    if (!lines_.empty()) {
        end_line(lines_.back());
        // A blank line between sections, for whoever reads the file.
        if (!trim(content_of(lines_.back())).empty()) lines_.emplace_back(text::kLineEnd);
    }
    lines_.push_back('[' + std::string(section) + ']' + std::string(text::kLineEnd));
    lines_.push_back(std::move(new_line));
}

std::string ProfileFile::bytes() const {
    std::size_t size = 0;
    for (const std::string& line : lines_) size += line.size();
    std::string all;
    all.reserve(size);
    for (const std::string& line : lines_) all += line;
    return all;
}

}  // namespace settings
