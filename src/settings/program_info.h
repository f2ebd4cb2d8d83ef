#pragma once
// What every program of the companion answers on its own, before it opens a file or a window:
// --help (its usage, in Korean) and --version ("다솜 1.0"), both on standard output. The window
// program asks before it connects to a display, so both work over ssh and in scripts.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace settings {

// The product and its version: "다솜 1.0".
std::string version_line();

// The text to print for --help (or -h) or --version among `arguments` (the command line without
// the program's name), whichever comes first; nothing when neither is there. The argument after
// an option of `takes_value` is that option's value, never an option, and "--" ends the options.
std::optional<std::string> help_or_version(const std::vector<std::string>& arguments,
                                           std::string_view help,
                                           const std::vector<std::string_view>& takes_value);

// help_or_version on argv, printed on standard output. The exit status when it answered: 0, or
// 1 when standard output would not take the text (a closed pipe, a full disk).
std::optional<int> answer_help_or_version(int argc, char** argv, std::string_view help,
                                          const std::vector<std::string_view>& takes_value);

}  // namespace settings
