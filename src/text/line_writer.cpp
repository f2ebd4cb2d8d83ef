#include "line_writer.h"

#include <cerrno>
#include <random>
#include <system_error>

#include "file_error.h"
#include "line_reader.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#endif

namespace text {

namespace {

namespace fs = std::filesystem;

const char* const kNotRegularTarget = "보통 파일이 아니어서 바꾸지 않습니다";
const char* const kForeignLink = "다른 사용자가 만든 심볼릭 링크라서 따라가지 않습니다";
const char* const kBusy = "다른 창에서 이 파일을 고치고 있습니다. 그 작업이 끝난 뒤에 다시 해 주세요";

fs::path folder_of(const fs::path& path) {
    return path.parent_path().empty() ? fs::path(".") : path.parent_path();
}

// A name in the file's folder that no other process uses: the file's name, ".new~" and six
// random letters. Created exclusively, so a name that happens to exist is simply passed over.
fs::path temporary_name(const fs::path& target) {
    // Drawn afresh from the system each time: a generator kept in memory would give two
    // processes forked from one the same names.
    std::random_device random;
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string name = target.filename().string() + ".new~";
    for (int i = 0; i < 6; ++i) name += kLetters[random() % (sizeof kLetters - 1)];
    return target.parent_path() / name;
}

class Descriptor {
  public:
    explicit Descriptor(int descriptor = -1) : descriptor_(descriptor) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return descriptor_; }
    int release() {
        const int d = descriptor_;
        descriptor_ = -1;
        return d;
    }
    void reset(int descriptor = -1) {
        if (descriptor_ >= 0) ::close(descriptor_);
        descriptor_ = descriptor;
    }

  private:
    int descriptor_;
};

#ifndef _WIN32
// True when another process holds the file for a rebuild (an exclusive flock).
bool held_for_rebuild(int descriptor) {
    if (::flock(descriptor, LOCK_SH | LOCK_NB) == 0) return false;
    return errno == EWOULDBLOCK;
}
#endif

}  // namespace

WriteTarget write_target(const fs::path& path) {
#ifndef _WIN32
    struct stat link;
    if (::lstat(path.c_str(), &link) != 0) {
        if (errno == ENOENT) return {path, false};
        throw FileError(path, errno);
    }
    if (S_ISREG(link.st_mode)) return {path, true};
    if (!S_ISLNK(link.st_mode)) {
        throw FileError(path, S_ISDIR(link.st_mode) ? system_reason(EISDIR) : kNotRegularTarget);
    }
    // A link is followed only when this account or the folder's owner made it, as the system
    // does in shared folders: a link another account planted never leads a write elsewhere.
    struct stat folder;
    const bool own = link.st_uid == ::geteuid() ||
                     (::stat(folder_of(path).c_str(), &folder) == 0 && folder.st_uid == link.st_uid);
    if (!own) throw FileError(path, kForeignLink);
    struct stat target;
    if (::stat(path.c_str(), &target) != 0) {
        if (errno == ENOENT) return {path, false};  // dangling: the link itself is replaced
        throw FileError(path, errno);
    }
    if (!S_ISREG(target.st_mode)) {
        throw FileError(path, S_ISDIR(target.st_mode) ? system_reason(EISDIR) : kNotRegularTarget);
    }
    std::error_code error;
    fs::path resolved = fs::canonical(path, error);
    if (error) throw FileError(path, error.value());
    return {resolved, true};
#else
    std::error_code error;
    const auto status = fs::status(path, error);
    if (!fs::exists(status)) return {path, false};
    if (!fs::is_regular_file(status)) throw FileError(path, kNotRegularTarget);
    return {path, true};
#endif
}

int create_exclusive(const fs::path& path, unsigned mode) {
#ifndef _WIN32
    return ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY,
                  static_cast<mode_t>(mode));
#else
    (void)mode;
    return ::_wopen(path.c_str(), _O_RDWR | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
#endif
}

void copy_owner_and_mode(int descriptor, const fs::path& model) {
#ifndef _WIN32
    struct stat old_status;
    if (::stat(model.c_str(), &old_status) != 0) return;
    // The owner first: changing it clears the set-id bits, which the mode then puts back.
    if (::fchown(descriptor, old_status.st_uid, old_status.st_gid) != 0) {
        [[maybe_unused]] const int ignored = ::fchown(descriptor, static_cast<uid_t>(-1),
                                                      old_status.st_gid);
    }
    ::fchmod(descriptor, old_status.st_mode & 07777);
#else
    (void)descriptor;
    (void)model;
#endif
}

bool write_all(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
#ifndef _WIN32
        const auto n = ::write(descriptor, bytes.data(), bytes.size());
#else
        const auto n = ::_write(descriptor, bytes.data(), static_cast<unsigned>(bytes.size()));
#endif
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

void replace_file(const fs::path& path, std::string_view bytes) {
    const WriteTarget target = write_target(path);
#ifndef _WIN32
    if (target.exists) {
        // A file the user made read-only stays as it is, although the rename would be allowed.
        Descriptor existing(
            ::open(target.path.c_str(), O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY));
        if (existing.get() < 0) throw FileError(path, errno);
        if (held_for_rebuild(existing.get())) throw FileBusy(path, kBusy);
    }
#endif
    // Until it has the old file's bits the new file is readable by its owner only.
    const unsigned mode = target.exists ? 0600 : 0666;
    fs::path temp;
    Descriptor file;
    for (int attempt = 0;; ++attempt) {
        temp = temporary_name(target.path);
        const int descriptor = create_exclusive(temp, mode);
        if (descriptor >= 0) {
            file.reset(descriptor);
            break;
        }
        if (errno != EEXIST || attempt > 100) throw FileError(path, errno);
    }
    if (target.exists) copy_owner_and_mode(file.get(), target.path);
    bool ok = write_all(file.get(), bytes);
#ifndef _WIN32
    ok = ok && ::fsync(file.get()) == 0;
#endif
    int error = errno;
    ok = ::close(file.release()) == 0 && ok;
    if (!ok) {
        if (error == 0) error = errno ? errno : EIO;
        std::error_code ignored;
        fs::remove(temp, ignored);
        throw FileError(path, error);
    }
    std::error_code renamed;
    fs::rename(temp, target.path, renamed);
    if (renamed) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        throw FileError(path, renamed.value());
    }
}

LineAppender::LineAppender(const fs::path& path) : path_(path) {
    try {
        const WriteTarget target = write_target(path);
        // Appending never creates the file.
        if (!target.exists) throw FileError(path, ENOENT);
        target_ = target.path;
        // The lock of the folder the file lies in, where its new version is renamed into place:
        // programs reaching one book through links from different folders wait for each other.
        lock_.emplace(folder_of(target_));
#ifndef _WIN32
        descriptor_ =
            ::open(target_.c_str(), O_RDWR | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY);
#else
        descriptor_ = ::_wopen(target_.c_str(), _O_RDWR | _O_BINARY);
#endif
        if (descriptor_ < 0) throw FileError(path, errno);
#ifndef _WIN32
        struct stat status;
        if (::fstat(descriptor_, &status) != 0) throw FileError(path, errno);
        if (!S_ISREG(status.st_mode)) throw FileError(path, kNotRegularTarget);
        if (static_cast<std::uintmax_t>(status.st_size) > kDataFileLimit) {
            throw FileError(path, too_large_reason(kDataFileLimit));
        }
        if (held_for_rebuild(descriptor_)) throw FileBusy(path, kBusy);
#endif
        char chunk[16 * 1024];
        for (;;) {
            const auto n = ::read(descriptor_, chunk, sizeof chunk);
            if (n < 0) {
                if (errno == EINTR) continue;
                throw FileError(path, errno);
            }
            if (n == 0) break;
            contents_.append(chunk, static_cast<std::size_t>(n));
            if (contents_.size() > kDataFileLimit) {
                throw FileError(path, too_large_reason(kDataFileLimit));
            }
        }
    } catch (...) {
        release();
        throw;
    }
    old_size_ = contents_.size();
    // The first new line must not join a last line that has no line end.
    if (!contents_.empty() && contents_.back() != '\n') contents_ += kLineEnd;
}

LineAppender::~LineAppender() { release(); }

void LineAppender::release() noexcept {
    if (descriptor_ >= 0) ::close(descriptor_);
    descriptor_ = -1;
    lock_.reset();
}

void LineAppender::write_line(std::string_view line) {
    if (!open_) throw FileError(path_, EBADF);
    contents_ += line;
    contents_ += kLineEnd;
}

void LineAppender::close() {
    if (!open_) return;
    open_ = false;
    try {
        try {
            replace_file(path_, contents_);
        } catch (const FileBusy&) {
            throw;
        } catch (const FileError&) {
#ifndef _WIN32
            // Only where no temporary file can be made is the file written in place.
            if (::access(folder_of(target_).c_str(), W_OK) == 0) throw;
            append_in_place();
#else
            throw;
#endif
        }
    } catch (...) {
        release();
        throw;
    }
    release();
}

void LineAppender::append_in_place() {
#ifndef _WIN32
    const std::string_view added = std::string_view(contents_).substr(old_size_);
    bool ok = ::lseek(descriptor_, static_cast<off_t>(old_size_), SEEK_SET) >= 0;
    ok = ok && write_all(descriptor_, added);
    ok = ok && ::fsync(descriptor_) == 0;
    const int error = errno;
    // Half a record must not stay behind (a full disk, say); the error stays the write's.
    if (!ok && ::ftruncate(descriptor_, static_cast<off_t>(old_size_)) != 0) ok = false;
    if (!ok) throw FileError(path_, error ? error : EIO);
#endif
}

}  // namespace text
