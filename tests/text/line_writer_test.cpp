#include <gtest/gtest.h>

#include "support/temp_folder.h"
#include "text/file_error.h"
#include "text/line_writer.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

using testing_support::TempFolder;

bool permissions_enforced(const std::filesystem::path& read_only_file) {
    std::FILE* f = std::fopen(read_only_file.c_str(), "r+b");
    if (f) std::fclose(f);
    return f == nullptr;
}

TEST(LineAppender, AppendsWithCrLfAndMendsAMissingLastLineEnd) {
    TempFolder folder;
    struct Row {
        const char* before;
        const char* after;
    };
    const Row rows[] = {
        {"a\r\n", "a\r\nnew\r\n"},
        {"a", "a\r\nnew\r\n"},  // would otherwise glue the record onto the last line
        {"", "new\r\n"},
        {"a\n", "a\nnew\r\n"},
    };
    for (const Row& row : rows) {
        folder.write_bytes("book.dat", row.before);
        text::LineAppender appender(folder / "book.dat");
        appender.write_line("new");
        appender.close();
        EXPECT_EQ(folder.read_bytes("book.dat"), row.after) << row.before;
    }
}

TEST(LineAppender, NeverCreatesAFile) {
    TempFolder folder;
    EXPECT_THROW(text::LineAppender(folder / "missing.dat"), text::FileError);
    EXPECT_FALSE(std::filesystem::exists(folder / "missing.dat"));
}

TEST(LineAppender, RefusesAReadOnlyFile) {
    TempFolder folder;
    folder.write_bytes("book.dat", "a\r\n");
    std::filesystem::permissions(folder / "book.dat", std::filesystem::perms::owner_read);
    if (!permissions_enforced(folder / "book.dat")) GTEST_SKIP() << "running with full rights";
    EXPECT_THROW(text::LineAppender(folder / "book.dat"), text::FileError);
    EXPECT_EQ(folder.read_bytes("book.dat"), "a\r\n");
}

TEST(ReplaceFile, ReplacesAndLeavesNoTemporaryFile) {
    TempFolder folder;
    folder.write_bytes("f.ini", "old");
    text::replace_file(folder / "f.ini", "new contents");
    EXPECT_EQ(folder.read_bytes("f.ini"), "new contents");
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        ++files;
    }
    EXPECT_EQ(files, 1);
}

TEST(ReplaceFile, ARefusedWriteLeavesTheOldFile) {
    TempFolder folder;
    folder.write_bytes("f.ini", "old");
    std::filesystem::permissions(folder / "f.ini", std::filesystem::perms::owner_read);
    if (!permissions_enforced(folder / "f.ini")) GTEST_SKIP() << "running with full rights";
    EXPECT_THROW(text::replace_file(folder / "f.ini", "new"), text::FileError);
    EXPECT_EQ(folder.read_bytes("f.ini"), "old");
}

TEST(ReplaceFile, KeepsPermissionBitsAndWritesThroughALink) {
    TempFolder folder;
    folder.write_bytes("f.ini", "old");
    std::filesystem::permissions(folder / "f.ini", std::filesystem::perms::owner_read |
                                                       std::filesystem::perms::owner_write |
                                                       std::filesystem::perms::group_read);
    std::filesystem::create_symlink(folder / "f.ini", folder / "link.ini");
    text::replace_file(folder / "link.ini", "new");
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.ini"));
    EXPECT_EQ(folder.read_bytes("f.ini"), "new");
    EXPECT_EQ(std::filesystem::status(folder / "f.ini").permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read);
}

TEST(ReplaceFile, AMissingFolderIsAFileError) {
    TempFolder folder;
    EXPECT_THROW(text::replace_file(folder / "no" / "f.ini", "x"), text::FileError);
}

}  // namespace
