#pragma once
// Removing and correcting records of a book. The book is never edited in place: a walk reads
// it once from the start, forward only, copying every record it passes into a temporary file;
// a found record is held back in the dialog's two boxes (the pending record) until the next
// find or the confirmation writes back whatever the boxes then hold. A record whose box was
// emptied is dropped.
//
// Confirming copies the rest of the book and renames the temporary file over the book in one
// step, so at every moment the book is either the old one or the new one, whole. Cancelling, or
// dropping the walk unfinished (the close box), leaves the book as it was and removes the
// temporary file. Every failure throws text::FileError and leaves the book unchanged.
//
// All texts are CP949 bytes.

#include <filesystem>
#include <optional>
#include <string>

#include "engine/host.h"
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
    // Opens `book` for reading at its start and creates `temp` empty (truncating an old one).
    // The word book matches names by their beginning, the others anywhere in the name.
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
    // what was rebuilt.
    void confirm(const Record& boxes);

    // Removes the temporary file; the book is unchanged.
    void cancel();

    // False once the walk has failed or finished: finding and confirming are refused then, so
    // that a record read but not copied can never be lost from the book.
    bool usable() const { return state_ == State::walking; }

private:
    enum class State {
        walking,
        broken,        // a find failed: the walk cannot go on; the temporary file is partial
        kept,          // the confirmation failed: the temporary file holds the rebuilt book
        finished,
    };

    void check_usable() const;

    std::filesystem::path book_path_;
    std::filesystem::path temp_path_;
    bool by_prefix_;
    std::optional<text::LineReader> book_;
    State state_ = State::walking;
};

}  // namespace books
