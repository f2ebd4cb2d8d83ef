#pragma once
// The companion's settings file, dasom.ini: names, mood, switches, search modes, window
// placement and the launch history. Read once at start, written once at exit.
//
// Texts are CP949 bytes, as in the file.

#include <array>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace settings {

inline constexpr const char* kFileName = "dasom.ini";
inline constexpr int kHistorySize = 8;

struct Settings {
    Settings();  // every value at its default

    std::string user_name;      // 사용자정보/사람이름, default "사람"
    std::string computer_name;  // 컴퓨터정보/컴퓨터이름, default "다솜"
    std::int32_t mood = 0;      // 컴퓨터정보/기분값
    bool first_run = true;      // 일반정보/처음실행 (always written as 0)
    bool music_on = true;       // 일반정보/배경음악
    bool view_logo = true;      // 일반정보/viewlogo
    bool tray_start = true;     // 일반정보/TrayStart
    bool eng_mode = true;       // 일반정보/단어검색모드: true = by English word
    bool juso_mode = true;      // 일반정보/주소검색모드: true = by name
    int left = 200;             // Window/Left
    int top = 110;              // Window/Top
    int width = 430;            // Window/Width
    int height = 320;           // Window/Height
    std::array<std::string, kHistorySize> history;  // 히스토리/1..8, default "없음"
};

// The write-back was refused. what() names the full path and the reason, in Korean (UTF-8).
class WriteRefused : public std::runtime_error {
public:
    explicit WriteRefused(const std::filesystem::path& path);
};

// Reads every key; a missing or unreadable file, section or key gives the default. A file that
// is there but cannot be read (see ProfileFile::load) also puts its message into `problem`.
Settings read_settings(const std::filesystem::path& file, std::string* problem = nullptr);

// Writes every key back in order (처음실행 as 0). Every line the settings do not own (other
// sections and keys, comments) is kept byte for byte, and the file is replaced in one step:
// on failure nothing on disk changes and WriteRefused is thrown.
void write_settings(const std::filesystem::path& file, const Settings& values);

}  // namespace settings
