#include "books/lookup.h"

#include <gtest/gtest.h>

#include "engine/fake_host.h"

namespace {

using testing_support::FakeHost;
using testing_support::k;
using testing_support::TempFolder;

const char* kAddresses = "우리집\n서울시 종로구\n동생\n부산 010-1234\n철수\n인천 종로\n";
const char* kWords = "apple\n사과\napplication\n응용, 사과 아님\ngrape\n포도\n";

struct Lookup {
    const char* name;
    bool words;       // eng.dat with search_word_book, or juso.dat with search_address_book
    bool by_first;    // address_search_by_name / word_search_by_word
    const char* book; // UTF-8, LF; nullptr: no book
    const char* answer;
    const char* speech;  // CR shown as "/"
};
void PrintTo(const Lookup& row, std::ostream* out) { *out << row.name; }

const Lookup kLookups[] = {
    {"a name by any part", false, true, kAddresses, "집", "우리집/서울시 종로구"},
    {"the first address containing the text", false, false, kAddresses, "종로",
     "우리집/서울시 종로구"},
    {"an address text is not looked for in names", false, true, kAddresses, "부산",
     "그런사람 없는데요"},
    {"a word by its beginning, first in file order", true, true, kWords, "app", "apple/사과"},
    {"a word's middle does not find it", true, true, kWords, "ple", "그런단어 없는데요"},
    {"case counts", true, true, kWords, "Apple", "그런단어 없는데요"},
    {"a meaning by any part", true, false, kWords, "사과 아", "application/응용, 사과 아님"},
    {"an odd last line has an empty meaning", true, true, "apple\n사과\nkiwi", "ki", "kiwi/"},
    {"a blank line shifts the pairing", false, true, "\n우리집\n서울\n", "우리", "그런사람 없는데요"},
    {"a missing book is empty", false, true, nullptr, "집", "그런사람 없는데요"},
    {"an empty book", true, false, "", "사과", "그런단어 없는데요"},
    {"cancel finds nothing", true, true, kWords, nullptr, "그런단어 없는데요"},
};

class Search : public ::testing::TestWithParam<Lookup> {};

TEST_P(Search, ShowsTheFirstMatchingRecordOrTheNotFoundText) {
    const Lookup& row = GetParam();
    TempFolder folder;
    if (row.book) folder.write(row.words ? "eng.dat" : "juso.dat", row.book);
    FakeHost host;
    if (row.answer) host.answers.push_back(k(row.answer));
    if (row.words) {
        books::search_word_book(folder.path(), host, row.by_first);
    } else {
        books::search_address_book(folder.path(), host, row.by_first);
    }
    std::string shown = host.speech_utf8();
    for (char& c : shown) {
        if (c == '\r') c = '/';
    }
    EXPECT_EQ(shown, row.speech);
    EXPECT_EQ(host.speech_writes, 1);
}

INSTANTIATE_TEST_SUITE_P(Rows, Search, ::testing::ValuesIn(kLookups));

}  // namespace
