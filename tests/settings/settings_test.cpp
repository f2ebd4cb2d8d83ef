#include "settings/settings.h"

#include <gtest/gtest.h>

#include <iterator>

#include <array>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/temp_folder.h"

namespace {

using settings::Settings;
using testing_support::k;
using testing_support::TempFolder;
namespace fs = std::filesystem;

void expect_defaults(const Settings& s) {
    EXPECT_EQ(s.user_name, k("사람"));
    EXPECT_EQ(s.computer_name, k("다솜"));
    EXPECT_EQ(s.mood, 0);
    EXPECT_TRUE(s.first_run && s.music_on && s.view_logo && s.tray_start && s.word_search_by_word &&
                s.address_search_by_name);
    EXPECT_EQ((std::array{s.left, s.top, s.width, s.height}), (std::array{200, 110, 430, 320}));
    for (const std::string& entry : s.history) EXPECT_EQ(entry, k("없음"));
}

// Every key with a value other than its default.
constexpr const char* kFullFile =
    "[사용자정보]\n사람이름=철수\n"
    "[컴퓨터정보]\n컴퓨터이름=봄\n기분값=-12\n"
    "[일반정보]\n처음실행=1\n배경음악=0\nviewlogo=0\nTrayStart=0\n단어검색모드=0\n주소검색모드=0\n"
    "[Window]\nLeft=1\nTop=2\nWidth=3\nHeight=4\n"
    "[히스토리]\n1=h1\n2=h2\n3=h3\n4=h4\n5=h5\n6=h6\n7=h7\n8=h8\n";

TEST(ReadSettings, DefaultsWhereTheFileHasNothing) {
    TempFolder folder;
    expect_defaults(settings::read_settings(folder / "dasom.ini"));
    folder.write_bytes("empty.ini", "");
    expect_defaults(settings::read_settings(folder / "empty.ini"));
    std::string binary = std::string("\0\xFF\xFE[\x81=\n", 7) + std::string(1 << 20, '\xFF');
    folder.write_bytes("binary.ini", binary);
    expect_defaults(settings::read_settings(folder / "binary.ini"));
}

TEST(WriteSettings, EveryKeyRoundTripsAndFirstRunTurnsOff) {
    TempFolder folder;
    folder.write("dasom.ini", kFullFile);
    const Settings s = settings::read_settings(folder / "dasom.ini");
    EXPECT_EQ(s.user_name, k("철수"));
    EXPECT_EQ(s.computer_name, k("봄"));
    EXPECT_EQ(s.mood, -12);
    EXPECT_TRUE(s.first_run);
    EXPECT_FALSE(s.music_on || s.view_logo || s.tray_start || s.word_search_by_word ||
                 s.address_search_by_name);
    EXPECT_EQ((std::array{s.left, s.top, s.width, s.height}), (std::array{1, 2, 3, 4}));
    for (int i = 0; i < settings::kHistorySize; ++i)
        EXPECT_EQ(s.history[i], "h" + std::to_string(i + 1));

    settings::write_settings(folder / "dasom.ini", s);
    std::string expected = testing_support::cp949_lines(kFullFile);
    expected.replace(expected.find(k("처음실행=1")), k("처음실행=1").size(), k("처음실행=0"));
    EXPECT_EQ(folder.read_bytes("dasom.ini"), expected);
}

TEST(WriteSettings, FromNothingInTableOrder) {
    TempFolder folder;
    settings::write_settings(folder / "dasom.ini", Settings());
    EXPECT_EQ(folder.read("dasom.ini"),
              "[사용자정보]\n사람이름=사람\n\n"
              "[컴퓨터정보]\n컴퓨터이름=다솜\n기분값=0\n\n"
              "[일반정보]\n처음실행=0\n배경음악=1\nviewlogo=1\nTrayStart=1\n"
              "단어검색모드=1\n주소검색모드=1\n\n"
              "[Window]\nLeft=200\nTop=110\nWidth=430\nHeight=320\n\n"
              "[히스토리]\n1=없음\n2=없음\n3=없음\n4=없음\n5=없음\n6=없음\n7=없음\n8=없음\n");
}

TEST(WriteSettings, KeepsEveryForeignLineByteForByte) {
    TempFolder folder;
    // LF line ends, odd spacing, case, comments, a foreign section, unknown keys, a repeated
    // section, and no final line end.
    const std::string before =
        k("; 다솜 설정\n[사용자정보]\n 사람이름 = 철수 \n별명=철이\n[친구]\n이름=영희\n\n"
          "[컴퓨터정보]\n기분값=0x1F\n; 주석\n\n[일반정보]\n처음실행=1\ntraystart=2\n"
          "[WINDOW]\nLeft=$A\n[Window]\nTop=7\n[히스토리]\n1=notepad");
    folder.write_bytes("dasom.ini", before);
    Settings s = settings::read_settings(folder / "dasom.ini");
    EXPECT_EQ(s.mood, 31);
    EXPECT_TRUE(s.tray_start);
    EXPECT_EQ(s.left, 10);
    EXPECT_EQ(s.top, 110);
    s.user_name = k(" 민수");
    settings::write_settings(folder / "dasom.ini", s);
    const std::string after =
        k("; 다솜 설정\n[사용자정보]\n 사람이름 = \" 민수\"\n별명=철이\n[친구]\n이름=영희\n\n"
          "[컴퓨터정보]\n기분값=31\n컴퓨터이름=다솜\r\n; 주석\n\n"
          "[일반정보]\n처음실행=0\ntraystart=1\n배경음악=1\r\nviewlogo=1\r\n"
          "단어검색모드=1\r\n주소검색모드=1\r\n"
          "[WINDOW]\nLeft=10\nTop=110\r\nWidth=430\r\nHeight=320\r\n[Window]\nTop=7\n"
          "[히스토리]\n1=notepad\r\n2=없음\r\n3=없음\r\n4=없음\r\n"
          "5=없음\r\n6=없음\r\n7=없음\r\n8=없음\r\n");
    EXPECT_EQ(folder.read_bytes("dasom.ini"), after);
    EXPECT_EQ(settings::read_settings(folder / "dasom.ini").user_name, k(" 민수"));
}

TEST(WriteSettings, BinaryFileLosesNothing) {
    TempFolder folder;
    const std::string binary = std::string("\0\xFF\n[\x81\0]\r\n", 9) + std::string(100000, '\xFF');
    folder.write_bytes("dasom.ini", binary);
    settings::write_settings(folder / "dasom.ini", Settings());
    const std::string after = folder.read_bytes("dasom.ini");
    EXPECT_EQ(after.substr(0, binary.size() + 2), binary + "\r\n");
    Settings s = settings::read_settings(folder / "dasom.ini");
    EXPECT_FALSE(s.first_run);
    s.first_run = true;
    expect_defaults(s);
}

TEST(SaveSettings, ChangesOnlyWhatThisProcessChanged) {
    TempFolder folder;
    const fs::path file = folder / "dasom.ini";
    folder.write("dasom.ini", "[일반정보]\nTrayStart=2\n[컴퓨터정보]\n기분값=0x1F\n");
    const Settings window_read = settings::read_settings(file);
    const Settings terminal_read = settings::read_settings(file);

    // The terminal companion changes the mood: that line alone changes.
    Settings terminal = terminal_read;
    terminal.mood = -3;
    settings::save_settings(file, terminal_read, terminal, settings::SaveKeys::changed);
    EXPECT_EQ(folder.read("dasom.ini"), "[일반정보]\nTrayStart=2\n[컴퓨터정보]\n기분값=-3\n");
    settings::save_settings(file, terminal, terminal, settings::SaveKeys::changed);
    EXPECT_EQ(folder.read("dasom.ini"), "[일반정보]\nTrayStart=2\n[컴퓨터정보]\n기분값=-3\n");

    // The window, which read the mood as 31, changes the name and keeps the other's mood. Its
    // file is the one an exit has always written for these values.
    Settings window = window_read;
    window.user_name = k("영희");
    window.first_run = false;
    settings::save_settings(file, window_read, window, settings::SaveKeys::every);
    const std::string saved = folder.read_bytes("dasom.ini");
    Settings expected = window;
    expected.mood = -3;
    settings::write_settings(file, expected);
    EXPECT_EQ(folder.read_bytes("dasom.ini"), saved);
    EXPECT_EQ(settings::read_settings(file), expected);
    EXPECT_EQ(saved.find(k("트레이없음알림")), std::string::npos);

    // The notice key appears once it is on.
    Settings told = window;
    told.no_tray_notice_given = true;
    settings::save_settings(file, window, told, settings::SaveKeys::every);
    EXPECT_TRUE(settings::read_settings(file).no_tray_notice_given);
}

// Root ignores permission bits, so those cases can only be checked as another user.
bool permission_bits_enforced() {
    TempFolder folder;
    folder.write_bytes("probe", "");
    fs::permissions(folder / "probe", fs::perms::owner_read);
    return !std::ofstream(folder / "probe", std::ios::app).is_open();
}

TEST(WriteSettings, RefusedWriteLeavesTheFileAlone) {
    if (!permission_bits_enforced())
        GTEST_SKIP() << "permission bits are not enforced for this user";
    const struct {
        const char* what;
        fs::perms file_perms;
        bool lock_folder;
    } rows[] = {
        {"read-only file", fs::perms::owner_read, false},
        {"read-only folder", fs::perms::owner_read | fs::perms::owner_write, true},
        // Replacing it would lose whatever it holds.
        {"unreadable file", fs::perms::owner_write, false},
    };
    for (const auto& row : rows) {
        TempFolder folder;
        const fs::path file = folder / "dasom.ini";
        folder.write("dasom.ini", "; mine\n[Window]\nLeft=5\n");
        const std::string before = folder.read_bytes("dasom.ini");
        fs::permissions(file, row.file_perms);
        if (row.lock_folder)
            fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec);
        try {
            settings::write_settings(file, Settings());
            ADD_FAILURE() << row.what << ": no WriteRefused";
        } catch (const settings::WriteRefused& refused) {
            EXPECT_EQ(std::string(refused.what()),
                      "설정을 " + file.string() + "에 쓰지 못했습니다 (권한이 없습니다).")
                << row.what;
        }
        fs::permissions(folder.path(), fs::perms::owner_all);
        fs::permissions(file, fs::perms::owner_all);
        EXPECT_EQ(folder.read_bytes("dasom.ini"), before) << row.what;
        EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1)
            << row.what << ": a temporary file stayed";
    }
}

}  // namespace
