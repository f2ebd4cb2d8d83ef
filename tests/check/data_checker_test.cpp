// The data checker: each pitfall in a small fixture of its own, and silence on the shipped data.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "check/data_checker.h"
#include "data_files.h"
#include "support/temp_folder.h"

namespace {

using check::Severity;
using testing_support::TempFolder;

struct Pitfall {
    const char* fixture;  // tests/data/check/<fixture>.dat, UTF-8 (written as CP949 unless raw)
    const char* file;     // the data file it stands for
    int line;
    Severity severity;
    const char* says;      // a piece of the message
    std::size_t findings;  // how many findings the fixture gives in all
    bool raw = false;      // write the fixture's bytes unchanged
};

const Pitfall kPitfalls[] = {
    {"utf8_saved", "data2.dat", 1, Severity::error, "UTF-8", 1, true},
    {"data2_cr_only_line_ends", "data2.dat", 1, Severity::error, "CR 하나뿐", 1, true},
    {"reserve_shifted_pair", "reserve.dat", 3, Severity::error, "밀려", 4},
    {"reserve_odd_lines", "reserve.dat", 3, Severity::error, "홀수", 1},
    {"reserve_unknown_command", "reserve.dat", 2, Severity::warning, "명령 표에 없습니다", 1},
    {"reserve_phrase_shadowed", "reserve.dat", 3, Severity::warning, "먼저 맞아서", 1},
    {"data1_empty_line_hides_keywords", "data1.dat", 4, Severity::warning, "찾지 않습니다", 1},
    {"data1_header_without_label", "data1.dat", 1, Severity::error, "[이름]이 없습니다", 1},
    {"data1_comment_inside_section", "data1.dat", 3, Severity::warning, "낱말로 읽힙니다", 1},
    {"data1_long_line", "data1.dat", 2, Severity::warning, "뒤의 21바이트", 1},
    {"data2_bad_person", "data2.dat", 1, Severity::error, "인칭 칸 [4]", 1},
    {"data2_unknown_label", "data2.dat", 1, Severity::error, "[과일]에 맞는 data1.dat", 1},
    {"data2_person_label_as_topic", "data2.dat", 1, Severity::error, "[1]에 맞는 data1.dat", 1},
    {"data2_shadowed_header", "data2.dat", 3, Severity::warning, "1번째 줄의 머리줄", 1},
    {"data2_group_without_lines", "data2.dat", 1, Severity::error, "대답이 한 줄도 없는", 1},
    {"data2_unclosed_bracket", "data2.dat", 2, Severity::error, "] 가 없습니다", 1},
    {"data2_unknown_particle", "data2.dat", 2, Severity::warning, "[요]", 1},
    {"data3_count_too_large", "data3.dat", 1, Severity::error, "2개뿐", 1},
    {"data3_count_too_small", "data3.dat", 1, Severity::warning, "3번째 줄부터", 1},
    {"data3_count_not_a_number", "data3.dat", 1, Severity::error, "숫자", 1},
    {"data3_unclosed_brace", "data3.dat", 2, Severity::error, "} 가 없습니다", 1},
    {"data3_unknown_label", "data3.dat", 2, Severity::warning, "{과일}", 1},
    {"mal_count_mismatch", "mal.dat", 1, Severity::error, "1개뿐", 1},
    {"data4_key_beaten", "data4.dat", 3, Severity::warning, "1번째 줄의 \"*안녕\"", 1},
    {"data4_entry_without_replies", "data4.dat", 1, Severity::warning, "대답이 하나도 없어", 1},
    {"data4_star_in_reply", "data4.dat", 3, Severity::error, "대답에는 * 를 쓸 수 없습니다", 1},
    {"book_odd_lines", "eng.dat", 3, Severity::error, "홀수", 1},
    {"vowel_closed_syllable", "vowel.dat", 2, Severity::warning, "받침이 있는", 1},
};

std::string fixture_text(const char* name) {
    std::ifstream in(
        std::filesystem::path(DASOM_TEST_DATA) / "check" / (std::string(name) + ".dat"),
        std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string all(const std::vector<check::Finding>& findings) {
    std::string text;
    for (const auto& finding : findings) text += check::format(finding) + "\n";
    return text;
}

TEST(DataChecker, FindsEachPitfallWithFileAndLine) {
    for (const Pitfall& row : kPitfalls) {
        SCOPED_TRACE(row.fixture);
        TempFolder folder;
        folder.copy_fixture("check_base");
        const std::string text = fixture_text(row.fixture);
        ASSERT_FALSE(text.empty());
        if (row.raw)
            folder.write_bytes(row.file, text);
        else
            folder.write(row.file, text);
        const auto findings = check::check_folder(folder.path());
        std::vector<check::Finding> in_file;
        for (const auto& finding : findings) {
            if (finding.file == row.file) in_file.push_back(finding);
        }
        ASSERT_EQ(in_file.size(), row.findings) << all(findings);
        bool found = false;
        for (const auto& finding : in_file) {
            found = found || (finding.line == row.line && finding.severity == row.severity &&
                              finding.message.find(row.says) != std::string::npos);
        }
        EXPECT_TRUE(found) << all(in_file);
    }
}

TEST(DataChecker, BytesThatAreNotCp949AndMissingFiles) {
    TempFolder folder;
    folder.copy_fixture("check_base");
    const auto findings = check::check_file(folder.path(), "mal.dat", "1\r\n\x81 \r\n");
    ASSERT_EQ(findings.size(), 1u) << all(findings);
    EXPECT_EQ(check::format(findings[0]),
              "mal.dat:2: 오류: CP949(완성형 한글)로 읽을 수 없는 바이트가 있습니다.");
    // Only data1.dat is there: every other file the chat needs is an error, a book a warning.
    const std::string report = all(check::check_folder(folder.path()));
    EXPECT_NE(report.find("data2.dat: 오류: 파일이 없거나"), std::string::npos) << report;
    EXPECT_NE(report.find("juso.dat: 경고: 파일이 없거나"), std::string::npos) << report;
}

TEST(DataChecker, OddInputNeverBreaksIt) {
    TempFolder folder;
    const std::string odd[] = {"",
                               "\r\n\r\n",
                               "*",
                               "*[",
                               "]*[",
                               std::string(100000, '['),
                               "99999999999999\r\n",
                               "-3\r\n",
                               "{\r\n}",
                               "*\r\n*\r\n"};
    for (const std::string& bytes : odd) {
        for (const char* file : {"reserve.dat", "data1.dat", "data2.dat", "data3.dat", "data4.dat",
                                 "mal.dat", "vowel.dat", "exec.dat"}) {
            check::check_file(folder.path(), file, bytes);
        }
    }
}

TEST(DataChecker, TheShippedDataIsClean) {
    TempFolder folder;
    tools::install_data_folder(DASOM_SOURCE_DATA, folder.path());
    EXPECT_EQ(all(check::check_folder(folder.path())), "");
}

}  // namespace
