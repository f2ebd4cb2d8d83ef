#include "line_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "file_error.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

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

std::string too_large_reason(std::uintmax_t limit) {
    return "파일이 너무 큽니다: " + std::to_string(limit >> 20) + "MiB까지만 읽습니다";
}

namespace {

const char* const kNotRegular = "보통 파일이 아닙니다: FIFO나 장치 같은 특수 파일은 읽지 않습니다";

}  // namespace

InputFile::InputFile(const std::filesystem::path& path, std::uintmax_t limit, Missing missing)
    : path_(path), limit_(limit) {
    const bool quiet = missing == Missing::reads_as_empty;
#ifdef _WIN32
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (std::filesystem::is_directory(status) && quiet) return;
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        throw FileError(path, std::filesystem::is_directory(status) ? std::string(system_reason(EISDIR))
                                                                    : std::string(kNotRegular));
    }
    errno = 0;
    file_ = open_file(path, "rb");
    if (!file_) {
        if (quiet) return;
        throw FileError(path, errno ? errno : ENOENT);
    }
    size_ = std::filesystem::file_size(path, error);
    descriptor_ = _fileno(file_);
    if (size_ > limit_) {
        std::fclose(file_);
        file_ = nullptr;
        descriptor_ = -1;
        throw FileError(path, too_large_reason(limit_));
    }
#else
    // A look before the open: a device is never opened at all (opening some has effects).
    struct stat before;
    if (::stat(path.c_str(), &before) == 0 && !S_ISREG(before.st_mode)) {
        if (S_ISDIR(before.st_mode)) {
            if (quiet) return;
            throw FileError(path, EISDIR);
        }
        throw FileError(path, kNotRegular);
    }
    // O_NONBLOCK: a FIFO put in the file's place after the look is opened without waiting for
    // a writer, and refused below.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0) {
        const int error = errno;
        if (quiet) return;
        throw FileError(path, error);
    }
    struct stat status;
    if (::fstat(descriptor, &status) != 0) {
        const int error = errno;
        ::close(descriptor);
        throw FileError(path, error);
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(descriptor);
        if (S_ISDIR(status.st_mode)) {
            if (quiet) return;
            throw FileError(path, EISDIR);
        }
        throw FileError(path, kNotRegular);
    }
    size_ = static_cast<std::uintmax_t>(status.st_size);
    if (size_ > limit_) {
        ::close(descriptor);
        throw FileError(path, too_large_reason(limit_));
    }
    descriptor_ = descriptor;
#endif
}

InputFile::~InputFile() {
#ifdef _WIN32
    if (file_) std::fclose(file_);
#else
    if (descriptor_ >= 0) ::close(descriptor_);
#endif
}

std::size_t InputFile::read(char* buffer, std::size_t length) {
    if (descriptor_ < 0) return 0;
#ifdef _WIN32
    const std::size_t n = std::fread(buffer, 1, length, file_);
    if (n == 0 && std::ferror(file_)) throw FileError(path_, errno ? errno : EIO);
#else
    ssize_t result;
    do {
        result = ::read(descriptor_, buffer, length);
    } while (result < 0 && errno == EINTR);
    if (result < 0) throw FileError(path_, errno);
    const auto n = static_cast<std::size_t>(result);
#endif
    read_ += n;
    if (read_ > limit_) throw FileError(path_, too_large_reason(limit_));
    return n;
}

LineReader::LineReader(const std::filesystem::path& path, Checking checking, std::uintmax_t limit)
    : file_(path, limit,
            checking == Checking::checked ? InputFile::Missing::throws
                                          : InputFile::Missing::reads_as_empty) {
    if (!file_.is_open()) {
        eof_ = true;
        return;
    }
    buffer_.reset(new char[kChunk]);
}

LineReader::~LineReader() = default;

bool LineReader::fill() {
    if (eof_) return false;
    begin_ = 0;
    end_ = file_.read(buffer_.get(), kChunk);
    if (end_ == 0) {
        eof_ = true;
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

std::string read_file(const std::filesystem::path& path, std::uintmax_t limit) {
    InputFile file(path, limit);
    std::string bytes;
    // The size at the open is a hint only: the file may have changed since.
    bytes.resize(static_cast<std::size_t>(std::min<std::uintmax_t>(file.size(), limit)) + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) bytes.resize(std::max<std::size_t>(kChunk, 2 * bytes.size()));
        const std::size_t n = file.read(bytes.data() + filled, bytes.size() - filled);
        if (n == 0) break;
        filled += n;
    }
    bytes.resize(filled);
    return bytes;
}

}  // namespace text
