#pragma once
// Reading the line-oriented CP949 data files.
//
// Lines end at LF; a CR just before the LF is dropped; the last line may lack a line end.
// Reading past the end yields empty lines, which several readers rely on (a pair whose second
// line is missing reads as an empty second line). The bytes are returned as they are: no
// decoding happens here.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define DASOM_LINE_ENDS_SSE2 1
#endif

namespace text {

// Calls `at_line_end(lf)` for every LF in [begin, end), in order, until it returns false.
// Sixteen bytes are looked at in one step, so a file of short lines costs no call per line.
template <class AtLineEnd>
void for_each_line_end(const char* begin, const char* end, AtLineEnd at_line_end) {
    const char* p = begin;
#ifdef DASOM_LINE_ENDS_SSE2
    const __m128i lf = _mm_set1_epi8('\n');
    for (; end - p >= 16; p += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, lf)));
        while (mask != 0) {
            if (!at_line_end(p + std::countr_zero(mask))) return;
            mask &= mask - 1;
        }
    }
#endif
    for (; p < end; ++p) {
        if (*p == '\n' && !at_line_end(p)) return;
    }
}

// The data readers keep only the first 99 bytes of a line and skip the rest.
inline constexpr std::size_t kShortLine = 99;

// The largest data file or book that is read: far beyond any real one, small enough that a
// file that is not one (a sparse 2 GB file, say) is refused at once instead of filling memory.
inline constexpr std::uintmax_t kDataFileLimit = std::uintmax_t{64} << 20;

// A file opened for reading, the one way every reader opens a file. Only a regular file is
// read (a symbolic link to one is fine); a FIFO, a device or a folder is refused without
// waiting on it, and so is a file larger than `limit` bytes, at the open or once more than
// `limit` bytes have come (a file that grows while it is read). Refusals throw FileError with
// a Korean reason naming the file.
class InputFile {
  public:
    enum class Missing {
        // A file that cannot be opened (missing, no permission) throws FileError.
        throws,
        // Such a file leaves the object closed: is_open() is false and it reads as empty.
        reads_as_empty,
    };

    InputFile(const std::filesystem::path& path, std::uintmax_t limit,
              Missing missing = Missing::throws);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    bool is_open() const noexcept { return descriptor_ >= 0; }
    // The file's descriptor (for locking it), or -1 when it is not open.
    int descriptor() const noexcept { return descriptor_; }
    // The file's size when it was opened.
    std::uintmax_t size() const noexcept { return size_; }

    // Reads up to `length` bytes into `buffer`; 0 at the end. Throws FileError.
    std::size_t read(char* buffer, std::size_t length);

  private:
    std::filesystem::path path_;
    std::uintmax_t limit_;
    std::uintmax_t size_ = 0;
    std::uintmax_t read_ = 0;
    int descriptor_ = -1;
#ifdef _WIN32
    std::FILE* file_ = nullptr;
#endif
};

// The reason given for a file over `limit` bytes.
std::string too_large_reason(std::uintmax_t limit);

class LineReader {
  public:
    enum class Checking {
        // A failed open or read throws FileError.
        checked,
        // A file that cannot be opened reads as empty. A file that is refused (not a regular
        // file, too large) still throws, and so does a failed read.
        unchecked,
    };

    static constexpr std::size_t kWholeLine = std::string_view::npos - 1;

    explicit LineReader(const std::filesystem::path& path, Checking checking = Checking::checked,
                        std::uintmax_t limit = kDataFileLimit);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // True when no byte is left to read. May refill the buffer: a view from next_line does not
    // survive a call of at_end.
    bool at_end() { return begin_ < end_ ? false : !fill(); }

    // The next line without its line end, as a view that stays valid until the next read or
    // at_end; only the first `keep` bytes are kept and the rest of the line is skipped. Past
    // the end it is empty.
    std::string_view next_line(std::size_t keep = kWholeLine) {
        // The usual case, kept inline: the whole line lies in the buffer.
        if (begin_ < end_) {
            const char* start = buffer_.get() + begin_;
            const void* lf = std::memchr(start, '\n', end_ - begin_);
            if (lf) {
                std::size_t length = static_cast<const char*>(lf) - start;
                begin_ += length + 1;
                if (length > 0 && start[length - 1] == '\r') --length;
                return std::string_view(start, length < keep ? length : keep);
            }
        }
        return next_line_across(keep);
    }

    // The same as an owned string.
    std::string read_line(std::size_t keep = kWholeLine) { return std::string(next_line(keep)); }

    // The open file's descriptor (-1 when an unchecked file could not be opened).
    int descriptor() const noexcept { return file_.descriptor(); }

    // Skips the next line.
    void skip_line() { next_line(0); }

    // Passes over the lines in which `byte` does not occur, searching the buffer for the byte
    // instead of reading line by line (readers that look only at lines holding a "*" spend no
    // time on the others). Afterwards the next line may hold the byte; the caller still looks.
    // False when no line is left. Must be called at the start of a line, as after next_line.
    bool skip_lines_without(char byte);

    // Passes over the lines for which `pass(line)` is true, `line` being what next_line(keep)
    // would return, and stops before the first line for which it is false. A line that runs
    // over the end of the buffer, or lacks a line end at the end of the file, is left for the
    // caller to read as well. Returns how many lines were passed over. Must be called at the
    // start of a line.
    template <class Pass>
    std::size_t skip_lines_while(Pass pass, std::size_t keep = kWholeLine) {
        std::size_t passed = 0;
        for (;;) {
            if (begin_ >= end_ && !fill()) return passed;
            const char* const buffer = buffer_.get();
            const char* line = buffer + begin_;
            bool stopped = false;
            for_each_line_end(line, buffer + end_, [&](const char* lf) {
                std::size_t length = static_cast<std::size_t>(lf - line);
                if (length > 0 && line[length - 1] == '\r') --length;
                if (!pass(std::string_view(line, length < keep ? length : keep))) {
                    stopped = true;
                    return false;
                }
                line = lf + 1;
                ++passed;
                return true;
            });
            begin_ = static_cast<std::size_t>(line - buffer);
            if (stopped || begin_ < end_) return passed;
        }
    }

  private:
    bool fill();
    std::string_view next_line_across(std::size_t keep);

    InputFile file_;
    std::unique_ptr<char[]> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool eof_ = false;
    // A line that runs over the end of the buffer is gathered here.
    std::string carry_;
};

// Every line of a file (whole lines). Throws FileError when the file cannot be read.
std::vector<std::string> read_all_lines(const std::filesystem::path& path);

// The whole file as bytes, at most `limit` of them (see InputFile). Throws FileError.
std::string read_file(const std::filesystem::path& path, std::uintmax_t limit = kDataFileLimit);

// Opens a file with the C library, taking care of wide paths where the platform needs them.
std::FILE* open_file(const std::filesystem::path& path, const char* mode);

}  // namespace text
