#include "books/record_entry.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace {

using books::AddResult;
using testing_support::k;
using testing_support::TempFolder;

struct Entry {
    const char* name;
    const char* before;  // bytes; nullptr: no book
    const char* record_name;
    const char* record_mean;
    AddResult result;
    const char* after;  // bytes
};
void PrintTo(const Entry& row, std::ostream* out) { *out << row.name; }

const Entry kEntries[] = {
    {"two lines after the last one", "apple\r\nx\r\n", "grape", "y", AddResult::added,
     "apple\r\nx\r\ngrape\r\ny\r\n"},
    {"blanks count as filled", "", " ", "  ", AddResult::added, " \r\n  \r\n"},
    {"a last line without its end gets one first", "apple\r\nx", "grape", "y", AddResult::added,
     "apple\r\nx\r\ngrape\r\ny\r\n"},
    {"only the name", "a\r\nb\r\n", "grape", "", AddResult::field_empty, "a\r\nb\r\n"},
    {"only the meaning", "a\r\nb\r\n", "", "y", AddResult::field_empty, "a\r\nb\r\n"},
    {"a line break would shift the pairing", "a\r\nb\r\n", "gr\nape", "y", AddResult::line_break,
     "a\r\nb\r\n"},
    {"no book is created", nullptr, "grape", "y", AddResult::book_unavailable, nullptr},
    {"no book wins over empty lines", nullptr, "", "", AddResult::book_unavailable, nullptr},
};

class AddRecord : public ::testing::TestWithParam<Entry> {};

TEST_P(AddRecord, AppendsOrRefusesWithoutTouchingTheBook) {
    const Entry& row = GetParam();
    TempFolder folder;
    if (row.before) folder.write_bytes("eng.dat", row.before);
    EXPECT_EQ(books::add_record(folder / "eng.dat", row.record_name, row.record_mean), row.result);
    if (row.after) {
        EXPECT_EQ(folder.read_bytes("eng.dat"), row.after);
    } else {
        EXPECT_FALSE(std::filesystem::exists(folder / "eng.dat"));
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, AddRecord, ::testing::ValuesIn(kEntries));

TEST(AddMessage, NamesTheBookOrAsksForBothLines) {
    const std::filesystem::path book = "/home/u/dasom/exec.dat";
    EXPECT_EQ(books::add_message(AddResult::book_unavailable, book),
              "/home/u/dasom/exec.dat화일이 없거나 읽기전용입니다.");
    EXPECT_EQ(books::add_message(AddResult::field_empty, book), "모두 입력 하세요!!");
}

}  // namespace
