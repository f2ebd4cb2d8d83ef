#pragma once
// Reading the bracketed fields of a header line, shared by the keyword and answer files. The
// fields are views into the line.

#include <string>
#include <string_view>

namespace engine {

// The text between the first "[" and the first "]" of `text`. Without "]", or with "]" before
// "[", the field is empty; with "]" but no "[", it is everything before the "]".
std::string_view bracket_field(std::string_view text);

// Takes the next bracketed field off the front of `rest`: returns the field as bracket_field
// does and drops everything up to and including the first "]".
std::string_view take_bracket_field(std::string_view& rest);

// True when the line starts with `prefix`.
inline bool begins_with(std::string_view line, std::string_view prefix) {
    return line.substr(0, prefix.size()) == prefix;
}

}  // namespace engine
