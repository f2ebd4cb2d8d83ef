#include "books/lookup.h"

#include <string>

#include "books/book_files.h"
#include "text/byte_search.h"
#include "text/codec.h"
#include "text/line_reader.h"

namespace books {

namespace {

enum class Match { name_contains, name_begins, mean_contains };

struct Lookup {
    const char* book;
    const char* caption;     // UTF-8
    const char* prompt;      // UTF-8
    const char* not_found;   // UTF-8
    Match match;
};

void look_up(const std::filesystem::path& program_folder, engine::Host& host,
             const Lookup& lookup) {
    const std::string search =
        host.input_box(text::cp949(lookup.caption), text::cp949(lookup.prompt), std::string());
    text::LineReader book(program_folder / lookup.book, text::LineReader::Checking::unchecked);
    while (!book.at_end()) {
        std::string name = book.read_line();
        std::string mean = book.read_line();
        const bool matches = lookup.match == Match::name_contains ? text::contains(name, search)
                             : lookup.match == Match::name_begins ? text::starts_with(name, search)
                                                                  : text::contains(mean, search);
        if (matches) {
            host.set_speech(name + '\r' + mean);
            return;
        }
    }
    host.set_speech(text::cp949(lookup.not_found));
}

}  // namespace

void search_address_book(const std::filesystem::path& program_folder, engine::Host& host,
                         bool by_name) {
    look_up(program_folder, host,
            {kAddressBook, "주소검색", by_name ? "이름을 입력하세요?" : "주소나 전화번호를 입력하세요",
             "그런사람 없는데요", by_name ? Match::name_contains : Match::mean_contains});
}

void search_word_book(const std::filesystem::path& program_folder, engine::Host& host,
                      bool by_word) {
    look_up(program_folder, host,
            {kWordBook, "영어단어검색", by_word ? "영어단어를 입력하세요?" : "뜻을 입력하세요",
             "그런단어 없는데요", by_word ? Match::name_begins : Match::mean_contains});
}

}  // namespace books
