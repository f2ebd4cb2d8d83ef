#include "line_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "file_error.h"

namespace text {

namespace {
constexpr std::size_t kChunk = 64 * 1024;
}

std::FILE* open_file(const std::filesystem::path& path, const char* mode) {
#ifdef _WIN32
    std::wstring wide_mode(mode, mode + std::strlen(mode));
    return _wfopen(path.c_str(), wide_mode.c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

LineReader::LineReader(const std::filesystem::path& path, Checking checking)
    : path_(path), checking_(checking) {
    errno = 0;
    file_ = open_file(path, "rb");
    if (!file_) {
        const int error = errno ? errno : ENOENT;
        if (checking_ == Checking::checked) throw FileError(path_, error);
        eof_ = true;
        return;
    }
    // Reads go straight into our own buffer; the C library's would only copy twice.
    std::setvbuf(file_, nullptr, _IONBF, 0);
    buffer_.reset(new char[kChunk]);
}

LineReader::~LineReader() {
    if (file_) std::fclose(file_);
}

bool LineReader::fill() {
    if (eof_) return false;
    begin_ = 0;
    end_ = std::fread(buffer_.get(), 1, kChunk, file_);
    if (end_ == 0) {
        eof_ = true;
        if (std::ferror(file_)) {
            const int error = errno ? errno : EIO;
            if (checking_ == Checking::checked) throw FileError(path_, error);
        }
        return false;
    }
    return true;
}

// A line that runs over the end of the buffer, or the end of the file.
std::string_view LineReader::next_line_across(std::size_t keep) {
    // One byte beyond `keep` is gathered so that a CR right before the LF can still be seen.
    const std::size_t gather = keep + 1;
    bool carried = false;
    bool ended_by_lf = false;
    carry_.clear();
    for (;;) {
        if (begin_ >= end_ && !fill()) break;
        const char* start = buffer_.get() + begin_;
        const std::size_t available = end_ - begin_;
        const char* lf = static_cast<const char*>(std::memchr(start, '\n', available));
        const std::size_t length = lf ? static_cast<std::size_t>(lf - start) : available;
        if (lf && !carried) {
            // The usual case: the whole line lies in the buffer.
            begin_ += length + 1;
            std::string_view line(start, length);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            return line.substr(0, keep);
        }
        if (carry_.size() < gather) carry_.append(start, std::min(length, gather - carry_.size()));
        carried = true;
        begin_ += length;
        if (lf) {
            ++begin_;
            ended_by_lf = true;
            break;
        }
    }
    std::string_view line(carry_);
    if (ended_by_lf && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line.substr(0, keep);
}

namespace {

// The last `byte` in [begin, begin + length), or null.
const char* find_last(const char* begin, std::size_t length, char byte) {
#ifdef __GLIBC__
    return static_cast<const char*>(::memrchr(begin, byte, length));
#else
    for (const char* p = begin + length; p != begin;) {
        if (*--p == byte) return p;
    }
    return nullptr;
#endif
}

}  // namespace

bool LineReader::skip_lines_without(char byte) {
    for (;;) {
        if (begin_ >= end_ && !fill()) return false;
        const char* const buffer = buffer_.get();
        const char* const start = buffer + begin_;
        const std::size_t available = end_ - begin_;
        const char* const hit = static_cast<const char*>(std::memchr(start, byte, available));
        // The line holding the hit starts after the last line end before it.
        const char* const lf = find_last(start, hit ? hit - start : available, '\n');
        if (hit) {
            if (lf) begin_ = lf + 1 - buffer;
            return true;
        }
        // No hit in the rest of the buffer: every whole line of it is passed over. A line that
        // runs on into the next fill is left for the caller to read.
        if (!lf) return true;
        begin_ = lf + 1 - buffer;
        if (begin_ < end_) return true;
    }
}

std::vector<std::string> read_all_lines(const std::filesystem::path& path) {
    LineReader reader(path);
    std::vector<std::string> lines;
    while (!reader.at_end()) lines.push_back(reader.read_line());
    return lines;
}

std::string read_file(const std::filesystem::path& path) {
    std::FILE* file = open_file(path, "rb");
    if (!file) throw FileError(path, errno ? errno : ENOENT);
    std::string bytes;
    char chunk[kChunk];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, n);
    const bool failed = std::ferror(file);
    const int error = errno;
    std::fclose(file);
    if (failed) throw FileError(path, error ? error : EIO);
    return bytes;
}

}  // namespace text
