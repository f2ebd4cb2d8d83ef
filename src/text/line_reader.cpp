#include "line_reader.h"

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
    buffer_.resize(kChunk);
}

LineReader::~LineReader() {
    if (file_) std::fclose(file_);
}

bool LineReader::fill() {
    if (eof_) return false;
    begin_ = 0;
    end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
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

bool LineReader::at_end() {
    if (begin_ < end_) return false;
    return !fill();
}

void LineReader::read_into(std::string* out, std::size_t keep) {
    bool ended_by_lf = false;
    while (!ended_by_lf) {
        if (begin_ >= end_ && !fill()) break;
        const char* start = buffer_.data() + begin_;
        const std::size_t available = end_ - begin_;
        const void* lf = std::memchr(start, '\n', available);
        const std::size_t take = lf ? static_cast<const char*>(lf) - start : available;
        if (out && out->size() < keep) out->append(start, std::min(take, keep - out->size() + 1));
        begin_ += take;
        if (lf) {
            ++begin_;
            ended_by_lf = true;
        }
    }
    if (!out) return;
    // One byte beyond `keep` was kept so that a CR at the very end can still be recognised.
    if (!out->empty() && out->back() == '\r' && ended_by_lf) out->pop_back();
    if (out->size() > keep) out->resize(keep);
}

std::string LineReader::read_line() {
    std::string line;
    read_into(&line, std::string::npos - 1);
    return line;
}

std::string LineReader::read_line(std::size_t keep) {
    std::string line;
    read_into(&line, keep);
    return line;
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
