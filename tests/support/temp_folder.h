#pragma once
// A fresh folder for one test, removed afterwards. Files are written from UTF-8 sources as the
// program stores them: CP949 with CR LF (or byte for byte with write_bytes).

#include <filesystem>
#include <string>
#include <string_view>

namespace testing_support {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

    // Writes UTF-8 `text` as CP949, LF turned into CR LF.
    void write(std::string_view name, std::string_view utf8_text) const;
    // Writes the bytes unchanged.
    void write_bytes(std::string_view name, std::string_view bytes) const;
    // The file's bytes; empty when missing.
    std::string read_bytes(std::string_view name) const;
    // The file's text as UTF-8 with CR LF turned into LF.
    std::string read(std::string_view name) const;
    // Copies every file of a folder under tests/data (UTF-8, LF) into this folder as CP949, CR LF.
    void copy_fixture(std::string_view fixture) const;

private:
    std::filesystem::path path_;
};

// CP949 with CR LF line ends for a UTF-8 text with LF line ends.
std::string cp949_lines(std::string_view utf8_text);

// Short for text::cp949: a CP949 string from a UTF-8 literal.
std::string k(std::string_view utf8);

}  // namespace testing_support
