#include "settings/profile_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/temp_folder.h"  // k()

namespace {

using settings::ProfileFile;
using testing_support::k;
using namespace std::string_literals;

struct ReadRow {
    const char* what;
    std::string file;  // bytes
    std::string section;
    std::string key;
    std::optional<std::string> expected;
};

TEST(ProfileFileRead, FollowsTheProfileRules) {
    const ReadRow rows[] = {
        {"names ignore ASCII case", "[window]\r\nleft=5\r\n", "WINDOW", "Left", "5"},
        {"names are trimmed", "  [ Window ]  \r\n\t Left \t= 5\r\n", "Window", "Left", "5"},
        {"value is trimmed", "[W]\r\nLeft= \t 5 \t\r\n", "W", "Left", "5"},
        {"split at the first =", "[W]\r\na=b=c\r\n", "W", "a", "b=c"},
        {"double quotes go", "[W]\r\na= \" x \" \r\n", "W", "a", " x "},
        {"single quotes go", "[W]\r\na='x'\r\n", "W", "a", "x"},
        {"only one pair goes", "[W]\r\na=\"\"x\"\"\r\n", "W", "a", "\"x\""},
        {"mismatched quotes stay", "[W]\r\na=\"x'\r\n", "W", "a", "\"x'"},
        {"a lone quote stays", "[W]\r\na=\"\r\n", "W", "a", "\""},
        {"empty value is present", "[W]\r\na=\r\n", "W", "a", ""},
        {"comment line", "[W]\r\n ;a=1\r\n", "W", "a", std::nullopt},
        {"first key wins", "[W]\r\na=1\r\nA=2\r\n", "W", "a", "1"},
        {"first section wins", "[W]\r\nb=1\r\n[w]\r\na=2\r\n", "W", "a", std::nullopt},
        {"key of another section", "[V]\r\na=1\r\n[W]\r\n", "W", "a", std::nullopt},
        {"key before any section", "a=1\r\n[W]\r\n", "W", "a", std::nullopt},
        {"line without = ignored", "[W]\r\na\r\na=2\r\n", "W", "a", "2"},
        {"LF line ends", "[W]\na=1\nb=2\n", "W", "b", "2"},
        {"no final line end", "[W]\r\na=1", "W", "a", "1"},
        {"byte order mark", "\xEF\xBB\xBF[W]\r\na=1\r\n", "W", "a", "1"},
        {"Korean names", k("[사용자정보]\r\n사람이름=철수\r\n"), k("사용자정보"), k("사람이름"),
         k("철수")},
        // 갂 is 81 41 and 갵 is 81 61: the trail bytes are "A" and "a" but the syllables differ.
        {"trail bytes keep case", k("[갂]\r\na=1\r\n"), k("갵"), "a", std::nullopt},
        {"binary garbage", "\0\xFF[W\0]\n\xFF=\xFE\r\r\n[W]\na=\0\n"s, "W", "a",
         std::string(1, '\0')},
    };
    for (const ReadRow& row : rows) {
        EXPECT_EQ(ProfileFile(row.file).read(row.section, row.key), row.expected) << row.what;
    }
}

TEST(ProfileFileRead, CutsLongValuesAfterRemovingQuotesAtAWholeCharacter) {
    const std::string long_value(2000, 'x');
    EXPECT_EQ(ProfileFile("[W]\r\na=" + long_value + "\r\n").read("W", "a"),
              long_value.substr(0, 1023));
    EXPECT_EQ(ProfileFile("[W]\r\na=\"" + long_value + "\"\r\n").read("W", "a"),
              long_value.substr(0, 1023));
    // 1022 bytes, then a two-byte character across the limit: no lone lead byte is kept.
    const std::string across = std::string(1022, 'x') + k("한글");
    EXPECT_EQ(ProfileFile("[W]\r\na=" + across + "\r\n").read("W", "a"), std::string(1022, 'x'));
}

TEST(ProfileFileRead, IntegerForms) {
    // clang-format off
    const std::pair<std::string, std::int32_t> rows[] = {
        {"0x1F", 31}, {"0X1f", 31}, {"$1F", 31}, {"-5", -5}, {"+7", 7}, {" 12 ", 12}, {"\"12\"", 12},
        {"$FFFFFFFF", -1}, {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1}};
    // clang-format on
    // Each gives the default.
    const std::string malformed[] = {"abc", "",    "0x",          "$",          "12abc",
                                     "1 2", "- 1", "99999999999", "2147483648", "$100000000"};
    for (const auto& [value, expected] : rows) {
        EXPECT_EQ(ProfileFile("[W]\r\nn=" + value + "\r\n").read_int("W", "n", 42), expected)
            << value;
    }
    for (const std::string& value : malformed) {
        EXPECT_EQ(ProfileFile("[W]\r\nn=" + value + "\r\n").read_int("W", "n", 42), 42) << value;
    }
    EXPECT_EQ(ProfileFile("[W]\r\n").read_int("W", "n", 42), 42);
}

TEST(ProfileFileWrite, EveryValueReadsBackAsWritten) {
    const std::string values[] = {
        "plain", "",     " lead", "trail\t", "\"q\"",          "'q'",
        "\"",    "\"\"", "'x\"",  "a=b",     ";not a comment", k("한글 값")};
    for (const std::string& value : values) {
        ProfileFile file("[W]\r\nv=old\r\n");
        file.write("W", "v", value);
        file.write("W", "n", value);
        const ProfileFile again(file.bytes());
        EXPECT_EQ(again.read("W", "v"), value) << value;
        EXPECT_EQ(again.read("W", "n"), value) << value;
    }
}

TEST(ProfileFileWrite, AddsKeysAfterTheLastKeyOfTheSection) {
    ProfileFile file("[A]\r\na=1\r\njunk\r\n\r\n; about B\r\n[B]\r\n[C]\r\nc=1");
    file.write("A", "n", "2");
    file.write("b", "n", "3");
    file.write("C", "n", "4");
    EXPECT_EQ(file.bytes(),
              "[A]\r\na=1\r\nn=2\r\njunk\r\n\r\n; about B\r\n[B]\r\nn=3\r\n[C]\r\nc=1\r\nn=4\r\n");
}

TEST(ProfileFileWrite, LineBreaksInAValueDoNotMakeNewLines) {
    ProfileFile file("[W]\r\nv=1\r\n");
    file.write("W", "v", "a\r\n[X]\nb");
    EXPECT_EQ(file.bytes(), "[W]\r\nv=a  [X] b\r\n");
}

TEST(ProfileFileWrite, KeepsALongValueThatReadsTheSame) {
    const std::string long_line = "[W]\r\nv=" + std::string(2000, 'x') + "\r\n";
    ProfileFile file(long_line);
    file.write("W", "v", *file.read("W", "v"));
    EXPECT_EQ(file.bytes(), long_line);
}

}  // namespace
