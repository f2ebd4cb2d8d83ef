#pragma once
// Telling files apart by what they are rather than by their names, for the deletion dialog,
// which keeps a book and its temporary file open for as long as it is shown: a name may come to
// mean another file meanwhile (another window, another account), and what the dialog removes
// or renames must still be its own.

#include <filesystem>

namespace text {

// Takes an exclusive lock on the open file without waiting: false when another open file (of
// this process or another) already holds a lock on it. Where the file system has no locks the
// answer is true. Readers and writers of the file test for it (see replace_file, LineAppender).
bool lock_for_rebuild(int descriptor);

// True when `name` is the file open as `descriptor` itself (not a link to it).
bool names_file(const std::filesystem::path& name, int descriptor);

// Which file, how long, last changed when: two stamps are equal when they are the same file,
// unchanged. A file is stamped through its open descriptor or by its name (following links).
struct FileStamp {
    unsigned long long device = 0;
    unsigned long long inode = 0;
    unsigned long long size = 0;
    long long modified_ns = 0;
    bool operator==(const FileStamp&) const = default;
};
FileStamp stamp_of(int descriptor);
FileStamp stamp_of(const std::filesystem::path& name);  // all zero when it cannot be looked at

// Renames `from` to `to` unless something is already at `to`: false with errno EEXIST then.
bool rename_without_replacing(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace text
