// Bracketed fields of header lines.

#include <cstring>

#include "engine/header_fields.h"

namespace engine {

std::string_view take_bracket_field(std::string_view& rest) {
    // Every header line of the keyword and answer files comes through here, hence memchr.
    if (rest.empty()) return {};
    const char* const data = rest.data();
    const auto* close = static_cast<const char*>(std::memchr(data, ']', rest.size()));
    if (!close) return {};
    const std::size_t close_at = close - data;
    const auto* open = static_cast<const char*>(std::memchr(data, '[', close_at));
    std::string_view field;
    if (open) {
        field = rest.substr(open - data + 1, close - open - 1);
    } else if (!std::memchr(close, '[', rest.size() - close_at)) {
        field = rest.substr(0, close_at);  // a "]" with no "[" at all: the text before it
    }
    rest.remove_prefix(close_at + 1);
    return field;
}

std::string_view bracket_field(std::string_view text) { return take_bracket_field(text); }

}  // namespace engine
