#pragma once
// Reading the line-oriented CP949 data files.
//
// Lines end at LF; a CR just before the LF is dropped; the last line may lack a line end.
// Reading past the end yields empty lines, which several readers rely on (a pair whose second
// line is missing reads as an empty second line). The bytes are returned as they are: no
// decoding happens here.

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace text {

// The data readers keep only the first 99 bytes of a line and skip the rest.
inline constexpr std::size_t kShortLine = 99;

class LineReader {
public:
    enum class Checking {
        // A failed open or read throws FileError.
        checked,
        // A failed open or read is silent: the file then reads as empty.
        unchecked,
    };

    explicit LineReader(const std::filesystem::path& path, Checking checking = Checking::checked);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // True when no byte is left to read.
    bool at_end();

    // The next whole line, without its line end; empty past the end.
    std::string read_line();

    // The first `keep` bytes of the next line; the rest of the line is skipped.
    std::string read_line(std::size_t keep);

    // Skips the next line.
    void skip_line() { read_into(nullptr, 0); }

private:
    bool fill();
    void read_into(std::string* out, std::size_t keep);

    std::filesystem::path path_;
    Checking checking_;
    std::FILE* file_ = nullptr;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool eof_ = false;
};

// Every line of a file (whole lines). Throws FileError when the file cannot be read.
std::vector<std::string> read_all_lines(const std::filesystem::path& path);

// The whole file as bytes. Throws FileError.
std::string read_file(const std::filesystem::path& path);

// Opens a file with the C library, taking care of wide paths where the platform needs them.
std::FILE* open_file(const std::filesystem::path& path, const char* mode);

}  // namespace text
