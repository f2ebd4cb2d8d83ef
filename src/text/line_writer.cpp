#include "line_writer.h"

#include <cerrno>
#include <system_error>

#include "file_error.h"
#include "line_reader.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace text {

LineAppender::LineAppender(const std::filesystem::path& path) : path_(path) {
    // "r+b" fails for a missing file as well as for a read-only one, and never creates one.
    errno = 0;
    file_ = open_file(path, "r+b");
    if (!file_) throw FileError(path, errno ? errno : EACCES);
    if (std::fseek(file_, 0, SEEK_END) == 0 && std::ftell(file_) > 0 &&
        std::fseek(file_, -1, SEEK_END) == 0) {
        needs_line_end_ = std::fgetc(file_) != '\n';
    }
    std::fseek(file_, 0, SEEK_END);
}

LineAppender::~LineAppender() {
    if (file_) std::fclose(file_);
}

void LineAppender::write(std::string_view bytes) {
    if (!file_) throw FileError(path_, EBADF);
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
        throw FileError(path_, errno ? errno : EIO);
    }
}

void LineAppender::write_line(std::string_view line) {
    if (needs_line_end_) {
        write(kLineEnd);
        needs_line_end_ = false;
    }
    write(line);
    write(kLineEnd);
}

void LineAppender::close() {
    if (!file_) return;
    std::FILE* file = file_;
    file_ = nullptr;
    const bool flushed = std::fflush(file) == 0;
    const int error = errno;
    const bool closed = std::fclose(file) == 0;
    if (!flushed || !closed) throw FileError(path_, error ? error : EIO);
}

void replace_file(const std::filesystem::path& path, std::string_view bytes) {
    // A file the user made read-only stays as it is, although the rename would be allowed.
    {
        errno = 0;
        std::FILE* existing = open_file(path, "r+b");
        if (existing) {
            std::fclose(existing);
        } else if (errno != ENOENT) {
            throw FileError(path, errno ? errno : EACCES);
        }
    }
    std::filesystem::path temp = path;
    temp += ".new~";
    errno = 0;
    std::FILE* file = open_file(temp, "wb");
    if (!file) throw FileError(path, errno ? errno : EACCES);
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fflush(file) == 0 && ok;
#ifndef _WIN32
    ok = ::fsync(fileno(file)) == 0 && ok;
#endif
    int error = errno;
    ok = std::fclose(file) == 0 && ok;
    if (!ok) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        throw FileError(path, error ? error : EIO);
    }
    std::error_code renamed;
    std::filesystem::rename(temp, path, renamed);
    if (renamed) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        throw FileError(path, renamed.message());
    }
}

}  // namespace text
