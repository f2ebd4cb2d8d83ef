#pragma once
// The companion's settings file, dasom.ini: names, mood, switches, search modes, window
// placement and the launch history. Read at start; each program saves what changed soon after
// it changed, so that nothing set waits for a clean exit.
//
// Several processes may keep the same file: a window and any number of terminal companions.
// Each save takes the folder's lock (text::FolderLock), reads the file as it is now and changes
// only the keys whose value this process changed, so no process undoes another's change.
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
    bool word_search_by_word = true;     // 일반정보/단어검색모드: true = by English word
    bool address_search_by_name = true;  // 일반정보/주소검색모드: true = by name
    int left = 200;             // Window/Left
    int top = 110;              // Window/Top
    int width = 430;            // Window/Width
    int height = 320;           // Window/Height
    std::array<std::string, kHistorySize> history;  // 히스토리/1..8, default "없음"
    // 일반정보/트레이없음알림: the notice that the desktop has no notification area has been
    // given in this folder. Written only once it is on, so other readers see no new key before.
    bool no_tray_notice_given = false;

    bool operator==(const Settings&) const = default;
};

// The write-back was refused. what() names the full path and the reason, in Korean (UTF-8).
class WriteRefused : public std::runtime_error {
public:
    explicit WriteRefused(const std::filesystem::path& path);
};

// Reads every key; a missing or unreadable file, section or key gives the default. A file that
// is there but cannot be read (see ProfileFile::load) also puts its message into `problem`.
Settings read_settings(const std::filesystem::path& file, std::string* problem = nullptr);

// Writes every key back in order (처음실행 as 0), as the window has always written them at exit.
// Every line the settings do not own (other sections and keys, comments) is kept byte for byte,
// and the file is replaced in one step: on failure nothing on disk changes and WriteRefused is
// thrown.
void write_settings(const std::filesystem::path& file, const Settings& values);

// Which keys a save writes.
enum class SaveKeys {
    // Every key, as write_settings does, so the file always holds the whole set in its order
    // (the window). A key this process did not change gets the value the file holds now.
    every,
    // Only the keys this process changed; nothing when it changed none (the terminal
    // companion, which leaves 처음실행 and everything else it did not set as it found them).
    changed,
};

// Saves what this process changed: the keys whose value differs between `before` (the values
// it read or last saved) and `now`. Under the folder's lock the file is read afresh, so a key
// another process changed meanwhile keeps that process's value. 처음실행 is written as it
// stands in `now` when it changed (the window turns it off once the set-up has been shown).
// Throws WriteRefused; the file is then as it was.
void save_settings(const std::filesystem::path& file, const Settings& before, const Settings& now,
                   SaveKeys keys);

}  // namespace settings
