#include "line_writer.h"

#include <cerrno>
#include <system_error>

#include "file_error.h"
#include "line_reader.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace text {

LineAppender::LineAppender(const std::filesystem::path& path) : path_(path) {
    // "r+b" fails for a missing file as well as for a read-only one, and never creates one.
    errno = 0;
    std::FILE* file = open_file(path, "r+b");
    if (!file) throw FileError(path, errno ? errno : EACCES);
    // Only a regular file is read and replaced; anything else (a device, a pipe) is written to.
    std::error_code unknown;
    regular_ = std::filesystem::is_regular_file(path, unknown);
    bool failed = false;
    int error = 0;
    if (regular_) {
        char chunk[16 * 1024];
        std::size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) contents_.append(chunk, n);
        failed = std::ferror(file);
        error = errno;
    }
    std::fclose(file);
    if (failed) throw FileError(path, error ? error : EIO);
    old_size_ = contents_.size();
    // The first new line must not join a last line that has no line end.
    if (!contents_.empty() && contents_.back() != '\n') contents_ += kLineEnd;
}

void LineAppender::write_line(std::string_view line) {
    if (!open_) throw FileError(path_, EBADF);
    contents_ += line;
    contents_ += kLineEnd;
}

void LineAppender::close() {
    if (!open_) return;
    open_ = false;
    if (!regular_) {
        append_in_place();
        return;
    }
    try {
        replace_file(path_, contents_);
    } catch (const FileError&) {
#ifndef _WIN32
        const std::filesystem::path folder =
            path_.parent_path().empty() ? "." : path_.parent_path();
        if (::access(folder.c_str(), W_OK) == 0) throw;
        append_in_place();
#else
        throw;
#endif
    }
}

void LineAppender::append_in_place() {
    errno = 0;
    std::FILE* file = open_file(path_, "r+b");
    if (!file) throw FileError(path_, errno ? errno : EACCES);
    const std::string_view added = std::string_view(contents_).substr(old_size_);
    bool ok = regular_ ? std::fseek(file, static_cast<long>(old_size_), SEEK_SET) == 0 : true;
    ok = ok && std::fwrite(added.data(), 1, added.size(), file) == added.size();
    ok = ok && std::fflush(file) == 0;
    const int error = errno;
#ifndef _WIN32
    // Half a record must not stay behind (a full disk, say); the error stays the write's.
    if (!ok && regular_ && ::ftruncate(fileno(file), static_cast<off_t>(old_size_)) != 0)
        ok = false;
#endif
    ok = std::fclose(file) == 0 && ok;
    if (!ok) throw FileError(path_, error ? error : EIO);
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
    // Through a symbolic link the file it points to is replaced, not the link.
    // Only a link to a regular file is followed: never is a device or a folder replaced.
    std::error_code unresolved;
    std::filesystem::path target = path;
    if (std::filesystem::is_symlink(path, unresolved) &&
        std::filesystem::is_regular_file(path, unresolved)) {
        target = std::filesystem::canonical(path, unresolved);
        if (unresolved) target = path;
    }
    std::filesystem::path temp = target;
    temp += ".new~";
    errno = 0;
    std::FILE* file = open_file(temp, "wb");
    if (!file) throw FileError(path, errno ? errno : EACCES);
#ifndef _WIN32
    // The new file gets the old one's permission bits, not the default ones.
    struct stat old_status;
    if (::stat(target.c_str(), &old_status) == 0)
        ::fchmod(fileno(file), old_status.st_mode & 07777);
#endif
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
    std::filesystem::rename(temp, target, renamed);
    if (renamed) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        throw FileError(path, renamed.message());
    }
}

}  // namespace text
