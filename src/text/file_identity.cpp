#include "file_identity.h"

#include <cerrno>
#include <cstdio>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace text {

#ifndef _WIN32

namespace {

FileStamp stamp_from(const struct stat& status) {
    return {static_cast<unsigned long long>(status.st_dev),
            static_cast<unsigned long long>(status.st_ino),
            static_cast<unsigned long long>(status.st_size),
            static_cast<long long>(status.st_mtim.tv_sec) * 1000000000LL + status.st_mtim.tv_nsec};
}

}  // namespace

bool lock_for_rebuild(int descriptor) {
    if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0) return true;
    return errno != EWOULDBLOCK;
}

bool names_file(const std::filesystem::path& name, int descriptor) {
    struct stat by_name;
    struct stat open_file;
    if (::lstat(name.c_str(), &by_name) != 0 || ::fstat(descriptor, &open_file) != 0) return false;
    return by_name.st_dev == open_file.st_dev && by_name.st_ino == open_file.st_ino;
}

FileStamp stamp_of(int descriptor) {
    struct stat status;
    if (::fstat(descriptor, &status) != 0) return {};
    return stamp_from(status);
}

FileStamp stamp_of(const std::filesystem::path& name) {
    struct stat status;
    if (::stat(name.c_str(), &status) != 0) return {};
    return stamp_from(status);
}

bool rename_without_replacing(const std::filesystem::path& from, const std::filesystem::path& to) {
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) return false;
#endif
    // A file system that cannot refuse by itself: look first (the caller holds the folder lock).
    struct stat there;
    if (::lstat(to.c_str(), &there) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

#else

bool lock_for_rebuild(int) { return true; }
bool names_file(const std::filesystem::path& name, int) {
    std::error_code error;
    return std::filesystem::exists(name, error);
}
FileStamp stamp_of(int) { return {}; }
FileStamp stamp_of(const std::filesystem::path&) { return {}; }
bool rename_without_replacing(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::error_code error;
    if (std::filesystem::exists(to, error)) {
        errno = EEXIST;
        return false;
    }
    std::filesystem::rename(from, to, error);
    return !error;
}

#endif

}  // namespace text
