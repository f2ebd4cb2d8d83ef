#include "books/record_deletion.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "text/byte_search.h"
#include "text/file_error.h"
#include "text/folder_lock.h"
#include "text/line_writer.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <io.h>
#endif

namespace books {

namespace {

namespace fs = std::filesystem;

const char* const kBookBusy =
    "다른 창에서 이 책의 항목을 지우고 있습니다. 그 창이 끝난 뒤에 다시 해 주세요";
const char* const kTempBusy =
    "다른 창에서 이 폴더의 책을 temp.$$$로 다시 만들고 있습니다. 그 창이 끝난 뒤에 다시 해 주세요";
const char* const kTempLost = "다시 만들던 temp.$$$가 작업 중에 지워지거나 바뀌었습니다";
const char* const kBookChanged =
    "이 창을 연 뒤에 다른 곳에서 책이 바뀌었습니다. 그 내용을 잃지 않도록 책을 바꾸지 않았습니다";

// Earlier walks' temporary files are kept under these names: temp.$$$.1, temp.$$$.2, ...
constexpr int kMostKept = 99;

fs::path folder_of(const fs::path& path) {
    return path.parent_path().empty() ? fs::path(".") : path.parent_path();
}

void append_record(std::string& out, const Record& record) {
    out += record.name;
    out += text::kLineEnd;
    out += record.mean;
    out += text::kLineEnd;
}

// The platform's rename replaces a read-only book as readily as any other; the user's
// protection of the file is kept by refusing first, as deleting it would have been refused.
void check_writable(const fs::path& book) {
#ifndef _WIN32
    const int descriptor = ::open(book.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0) throw text::FileError(book, errno);
    ::close(descriptor);
#else
    errno = 0;
    std::FILE* file = text::open_file(book, "r+b");
    if (!file) throw text::FileError(book, errno ? errno : EACCES);
    std::fclose(file);
#endif
}

// The whole contents of the open file.
std::string read_back(int descriptor, const fs::path& name) {
    std::string bytes;
    if (::lseek(descriptor, 0, SEEK_SET) != 0) throw text::FileError(name, errno);
    char chunk[64 * 1024];
    for (;;) {
        const auto n = ::read(descriptor, chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw text::FileError(name, errno);
        }
        if (n == 0) break;
        bytes.append(chunk, static_cast<std::size_t>(n));
    }
    return bytes;
}

}  // namespace

RecordDeletion::RecordDeletion(const fs::path& book, const fs::path& temp, engine::Book kind)
    : book_path_(book), temp_path_(temp), by_prefix_(kind == engine::Book::words) {
    // The set-up is one step for every process on the folder: the book is taken and temp.$$$
    // made before anyone else may look.
    const text::FolderLock lock(folder_of(temp_path_));
    book_.emplace(book_path_);
    if (!text::lock_for_rebuild(book_->descriptor())) {
        book_.reset();
        throw text::FileBusy(book_path_, kBookBusy);
    }
    book_stamp_ = text::stamp_of(book_->descriptor());
    try {
        open_temp();
    } catch (...) {
        book_.reset();
        throw;
    }
}

void RecordDeletion::open_temp() {
    for (int attempt = 0; attempt < 4; ++attempt) {
        temp_ = text::create_exclusive(temp_path_, 0600);
        if (temp_ >= 0) {
            text::lock_for_rebuild(temp_);
            return;
        }
        if (errno != EEXIST) throw text::FileError(temp_path_, errno);
#ifndef _WIN32
        // Something is there already.
        struct stat there;
        if (::lstat(temp_path_.c_str(), &there) != 0) {
            if (errno == ENOENT) continue;
            throw text::FileError(temp_path_, errno);
        }
        if (S_ISDIR(there.st_mode)) throw text::FileError(temp_path_, EISDIR);
        if (!S_ISREG(there.st_mode)) {
            // A link or a special file at the temporary name is only a name: it goes, and
            // nothing is ever written through it.
            if (::unlink(temp_path_.c_str()) != 0) throw text::FileError(temp_path_, errno);
            continue;
        }
        const int old = ::open(temp_path_.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (old < 0) {
            if (errno == ENOENT) continue;
            throw text::FileError(temp_path_, errno);
        }
        if (!text::lock_for_rebuild(old)) {
            ::close(old);
            throw text::FileBusy(temp_path_, kTempBusy);
        }
        const bool empty = text::stamp_of(old).size == 0;
        int failed = 0;
        if (empty) {
            // Nothing in it to lose.
            if (::unlink(temp_path_.c_str()) != 0) failed = errno;
        } else {
            // What an earlier walk left (the rebuilt book of a failed confirmation, a walk cut
            // short) may be the user's only copy of their corrections: it is kept.
            failed = EEXIST;
            for (int n = 1; n <= kMostKept && failed == EEXIST; ++n) {
                fs::path aside = temp_path_;
                aside += "." + std::to_string(n);
                if (text::rename_without_replacing(temp_path_, aside)) {
                    moved_aside_ = aside;
                    failed = 0;
                } else {
                    failed = errno;
                }
            }
        }
        ::close(old);
        if (failed != 0) throw text::FileError(temp_path_, failed);
#else
        std::error_code error;
        fs::remove(temp_path_, error);
        if (error) throw text::FileError(temp_path_, error.value());
#endif
    }
    throw text::FileError(temp_path_, EEXIST);
}

RecordDeletion::~RecordDeletion() {
    if (state_ != State::kept && state_ != State::finished) remove_own_temp();
    close_temp();
    book_.reset();
}

void RecordDeletion::close_temp() noexcept {
    if (temp_ >= 0) ::close(temp_);
    temp_ = -1;
}

void RecordDeletion::remove_own_temp() noexcept {
    // Only the file this walk made: whatever else has come to bear the name is not touched.
    if (temp_ >= 0 && text::names_file(temp_path_, temp_)) {
        std::error_code ignored;
        fs::remove(temp_path_, ignored);
    }
}

void RecordDeletion::check_usable() const {
    if (state_ != State::walking) {
        throw text::FileError(book_path_, "앞서 실패한 작업 때문에 책을 바꾸지 않았습니다");
    }
}

void RecordDeletion::write_to_temp(std::string_view bytes) {
    if (!text::names_file(temp_path_, temp_)) throw text::FileError(temp_path_, kTempLost);
    if (!text::write_all(temp_, bytes)) throw text::FileError(temp_path_, errno);
}

RecordDeletion::Found RecordDeletion::find(const std::string& search, const Record& boxes) {
    check_usable();
    Found found;
    try {
        std::string out;
        if (boxes.pending()) {
            append_record(out, boxes);
            found.pending_written = true;
        }
        while (!book_->at_end()) {
            Record record;
            record.name = book_->read_line();
            record.mean = book_->read_line();
            const bool matches = by_prefix_ ? text::starts_with(record.name, search)
                                            : text::contains(record.name, search);
            if (matches) {
                found.record = std::move(record);
                break;
            }
            append_record(out, record);
        }
        write_to_temp(out);
    } catch (...) {
        state_ = State::broken;
        throw;
    }
    return found;
}

void RecordDeletion::confirm(const Record& boxes) {
    check_usable();
    // From here on the temporary file holds the user's work: a failure keeps it.
    state_ = State::kept;
    try {
        std::string out;
        if (boxes.pending()) append_record(out, boxes);
        while (!book_->at_end()) {
            out += book_->next_line();
            out += text::kLineEnd;
            if (out.size() >= (1u << 20)) {
                write_to_temp(out);
                out.clear();
            }
        }
        write_to_temp(out);
#ifndef _WIN32
        if (::fsync(temp_) != 0) throw text::FileError(temp_path_, errno);  // on disk before the rename
#endif
    } catch (const text::FileError&) {
        // A temporary file that lost its name holds nothing anyone could find again.
        if (!text::names_file(temp_path_, temp_)) state_ = State::broken;
        throw;
    }
    put_in_place();
    state_ = State::finished;
    close_temp();
    book_.reset();
}

void RecordDeletion::put_in_place() {
    const text::FolderLock lock(folder_of(temp_path_));
    if (!text::names_file(temp_path_, temp_)) {
        state_ = State::broken;
        throw text::FileError(temp_path_, kTempLost);
    }
    if (text::stamp_of(book_path_) != book_stamp_) throw text::FileError(book_path_, kBookChanged);
    check_writable(book_path_);
    const text::WriteTarget target = text::write_target(book_path_);
    text::copy_owner_and_mode(temp_, target.path);
    if (target.path == book_path_) {
        std::error_code renamed;
        fs::rename(temp_path_, book_path_, renamed);
        if (renamed) throw text::FileError(book_path_, renamed.value());
        return;
    }
    // A book kept elsewhere through a link, maybe on another file system: it is replaced
    // where it lies, and the link stays. The book's lock is this walk's own and would refuse it.
    const std::string rebuilt = read_back(temp_, temp_path_);
    book_.reset();
    text::replace_file(book_path_, rebuilt);
    remove_own_temp();
}

void RecordDeletion::cancel() {
    if (state_ == State::finished || state_ == State::kept) return;
    state_ = State::finished;
    book_.reset();
    if (temp_ >= 0 && text::names_file(temp_path_, temp_)) {
        std::error_code removed;
        fs::remove(temp_path_, removed);
        if (removed) throw text::FileError(temp_path_, removed.value());
    }
    close_temp();
}

std::string kept_message(const fs::path& temp) {
    return "책은 그대로 두었습니다. 이 창에서 다시 만든 책은 " + temp.string() + "에 남아 있습니다.";
}

std::string moved_aside_message(const fs::path& aside) {
    return "지난번 작업에서 남은 temp.$$$를 지우지 않고 " + aside.string() + "(으)로 옮겨 두었습니다.";
}

}  // namespace books
