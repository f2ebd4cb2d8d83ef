#include <gtest/gtest.h>

#include "support/temp_folder.h"
#include "text/file_error.h"
#include "text/line_reader.h"

namespace {

using testing_support::TempFolder;

std::vector<std::string> lines_of(const std::filesystem::path& file) {
    return text::read_all_lines(file);
}

TEST(LineReader, LineEndsAndTheLastLine) {
    TempFolder folder;
    struct Row {
        const char* bytes;
        std::vector<std::string> lines;
    };
    const Row rows[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\r\nb", {"a", "b"}},           // no line end after the last line
        {"a\r\n\r\nb\r\n", {"a", "", "b"}},  // an empty line is a line
        {"a\rb\r\n", {"a\rb"}},           // a CR alone is not a line end
        {"", {}},
        {"\r\n", {""}},
    };
    for (const Row& row : rows) {
        folder.write_bytes("f.dat", row.bytes);
        EXPECT_EQ(lines_of(folder / "f.dat"), row.lines) << row.bytes;
    }
}

TEST(LineReader, ReadingPastTheEndYieldsEmptyLines) {
    TempFolder folder;
    folder.write_bytes("f.dat", "only\r\n");
    text::LineReader reader(folder / "f.dat");
    EXPECT_FALSE(reader.at_end());
    EXPECT_EQ(reader.read_line(), "only");
    EXPECT_TRUE(reader.at_end());
    EXPECT_EQ(reader.read_line(), "");
    EXPECT_EQ(reader.read_line(text::kShortLine), "");
    EXPECT_TRUE(reader.at_end());
}

TEST(LineReader, ShortLinesKeepNinetyNineBytesAndSkipTheRest) {
    TempFolder folder;
    const std::string long_line(120, 'x');
    const std::string exact(99, 'y');
    folder.write_bytes("f.dat", long_line + "\r\n" + exact + "\r\n" + "next\r\n" + exact + "\r");
    text::LineReader reader(folder / "f.dat");
    EXPECT_EQ(reader.read_line(text::kShortLine), std::string(99, 'x'));
    EXPECT_EQ(reader.read_line(text::kShortLine), exact);
    EXPECT_EQ(reader.read_line(text::kShortLine), "next");
    EXPECT_EQ(reader.read_line(text::kShortLine), exact);
    EXPECT_TRUE(reader.at_end());
}

TEST(LineReader, LinesLongerThanTheBuffer) {
    TempFolder folder;
    const std::string huge(200 * 1024, 'h');
    folder.write_bytes("f.dat", huge + "\r\nend");
    text::LineReader reader(folder / "f.dat");
    EXPECT_EQ(reader.read_line(), huge);
    EXPECT_EQ(reader.read_line(), "end");
    text::LineReader cut(folder / "f.dat");
    EXPECT_EQ(cut.read_line(text::kShortLine), std::string(99, 'h'));
    EXPECT_EQ(cut.read_line(), "end");
}

TEST(LineReader, LineEndsAcrossTheReadBuffer) {
    // The reader fills a 64 KiB buffer: a CR LF split over two fills, and a line end right at
    // the end of a fill, must read like any other.
    TempFolder folder;
    constexpr std::size_t kChunk = 64 * 1024;
    for (const std::size_t first_length : {kChunk - 1, kChunk - 2, kChunk, kChunk - 100}) {
        const std::string first(first_length, 'a');
        folder.write_bytes("f.dat", first + "\r\nsecond\r\n" + std::string(10, 'b'));
        text::LineReader whole(folder / "f.dat");
        EXPECT_EQ(whole.next_line(), first) << first_length;
        EXPECT_EQ(whole.next_line(), "second");
        EXPECT_EQ(whole.next_line(), std::string(10, 'b'));
        EXPECT_TRUE(whole.at_end());
        text::LineReader cut(folder / "f.dat");
        EXPECT_EQ(cut.next_line(text::kShortLine), std::string(99, 'a'));
        EXPECT_EQ(cut.next_line(text::kShortLine), "second");
    }
}

TEST(LineReader, SkippingLinesWithoutAByteFindsEveryLineWithIt) {
    // Lines holding "*" at their start, in their middle and at their end, around the ends of
    // the 64 KiB fills and in lines longer than a fill.
    TempFolder folder;
    constexpr std::size_t kChunk = 64 * 1024;
    for (const std::size_t filler : {kChunk - 7, kChunk - 3, kChunk, kChunk + 5, 3 * kChunk}) {
        const std::string bytes = "*first\r\nplain\r\n" + std::string(filler, 'a') +
                                  "\r\nmid*dle\r\n" + std::string(filler / 2, 'b') +
                                  "*\r\n\r\n*key\r\nreply\r\n*last";
        folder.write_bytes("f.dat", bytes);
        std::vector<std::string> expected;
        for (const std::string& line : lines_of(folder / "f.dat")) {
            if (line.find('*') != std::string::npos) expected.push_back(line);
        }
        std::vector<std::string> found;
        text::LineReader reader(folder / "f.dat");
        while (reader.skip_lines_without('*')) {
            const std::string line = reader.read_line();
            if (line.find('*') != std::string::npos) found.push_back(line);
        }
        EXPECT_EQ(found, expected) << filler;
        EXPECT_EQ(expected.size(), 5u);

        // The same walk with a test of each whole line, which must see every line once.
        std::vector<std::string> stopped_at;
        std::size_t passed = 0;
        text::LineReader each(folder / "f.dat");
        while (!each.at_end()) {
            passed += each.skip_lines_while(
                [](std::string_view line) { return line.find('*') == std::string_view::npos; });
            if (each.at_end()) break;
            const std::string line = each.read_line();
            if (line.find('*') != std::string::npos) stopped_at.push_back(line);
            else ++passed;
        }
        EXPECT_EQ(stopped_at, expected) << filler;
        EXPECT_EQ(passed + expected.size(), lines_of(folder / "f.dat").size()) << filler;
    }
}

TEST(LineReader, CheckedOpenOfAMissingFileNamesThePath) {
    TempFolder folder;
    try {
        text::LineReader reader(folder / "missing.dat");
        FAIL() << "no error";
    } catch (const text::FileError& error) {
        EXPECT_EQ(error.path(), folder / "missing.dat");
        EXPECT_NE(std::string(error.what()).find("missing.dat"), std::string::npos);
        EXPECT_FALSE(error.reason().empty());
    }
}

TEST(LineReader, UncheckedOpenOfAMissingFileReadsAsEmpty) {
    TempFolder folder;
    text::LineReader reader(folder / "missing.dat", text::LineReader::Checking::unchecked);
    EXPECT_TRUE(reader.at_end());
    EXPECT_EQ(reader.read_line(), "");
}

TEST(LineReader, AFolderIsNotAFile) {
    TempFolder folder;
    std::filesystem::create_directory(folder / "sub");
    EXPECT_THROW(
        {
            text::LineReader reader(folder / "sub");
            reader.at_end();
        },
        text::FileError);
}

}  // namespace
