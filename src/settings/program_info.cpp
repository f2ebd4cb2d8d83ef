#include "settings/program_info.h"

#include <algorithm>
#include <cstdio>

namespace settings {

std::string version_line() { return std::string("다솜 ") + DASOM_VERSION; }

std::optional<std::string> help_or_version(const std::vector<std::string>& arguments,
                                           std::string_view help,
                                           const std::vector<std::string_view>& takes_value) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--") break;
        if (argument == "--help" || argument == "-h") return std::string(help);
        if (argument == "--version") return version_line() + "\n";
        if (std::find(takes_value.begin(), takes_value.end(), argument) != takes_value.end()) ++i;
    }
    return std::nullopt;
}

std::optional<int> answer_help_or_version(int argc, char** argv, std::string_view help,
                                          const std::vector<std::string_view>& takes_value) {
    const std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
    const std::optional<std::string> answer = help_or_version(arguments, help, takes_value);
    if (!answer) return std::nullopt;
    const bool written = std::fwrite(answer->data(), 1, answer->size(), stdout) == answer->size();
    return written && std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace settings
