#pragma once
// Byte-wise text matching as every reader of the data files does it: exact, case-sensitive,
// no trimming, no regard to character boundaries. Positions are 1-based byte positions.

#include <cstddef>
#include <string_view>

namespace text {

// Position of the first occurrence of `needle` in `haystack`, or 0. An empty needle or an empty
// haystack never occurs.
inline std::size_t find_first(std::string_view haystack, std::string_view needle) {
    if (needle.empty() || haystack.empty()) return 0;
    const std::size_t at = haystack.find(needle);
    return at == std::string_view::npos ? 0 : at + 1;
}

inline bool contains(std::string_view haystack, std::string_view needle) {
    return find_first(haystack, needle) != 0;
}

inline bool starts_with(std::string_view text, std::string_view prefix) {
    return !prefix.empty() && text.substr(0, prefix.size()) == prefix;
}

}  // namespace text
