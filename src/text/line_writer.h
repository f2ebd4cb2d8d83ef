#pragma once
// Writing the data files: records are appended with CR LF line ends, and files are always
// replaced in one step (a temporary file renamed over the old one), so that no moment exists
// in which a file is half written: a program killed at any point, or a full disk, leaves either
// the old file or the new one, whole.

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace text {

inline constexpr std::string_view kLineEnd = "\r\n";

// Appends lines to an existing file. Opening never creates the file: a missing or read-only
// file throws FileError from the constructor, so a dialog can tell that case apart from a
// failure while writing (also FileError, from close). The lines reach the file together at
// close, through replace_file; until then, and whenever close fails, the file is unchanged.
// Only in a folder that refuses new files (so no temporary file can be made) are the lines
// appended in place, and a failed append is cut off again.
class LineAppender {
  public:
    explicit LineAppender(const std::filesystem::path& path);
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

    std::filesystem::path path_;
    std::string contents_;
    std::size_t old_size_ = 0;
    bool regular_ = true;
    bool open_ = true;
};

// Replaces the file's contents with `bytes` through a temporary file in the same folder that is
// renamed over the old one (the file a symbolic link points to, keeping its permission bits).
// Throws FileError; on failure the old file is untouched. A temporary file left behind by a
// killed program is overwritten by the next write.
void replace_file(const std::filesystem::path& path, std::string_view bytes);

}  // namespace text
