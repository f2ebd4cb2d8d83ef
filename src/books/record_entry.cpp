#include "books/record_entry.h"

#include <optional>

#include "text/file_error.h"
#include "text/line_writer.h"

namespace books {

AddResult add_record(const std::filesystem::path& book, const std::string& name,
                     const std::string& mean) {
    // The book is opened before the lines are looked at: a missing or read-only book is the
    // first thing the user hears about.
    std::optional<text::LineAppender> file;
    try {
        file.emplace(book);
    } catch (const text::FileBusy&) {
        return AddResult::book_busy;
    } catch (const text::FileError&) {
        return AddResult::book_unavailable;
    }
    if (name.empty() || mean.empty()) return AddResult::field_empty;
    if (name.find_first_of("\r\n") != std::string::npos ||
        mean.find_first_of("\r\n") != std::string::npos) {
        return AddResult::line_break;
    }
    file->write_line(name);
    file->write_line(mean);
    file->close();
    return AddResult::added;
}

std::string add_message(AddResult result, const std::filesystem::path& book) {
    switch (result) {
        case AddResult::added:
            return {};
        case AddResult::book_unavailable:
            return book.string() + "화일이 없거나 읽기전용입니다.";
        case AddResult::book_busy:
            return book.string() + " 화일은 다른 창에서 항목을 지우는 중입니다. 그 창을 닫은 뒤에 다시 "
                                   "추가하세요.";
        case AddResult::field_empty:
            return "모두 입력 하세요!!";
        case AddResult::line_break:
            return "한 줄에 한 항목씩, 줄바꿈 없이 입력하세요.";
    }
    return {};
}

}  // namespace books
