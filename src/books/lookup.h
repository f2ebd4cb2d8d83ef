#pragma once
// Looking up the address book (juso.dat) and the word book (eng.dat): ask for a text, show the
// first matching record in the speech label as its two lines joined by a CR, or the book's
// not-found text. A missing or unreadable book reads as empty; nothing is thrown for it.
// All texts are CP949 bytes.

#include <filesystem>

#include "engine/host.h"

namespace books {

// `by_name` (the 주소검색모드 setting): the text may occur anywhere in the name; otherwise
// anywhere in the address line.
void search_address_book(const std::filesystem::path& program_folder, engine::Host& host,
                         bool by_name);

// `by_word` (the 단어검색모드 setting): the word must begin with the text; otherwise the text
// may occur anywhere in the meaning.
void search_word_book(const std::filesystem::path& program_folder, engine::Host& host,
                      bool by_word);

}  // namespace books
