#pragma once
// The error types of the core. Each carries a finished, human-readable Korean message (UTF-8)
// so the one top-level error guard of each front end can show it as it is.

#include <exception>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace text {

// A file operation failed: the message names the path and the reason, in Korean.
class FileError : public std::runtime_error {
public:
    // The reason is the system's error `error_number`, told in Korean (system_reason).
    FileError(const std::filesystem::path& path, int error_number);
    FileError(const std::filesystem::path& path, const std::string& reason);

    const std::filesystem::path& path() const noexcept { return path_; }
    const std::string& reason() const noexcept { return reason_; }

private:
    std::filesystem::path path_;
    std::string reason_;
};

// The file is being rebuilt by another window or program (a deletion dialog holds it): it is
// left alone until that work ends.
class FileBusy : public FileError {
public:
    FileBusy(const std::filesystem::path& path, const std::string& reason);
};

// The Korean text of a system error number: the common causes (missing, no permission,
// read-only file system, disk full, a folder, ...) in words, others with their number.
std::string system_reason(int error_number);

// What the user is told when memory ran out: the general report of an allocation failure.
inline constexpr const char* kOutOfMemory = "메모리가 모자라 작업을 끝내지 못했습니다.";

// The message to show for any error that ended a step: the core's own messages as they are, an
// allocation failure as kOutOfMemory, anything else as the library's text.
std::string error_text(const std::exception& error);

// A text that should hold an integer does not. `value` is CP949 as read; the message quotes
// it readably and names the file it came from, when there is one.
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(const std::string& value, const std::filesystem::path& source = {});
};

// Reads an integer the way the data files and the settings file write them: optional leading
// blanks, an optional sign, then decimal digits, or hexadecimal after "$" or "0x". Nothing may
// follow. Throws ConversionError for anything else or for a value outside 32 bits.
int parse_int(const std::string& value);
// The same for a value read from `source`, which the error then names.
int parse_int(const std::string& value, const std::filesystem::path& source);

}  // namespace text
