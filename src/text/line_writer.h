#pragma once
// Writing the data files: records are appended with CR LF line ends, and files are always
// replaced in one step (a temporary file renamed over the old one), so that no moment exists
// in which a file is half written: a program killed at any point, or a full disk, leaves either
// the old file or the new one, whole.
//
// Nothing is ever written through a link someone planted: temporary files are created
// exclusively, under a name no other process uses, and never through a link. A file that is
// itself a symbolic link the user made (a book kept elsewhere) is replaced where the link
// points, and the link stays; a link owned by another account is not followed. The new file
// keeps the old one's permission bits and, where the process may set it, its owner.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "folder_lock.h"

namespace text {

inline constexpr std::string_view kLineEnd = "\r\n";

// Appends lines to an existing file. Opening never creates the file: a missing or read-only
// file throws FileError from the constructor, so a dialog can tell that case apart from a
// failure while writing (also FileError, from close); a file that a deletion dialog is
// rebuilding throws FileBusy. The lines reach the file together at close, through
// replace_file; until then, and whenever close fails, the file is unchanged. Only in a folder
// that refuses new files (so no temporary file can be made) are the lines appended in place,
// and a failed append is cut off again.
//
// The folder lock of the file's folder (for a link, the folder it leads to) is held from the
// constructor to close: the file is read and written back as one step, so that two processes
// appending at once both land. Hold no other FolderLock on that folder meanwhile, and wait for
// nobody while it is open.
class LineAppender {
  public:
    explicit LineAppender(const std::filesystem::path& path);
    ~LineAppender();
    LineAppender(const LineAppender&) = delete;
    LineAppender& operator=(const LineAppender&) = delete;

    // Writes `line` followed by CR LF. Before the first line, a file whose last line has no
    // line end gets one, so the new line does not join the old one.
    void write_line(std::string_view line);

    // Writes the file with the new lines at its end; throws FileError when that failed, and the
    // file is then as it was. Lines not closed are never written.
    void close();

  private:
    void append_in_place();
    void release() noexcept;

    std::filesystem::path path_;
    std::filesystem::path target_;
    std::optional<FolderLock> lock_;
    int descriptor_ = -1;
    std::string contents_;
    std::size_t old_size_ = 0;
    bool open_ = true;
};

// Replaces the file's contents with `bytes` through a temporary file created exclusively in the
// same folder, then renamed over the old one (see the top of this header for links, permission
// bits and owner). A file that is not a regular file is refused, and so is one a deletion
// dialog is rebuilding (FileBusy). Throws FileError; on failure the old file is untouched and no
// temporary file stays. The caller holds the folder's lock where others may write the file too.
void replace_file(const std::filesystem::path& path, std::string_view bytes);

// Where a write to `path` lands: `path` itself, or for a symbolic link the user made to a
// regular file, that file. Throws FileError for a link owned by another account and for a
// path that exists but is not a regular file (or a link to one). `exists` is false when
// nothing is there yet (a dangling link counts as nothing: it is replaced itself).
struct WriteTarget {
    std::filesystem::path path;
    bool exists = false;
};
WriteTarget write_target(const std::filesystem::path& path);

// Creates `path` exclusively for writing (and reading): never through a link or over anything
// that exists. `mode` is the permission bits before the umask. Returns the descriptor, or -1
// with errno set (EEXIST when something is there).
int create_exclusive(const std::filesystem::path& path, unsigned mode);

// Gives the file of `descriptor` the permission bits and, where allowed, the owner and group
// of the existing file `model`. Failures to change the owner are ignored.
void copy_owner_and_mode(int descriptor, const std::filesystem::path& model);

// Writes all of `bytes` to `descriptor` at its current position; false with errno set on failure.
bool write_all(int descriptor, std::string_view bytes);

}  // namespace text
