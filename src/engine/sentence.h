#pragma once
// The typed sentence as the keyword tests see it: its bytes, its characters, and which byte
// pairs stand in it.

#include <bitset>
#include <cstddef>
#include <string>
#include <string_view>

namespace engine {

// A word occurs in the sentence only as whole characters: it starts on an ASCII byte or on the
// lead byte of a two-byte character, and ends where a character ends. So "응" (C0 C0) does not
// occur in "맛있어" (B8 C0 C0 D6 BE EE), whose bytes hold it across 맛 and 있. Positions are
// 1-based byte positions; an empty word or an empty sentence never holds anything.
//
// A lead byte (81..FE) followed by a trail byte (41..5A, 61..7A, 81..FE) is one character, any
// other byte is one by itself. Where a character starts is found from the few bytes before a
// place the word was found at, so nothing is computed for the many words that are not found.
class Sentence {
public:
    explicit Sentence(std::string_view text);

    const std::string& text() const { return text_; }

    // The position of the first whole-character occurrence of `word`, or 0.
    std::size_t find(std::string_view word) const;
    bool holds(std::string_view word) const { return find(word) != 0; }

    // False when `word` cannot occur: its first two bytes (or its one byte) stand nowhere in
    // the sentence. A keyword file holds thousands of keywords, a sentence a few dozen bytes,
    // so this spares most searches.
    bool may_hold(std::string_view word) const {
        if (word.empty()) return false;
        const auto first = static_cast<unsigned char>(word[0]);
        if (word.size() == 1) return single_[first];
        return pairs_[first << 8 | static_cast<unsigned char>(word[1])];
    }

private:
    // True when a character starts at byte `at` (0-based); the end of the sentence counts.
    bool starts_character(std::size_t at) const;

    std::string text_;
    std::bitset<256> single_;
    std::bitset<65536> pairs_;
};

}  // namespace engine
