#pragma once
// How a command line from a book or the history becomes a program and its arguments. No shell
// ever sees it: quotes, ";", "|", "&", "$(...)", "*" and redirections stay parts of plain words.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace books {

// The words of `command_line`, separated by blanks (spaces and tabs); none for a line of blanks.
std::vector<std::string> split_command_line(std::string_view command_line);

// The program and its arguments. A path may hold blanks (the browse button of the entry dialog
// writes them so): when the whole command line, or its longest start that ends before a blank,
// is a path (it holds a folder separator) that `names_file` accepts, that start is the program
// and the rest is split at blanks into its arguments. Otherwise every blank separates words.
std::vector<std::string> program_and_arguments(
    std::string_view command_line, const std::function<bool(std::string_view)>& names_file);

// The same with the file system: a CP949 path names a file when a regular file (or a link to
// one) exists there, relative paths counting from the current directory.
std::vector<std::string> program_and_arguments(std::string_view command_line);

}  // namespace books
