#include "books/record_deletion.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "text/byte_search.h"
#include "text/file_error.h"
#include "text/line_writer.h"

namespace books {

namespace {

void write_record(text::LineAppender& temp, const Record& record) {
    temp.write_line(record.name);
    temp.write_line(record.mean);
}

// The platform's rename replaces a read-only book as readily as any other; the user's
// protection of the file is kept by refusing first, as deleting it would have been refused.
void check_writable(const std::filesystem::path& book) {
    errno = 0;
    std::FILE* file = text::open_file(book, "r+b");
    if (!file) throw text::FileError(book, errno ? errno : EACCES);
    std::fclose(file);
}

}  // namespace

RecordDeletion::RecordDeletion(const std::filesystem::path& book, const std::filesystem::path& temp,
                               engine::Book kind)
    : book_path_(book), temp_path_(temp), by_prefix_(kind == engine::Book::words) {
    book_.emplace(book_path_);
    errno = 0;
    std::FILE* created = text::open_file(temp_path_, "wb");
    if (!created || std::fclose(created) != 0) {
        const int error = errno ? errno : EACCES;
        book_.reset();
        throw text::FileError(temp_path_, error);
    }
}

RecordDeletion::~RecordDeletion() {
    if (state_ == State::kept || state_ == State::finished) return;
    book_.reset();
    std::error_code ignored;
    std::filesystem::remove(temp_path_, ignored);
}

void RecordDeletion::check_usable() const {
    if (state_ != State::walking) {
        throw text::FileError(book_path_, "앞서 실패한 작업 때문에 책을 바꾸지 않았습니다");
    }
}

RecordDeletion::Found RecordDeletion::find(const std::string& search, const Record& boxes) {
    check_usable();
    Found found;
    try {
        text::LineAppender temp(temp_path_);
        if (boxes.pending()) {
            write_record(temp, boxes);
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
            write_record(temp, record);
        }
        temp.close();
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
    {
        text::LineAppender temp(temp_path_);
        if (boxes.pending()) write_record(temp, boxes);
        while (!book_->at_end()) temp.write_line(book_->next_line());
        temp.close();  // on the disk before the rename
    }
    book_.reset();
    check_writable(book_path_);
    std::error_code renamed;
    std::filesystem::rename(temp_path_, book_path_, renamed);
    if (renamed) throw text::FileError(book_path_, renamed.message());
    state_ = State::finished;
}

void RecordDeletion::cancel() {
    if (state_ == State::finished || state_ == State::kept) return;
    state_ = State::finished;
    book_.reset();
    std::error_code removed;
    std::filesystem::remove(temp_path_, removed);
    if (removed) throw text::FileError(temp_path_, removed.message());
}

}  // namespace books
