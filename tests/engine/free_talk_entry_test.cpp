#include "engine/free_talk_entry.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "support/temp_folder.h"

namespace {

using engine::FreeTalkResult;
using testing_support::k;
using testing_support::TempFolder;

engine::FreeTalkEntry entry(std::string_view key, std::string_view r1, std::string_view r2 = "",
                            std::string_view r3 = "", std::string_view r4 = "") {
    return {k(key), {k(r1), k(r2), k(r3), k(r4)}};
}

const std::string kOld = "*안녕\n반가워\n";

TEST(AddFreeTalk, AppendsKeyThenFilledRepliesInOrderWithCrLf) {
    TempFolder folder;
    folder.write("data4.dat", kOld);
    EXPECT_EQ(
        engine::add_free_talk(folder / "data4.dat", entry("밥", "먹었어", "배고파", "", "잘 먹어")),
        FreeTalkResult::added);
    EXPECT_EQ(folder.read_bytes("data4.dat"),
              testing_support::cp949_lines(kOld + "*밥\n먹었어\n배고파\n잘 먹어\n"));
}

TEST(AddFreeTalk, KeyOfBlanksCountsAndIsWrittenAsTyped) {
    TempFolder folder;
    folder.write_bytes("data4.dat", "");
    EXPECT_EQ(engine::add_free_talk(folder / "data4.dat", entry("  ", " 응 ")),
              FreeTalkResult::added);
    EXPECT_EQ(folder.read_bytes("data4.dat"), k("*  \r\n 응 \r\n"));
}

TEST(AddFreeTalk, LastLineWithoutLineEndIsEndedFirst) {
    TempFolder folder;
    folder.write_bytes("data4.dat", k("*안녕\r\n반가워"));
    ASSERT_EQ(engine::add_free_talk(folder / "data4.dat", entry("밥", "응")),
              FreeTalkResult::added);
    EXPECT_EQ(folder.read("data4.dat"), "*안녕\n반가워\n*밥\n응\n");
}

struct Refusal {
    const char* name;
    engine::FreeTalkEntry entry;
    FreeTalkResult result;
};
void PrintTo(const Refusal& row, std::ostream* out) {
    *out << row.name;
}

class AddFreeTalkRefuses : public ::testing::TestWithParam<Refusal> {};

TEST_P(AddFreeTalkRefuses, AndWritesNothing) {
    TempFolder folder;
    folder.write("data4.dat", kOld);
    EXPECT_EQ(engine::add_free_talk(folder / "data4.dat", GetParam().entry), GetParam().result);
    EXPECT_EQ(folder.read("data4.dat"), kOld);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, AddFreeTalkRefuses,
    ::testing::Values(Refusal{"key_only", entry("밥", ""), FreeTalkResult::too_short},
                      Refusal{"no_key", entry("", "응"), FreeTalkResult::too_short},
                      Refusal{"first_reply_erased_second_filled", entry("밥", "", "응"),
                              FreeTalkResult::too_short},
                      Refusal{"star_in_first_reply", entry("밥", "*응"),
                              FreeTalkResult::star_in_reply},
                      Refusal{"star_in_last_reply", entry("밥", "응", "", "", "별*"),
                              FreeTalkResult::star_in_reply}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AddFreeTalk, MissingFileIsReportedFirstAndNeverCreated) {
    TempFolder folder;
    // Even empty fields: the file problem is what the user hears about.
    EXPECT_EQ(engine::add_free_talk(folder / "data4.dat", entry("", "")),
              FreeTalkResult::file_unavailable);
    EXPECT_EQ(engine::add_free_talk(folder / "data4.dat", entry("밥", "응")),
              FreeTalkResult::file_unavailable);
    EXPECT_FALSE(std::filesystem::exists(folder / "data4.dat"));
}

TEST(AddFreeTalk, ReadOnlyFileIsUnavailable) {
    TempFolder folder;
    folder.write("data4.dat", kOld);
    std::filesystem::permissions(folder / "data4.dat", std::filesystem::perms::owner_read |
                                                           std::filesystem::perms::group_read);
    if (std::FILE* probe = std::fopen((folder / "data4.dat").c_str(), "r+b")) {
        std::fclose(probe);
        GTEST_SKIP() << "permission bits are not enforced for this user";
    }
    EXPECT_EQ(engine::add_free_talk(folder / "data4.dat", entry("밥", "응")),
              FreeTalkResult::file_unavailable);
    EXPECT_EQ(folder.read("data4.dat"), kOld);
}

}  // namespace
