#include "books/command_line.h"

#include <filesystem>
#include <system_error>

#include "books/launcher.h"
#include "text/codec.h"

namespace books {

namespace {
constexpr std::string_view kBlanks = " \t";
}

std::vector<std::string> split_command_line(std::string_view command_line) {
    std::vector<std::string> words;
    std::size_t at = 0;
    for (;;) {
        at = command_line.find_first_not_of(kBlanks, at);
        if (at == std::string_view::npos) break;
        std::size_t end = command_line.find_first_of(kBlanks, at);
        if (end == std::string_view::npos) end = command_line.size();
        words.emplace_back(command_line.substr(at, end - at));
        at = end;
    }
    return words;
}

std::vector<std::string> program_and_arguments(
    std::string_view command_line, const std::function<bool(std::string_view)>& names_file) {
    const std::size_t first = command_line.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    const std::string_view line = command_line.substr(first);
    // Candidates from the longest: the whole line, then each start that ends before a blank.
    std::size_t end = line.size();
    for (;;) {
        const std::string_view candidate = line.substr(0, end);
        const bool blank_inside = candidate.find_first_of(kBlanks) != std::string_view::npos;
        if (blank_inside && candidate.find(kFolderSeparator) != std::string_view::npos &&
            names_file(candidate)) {
            std::vector<std::string> words{std::string(candidate)};
            for (std::string& word : split_command_line(line.substr(end))) {
                words.push_back(std::move(word));
            }
            return words;
        }
        // The next shorter start ends before the last run of blanks inside this one.
        const std::size_t blank = candidate.find_last_of(kBlanks);
        if (blank == std::string_view::npos) break;
        const std::size_t before = candidate.find_last_not_of(kBlanks, blank);
        if (before == std::string_view::npos) break;
        end = before + 1;
    }
    return split_command_line(line);
}

std::vector<std::string> program_and_arguments(std::string_view command_line) {
    return program_and_arguments(command_line, [](std::string_view path) {
        std::error_code error;
        const std::string utf8 = text::to_utf8(path);
        return std::filesystem::is_regular_file(
            std::filesystem::path(std::u8string(utf8.begin(), utf8.end())), error);
    });
}

}  // namespace books
