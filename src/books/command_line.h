#pragma once
// How a command line from a book or the history becomes a program and its arguments: words
// separated by blanks (spaces and tabs), the first being the program. No shell ever sees it:
// quotes, ";", "|", "&", "$(...)", "*" and redirections stay parts of plain words.

#include <string>
#include <string_view>
#include <vector>

namespace books {

// The words of `command_line`; none for a line of blanks.
std::vector<std::string> split_command_line(std::string_view command_line);

}  // namespace books
