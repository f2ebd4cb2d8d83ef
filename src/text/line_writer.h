#pragma once
// Writing the data files: records are appended with CR LF line ends, and whole files are
// replaced in one step so that no moment exists in which a file is half written.

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace text {

inline constexpr std::string_view kLineEnd = "\r\n";

// Appends lines to an existing file. Opening never creates the file: a missing or read-only
// file throws FileError from the constructor, so a dialog can tell that case apart from a
// failure while writing (also FileError, from write_line or close).
class LineAppender {
public:
    explicit LineAppender(const std::filesystem::path& path);
    ~LineAppender();
    LineAppender(const LineAppender&) = delete;
    LineAppender& operator=(const LineAppender&) = delete;

    // Writes `line` followed by CR LF. Before the first line, a file whose last line has no
    // line end gets one, so the new line does not join the old one.
    void write_line(std::string_view line);

    // Flushes and closes; throws FileError when the data did not reach the file.
    void close();

private:
    void write(std::string_view bytes);

    std::filesystem::path path_;
    std::FILE* file_ = nullptr;
    bool needs_line_end_ = false;
};

// Replaces the file's contents with `bytes` through a temporary file in the same folder that is
// renamed over the old one. Throws FileError; on failure the old file is untouched.
void replace_file(const std::filesystem::path& path, std::string_view bytes);

}  // namespace text
