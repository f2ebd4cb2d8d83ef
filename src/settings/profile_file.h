#pragma once
// An INI profile file held as its lines, so that writing a value keeps every other line as it
// was. Reading follows the platform's profile rules: section and key names compare without
// regard to ASCII letter case and are trimmed of blanks; values are trimmed and cut to 1023
// bytes, never inside a two-byte character; a value in one matching pair of quotes loses them; lines beginning with ";" are
// comments; where a section or a key appears twice, the first one counts.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace settings {

inline constexpr std::size_t kMaxValueLength = 1023;
// The largest profile file that is read: far beyond any real one.
inline constexpr std::uintmax_t kMaxProfileSize = std::uintmax_t{16} << 20;

class ProfileFile {
public:
    ProfileFile() = default;
    // The file's bytes split into lines (each keeps its own line end).
    explicit ProfileFile(std::string_view bytes);
    // Reads the file; a missing or unreadable file gives an empty profile. When the file is
    // there but cannot be read (no permission, not a regular file, over kMaxProfileSize
    // bytes), `problem` receives the message (UTF-8) that says so.
    static ProfileFile load(const std::filesystem::path& file, std::string* problem = nullptr);

    std::optional<std::string> read(std::string_view section, std::string_view key) const;
    std::string read_string(std::string_view section, std::string_view key,
                            const std::string& default_value) const;
    // "0x.." (longer than 2 characters) and "$.." are hexadecimal, else signed decimal; an empty
    // or malformed value gives the default.
    std::int32_t read_int(std::string_view section, std::string_view key,
                          std::int32_t default_value) const;
    // An integer; any value other than 0 is true.
    bool read_bool(std::string_view section, std::string_view key, bool default_value) const;

    // Sets a value: in place where the key exists, else at the end of its section, else in a
    // new section at the end of the file. New lines end with CR LF.
    void write(std::string_view section, std::string_view key, std::string_view value);

    std::string bytes() const;

private:
    std::vector<std::string> lines_;
};

}  // namespace settings
