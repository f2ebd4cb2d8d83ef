#pragma once
// The two error types of the core. Both carry a finished, human-readable message (UTF-8) so the
// one top-level error guard of each front end can show it as it is.

#include <filesystem>
#include <stdexcept>
#include <string>

namespace text {

// A file operation failed: the message names the path and the system's reason.
class FileError : public std::runtime_error {
public:
    FileError(const std::filesystem::path& path, int error_number);
    FileError(const std::filesystem::path& path, const std::string& reason);

    const std::filesystem::path& path() const noexcept { return path_; }
    const std::string& reason() const noexcept { return reason_; }

private:
    std::filesystem::path path_;
    std::string reason_;
};

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
