#pragma once
// The three personal books and the deletion dialog's temporary file, all in the program
// folder. Every book holds records of two CP949 lines, `name` then `mean`, ended by CR LF.

#include <cstddef>

#include "engine/host.h"

namespace books {

inline constexpr const char* kCommandBook = "exec.dat";
inline constexpr const char* kAddressBook = "juso.dat";
inline constexpr const char* kWordBook = "eng.dat";
inline constexpr const char* kTempFile = "temp.$$$";

// The file of a book selector (add_book_kind, del_book_kind).
constexpr const char* book_file_name(engine::Book book) {
    switch (book) {
        case engine::Book::commands: return kCommandBook;
        case engine::Book::addresses: return kAddressBook;
        case engine::Book::words: return kWordBook;
    }
    return kCommandBook;
}

// A book selector from its stored value; values other than 0, 1 and 2 select none.
constexpr bool book_from_kind(int kind, engine::Book& book) {
    if (kind < 0 || kind > 2) return false;
    book = static_cast<engine::Book>(kind);
    return true;
}

}  // namespace books
