#include "books/command_line.h"

namespace books {

std::vector<std::string> split_command_line(std::string_view command_line) {
    std::vector<std::string> words;
    std::size_t at = 0;
    for (;;) {
        at = command_line.find_first_not_of(" \t", at);
        if (at == std::string_view::npos) break;
        std::size_t end = command_line.find_first_of(" \t", at);
        if (end == std::string_view::npos) end = command_line.size();
        words.emplace_back(command_line.substr(at, end - at));
        at = end;
    }
    return words;
}

}  // namespace books
