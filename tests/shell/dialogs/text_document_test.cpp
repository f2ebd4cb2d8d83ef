#include "shell/dialogs/text_document.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"
#include "text/codec.h"

namespace {

using shell::TextDocument;
using testing_support::k;

std::u16string u16(std::string_view utf8) {
    return text::to_utf16(k(utf8));
}

struct Shown {
    const char* name;
    std::string bytes;
    std::u16string text;
    bool editable;
};
void PrintTo(const Shown& row, std::ostream* out) {
    *out << row.name;
}

class TextDocumentReads : public ::testing::TestWithParam<Shown> {};

TEST_P(TextDocumentReads, LinesAndWhetherSavingKeepsTheBytes) {
    const TextDocument document = TextDocument::from_bytes(GetParam().bytes);
    EXPECT_EQ(document.text(), GetParam().text);
    EXPECT_EQ(document.editable(), GetParam().editable);
    EXPECT_FALSE(document.changed(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, TextDocumentReads,
    ::testing::Values(Shown{"crlf", k("*안녕\r\n반가워\r\n"), u"*안녕\n반가워\n", true},
                      Shown{"lf_only", k("*안녕\n반가워\n"), u"*안녕\n반가워\n", true},
                      Shown{"mixed_and_no_final_end", k("가\r\n나\n다"), u"가\n나\n다", true},
                      Shown{"empty_lines_kept", k("가\r\n\r\n\r\n"), u"가\n\n\n", true},
                      Shown{"empty", "", u"", true},
                      Shown{"lead_byte_then_blank", "\xB0\x20\r\n", u"\uFFFD \n", false},
                      Shown{"lone_lead_byte_at_end", "abc\xB0", u"abc\uFFFD", false},
                      Shown{"lone_cr", "a\rb\r\n", u"a\rb\n", false},
                      Shown{"nul", std::string("a\0b\r\n", 5), std::u16string(u"a\0b\n", 4),
                            false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextDocumentEncode, EveryLineEndsWithCrLf) {
    EXPECT_EQ(TextDocument::encode(u"").bytes, "");
    EXPECT_EQ(TextDocument::encode(u16("가\n나")).bytes, k("가\r\n나\r\n"));
    EXPECT_EQ(TextDocument::encode(u16("가\n나\n")).bytes, k("가\r\n나\r\n"));
    EXPECT_EQ(TextDocument::encode(u"\n\n").bytes, "\r\n\r\n");
}

TEST(TextDocumentEncode, NamesTheLineOfTheFirstCharacterWithoutCp949Form) {
    const auto encoded = TextDocument::encode(u"첫 줄\n둘\n셋 \U0001F600 é\n\u00E9");
    EXPECT_EQ(encoded.bad_line, 3u);
    EXPECT_EQ(encoded.bad_character, u"\U0001F600");  // the whole surrogate pair
    EXPECT_EQ(TextDocument::encode(u"\u00E9").bad_line, 1u);
}

TEST(TextDocumentFile, MissingFileIsAnEmptyDocumentAndDiskChangesAreSeen) {
    testing_support::TempFolder folder;
    TextDocument document = TextDocument::load(folder / "data4.dat");
    EXPECT_TRUE(document.missing());
    EXPECT_TRUE(document.text().empty());
    EXPECT_FALSE(document.differs_on_disk(folder / "data4.dat"));

    folder.write("data4.dat", "*밥\n응\n");
    EXPECT_TRUE(document.differs_on_disk(folder / "data4.dat"));

    document = TextDocument::load(folder / "data4.dat");
    EXPECT_FALSE(document.missing());
    EXPECT_FALSE(document.differs_on_disk(folder / "data4.dat"));
    folder.write("data4.dat", "*밥\n응\n더\n");
    EXPECT_TRUE(document.differs_on_disk(folder / "data4.dat"));
}

}  // namespace
