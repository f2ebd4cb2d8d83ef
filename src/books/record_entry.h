#pragma once
// Adding a record to a book: its two lines are appended at the end, each ended by CR LF. The
// book is never created; a book whose last line has no line end gets one first, so the new
// name is not joined onto it.

#include <filesystem>
#include <string>

namespace books {

enum class AddResult {
    added,
    book_unavailable,  // the book is missing or read-only: nothing written
    book_busy,         // a deletion dialog (of another window) is rebuilding the book: nothing written
    field_empty,       // a line is empty: nothing written
    line_break,        // a line holds a CR or LF and would shift every later record: nothing written
};

// Appends `name` and `mean` (CP949) to `book`, reading and writing it as one step under the
// folder's lock, so that records added by two windows at once both land. A write failure after
// a successful open throws text::FileError.
AddResult add_record(const std::filesystem::path& book, const std::string& name,
                     const std::string& mean);

// The message (UTF-8) to show for a result other than `added`.
std::string add_message(AddResult result, const std::filesystem::path& book);

}  // namespace books
