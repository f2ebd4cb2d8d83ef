#include <gtest/gtest.h>

#include <set>

#include "data_files.h"
#include "support/temp_folder.h"
#include "text/codec.h"
#include "text/line_reader.h"

namespace {

using testing_support::TempFolder;

TEST(DataFiles, OpenSyllablesAreAllThreeHundredNinetyNine) {
    TempFolder folder;
    folder.write_bytes("vowel.dat", tools::open_syllables());
    const auto lines = text::read_all_lines(folder / "vowel.dat");
    ASSERT_EQ(lines.size(), 399u);
    std::set<std::string> unique(lines.begin(), lines.end());
    EXPECT_EQ(unique.size(), 399u);
    for (const auto& line : lines) ASSERT_EQ(line.size(), 2u);
    EXPECT_EQ(lines.front(), text::cp949("가"));
    EXPECT_EQ(lines.back(), text::cp949("히"));
    EXPECT_TRUE(unique.count(text::cp949("뙤")));  // from the extended table
    EXPECT_FALSE(unique.count(text::cp949("각")));
}

TEST(DataFiles, ConversionGivesCp949WithCrLf) {
    EXPECT_EQ(tools::convert_source("가\nb", "x"), text::cp949("가") + "\r\nb\r\n");
    EXPECT_EQ(tools::convert_source("a\r\n\n", "x"), "a\r\n\r\n");
    try {
        tools::convert_source("ok\n😀\n", "data9.dat");
        FAIL() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("data9.dat:2"), std::string::npos);
    }
}

TEST(DataFiles, InstallingNeverOverwritesTheUsersFiles) {
    TempFolder source, program;
    source.write_bytes("data1.dat", "새 키워드\n");
    source.write_bytes("mal.dat", "1\n혼자\n");
    source.write_bytes("notes.md", "not a data file\n");
    source.write_bytes("CMakeLists.txt", "# build file\n");
    source.write_bytes("readme.txt", "도움말\n");
    program.write_bytes("mal.dat", "user's own");

    EXPECT_EQ(tools::install_data_folder(source.path(), program.path()), 3);  // + vowel.dat
    EXPECT_EQ(program.read_bytes("mal.dat"), "user's own");
    EXPECT_EQ(program.read("data1.dat"), "새 키워드\n");
    EXPECT_FALSE(std::filesystem::exists(program / "notes.md"));
    EXPECT_FALSE(std::filesystem::exists(program / "CMakeLists.txt"));
    EXPECT_EQ(tools::install_data_folder(source.path(), program.path()), 0);

    // Assets go in byte for byte, and only once.
    source.write_bytes("music.dat", std::string("MThd\0\r\n", 7));
    program.write_bytes("logo.avi", "user's video");
    source.write_bytes("logo.avi", "shipped video");
    EXPECT_EQ(tools::install_asset(source / "music.dat", program.path()),
              tools::Installed::written);
    EXPECT_EQ(program.read_bytes("music.dat"), std::string("MThd\0\r\n", 7));
    EXPECT_EQ(tools::install_asset(source / "logo.avi", program.path()), tools::Installed::kept);
    EXPECT_EQ(program.read_bytes("logo.avi"), "user's video");
}

TEST(DataFiles, TheShippedDataConvertsCleanly) {
    TempFolder program;
    ASSERT_NO_THROW(tools::install_data_folder(DASOM_SOURCE_DATA, program.path()));
    for (const char* name :
         {"reserve.dat", "data1.dat", "data2.dat", "data3.dat", "data4.dat", "vowel.dat", "mal.dat",
          "exec.dat", "juso.dat", "eng.dat", "readme.txt"}) {
        ASSERT_TRUE(std::filesystem::exists(program / name)) << name;
        const std::string bytes = program.read_bytes(name);
        EXPECT_EQ(bytes.find("\r\n"), bytes.find('\n') - 1) << name;
    }
}

}  // namespace
