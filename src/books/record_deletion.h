#pragma once
// Removing and correcting records of a book. The book is never edited in place: a walk reads
// it once from the start, forward only, copying every record it passes into the temporary file
// temp.$$$; a found record is held back in the dialog's two boxes (the pending record) until
// the next find or the confirmation writes back whatever the boxes then hold. A record whose box
// was emptied is dropped.
//
// Confirming copies the rest of the book and renames the temporary file over the book in one
// step, so at every moment the book is either the old one or the new one, whole; the new book
// keeps the old one's permission bits and owner, and a book that is a symbolic link is replaced
// where the link points. Cancelling, or dropping the walk unfinished (the close box), leaves the
// book as it was and removes the temporary file. Every failure throws text::FileError and leaves
// the book unchanged.
//
// One walk at a time per folder: while a walk lives it holds the book and temp.$$$ (locks that
// other processes see), so a second walk on any book of the folder is refused (text::FileBusy),
// and so is a record added to the book meanwhile by another window, whose record the rename
// would otherwise drop. temp.$$$ is created afresh, never through a link; an earlier walk's
// temp.$$$ that holds anything is moved aside, never destroyed.
//
// All texts are CP949 bytes.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "engine/host.h"
#include "text/file_identity.h"
#include "text/line_reader.h"

namespace books {

struct Record {
    std::string name;
    std::string mean;

    // Both lines non-empty: the pending record that a find or the confirmation writes back.
    bool pending() const { return !name.empty() && !mean.empty(); }
    bool operator==(const Record&) const = default;
};

class RecordDeletion {
public:
    // Opens `book` for reading at its start and creates `temp` empty. The word book matches
    // names by their beginning, the others anywhere in the name. Throws text::FileBusy when
    // another walk holds the book or the temporary file.
    RecordDeletion(const std::filesystem::path& book, const std::filesystem::path& temp,
                   engine::Book kind);
    // Unfinished: the book stays as it was and the temporary file is removed.
    ~RecordDeletion();
    RecordDeletion(const RecordDeletion&) = delete;
    RecordDeletion& operator=(const RecordDeletion&) = delete;

    struct Found {
        bool pending_written = false;  // `boxes` was written back: the dialog empties its boxes
        std::optional<Record> record;  // the next record whose name matches `search`
    };

    // Writes the pending record `boxes` back, then walks on to the next match, copying every
    // record passed over. An empty `search` matches nothing.
    Found find(const std::string& search, const Record& boxes);

    // Writes the pending record, copies every remaining line unchanged and puts the rebuilt
    // book in the book's place. On failure the book is unchanged and the temporary file keeps
    // what was rebuilt (rebuilt_book_kept). A book changed by someone else since the set-up is
    // not replaced either: that change would be lost.
    void confirm(const Record& boxes);

    // Removes the temporary file; the book is unchanged.
    void cancel();

    // False once the walk has failed or finished: finding and confirming are refused then, so
    // that a record read but not copied can never be lost from the book.
    bool usable() const { return state_ == State::walking; }

    // After a failed confirmation: the rebuilt book waits in the temporary file.
    bool rebuilt_book_kept() const { return state_ == State::kept; }
    const std::filesystem::path& temp_path() const { return temp_path_; }

    // Where the set-up moved an earlier walk's temporary file; empty when there was none.
    const std::filesystem::path& moved_aside() const { return moved_aside_; }

private:
    enum class State {
        walking,
        broken,        // a find failed: the walk cannot go on; the temporary file is partial
        kept,          // the confirmation failed: the temporary file holds the rebuilt book
        finished,
    };

    void check_usable() const;
    void open_temp();
    void write_to_temp(std::string_view bytes);
    void put_in_place();
    void remove_own_temp() noexcept;
    void close_temp() noexcept;

    std::filesystem::path book_path_;
    std::filesystem::path temp_path_;
    std::filesystem::path moved_aside_;
    bool by_prefix_;
    std::optional<text::LineReader> book_;
    text::FileStamp book_stamp_;
    int temp_ = -1;
    State state_ = State::walking;
};

// What the dialog tells the user (UTF-8): where the rebuilt book waits after a failed
// confirmation, and where an earlier walk's temporary file was moved.
std::string kept_message(const std::filesystem::path& temp);
std::string moved_aside_message(const std::filesystem::path& aside);

}  // namespace books
