#pragma once
// A reply being filled in: the template's own bytes and the bytes put in for placeholders
// (names, words of the sentence, keywords of data1.dat). Placeholders are looked for only in
// the template's own bytes, so whatever was put in stays exactly as it was, whichever
// placeholders or brackets it holds.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

class MarkedText {
public:
    MarkedText() = default;
    explicit MarkedText(std::string template_text)
        : text_(std::move(template_text)), inserted_(text_.size(), false) {}

    const std::string& text() const { return text_; }

    // The first occurrence of `pattern` at or after `from` whose bytes are all the template's
    // own; npos when there is none.
    std::size_t find_own(std::string_view pattern, std::size_t from = 0) const;

    // Replaces `length` bytes at `at` by `inserted`, which is marked as put in.
    void replace(std::size_t at, std::size_t length, std::string_view inserted);

    // Replaces every own occurrence of `placeholder`, first to last.
    void replace_each(std::string_view placeholder, std::string_view inserted);

private:
    std::string text_;
    std::vector<bool> inserted_;
};

}  // namespace engine
