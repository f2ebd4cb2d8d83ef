#pragma once
// The typed sentence as the keyword tests see it: its bytes, where its characters start, and
// which byte pairs stand at a character start.

#include <bitset>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

// A word occurs in the sentence only as whole characters: it starts on an ASCII byte or on the
// lead byte of a two-byte character, and ends where a character ends. So "응" (C0 C0) does not
// occur in "맛있어" (B8 C0 C0 D6 BE EE), whose bytes hold it across 맛 and 있. Positions are
// 1-based byte positions; an empty word or an empty sentence never holds anything.
//
// The characters are found once, when the sentence is built: a lead byte (81..FE) followed by
// a trail byte (41..5A, 61..7A, 81..FE) is one character, any other byte is one by itself.
class Sentence {
public:
    explicit Sentence(std::string_view text);

    const std::string& text() const { return text_; }

    // The position of the first whole-character occurrence of `word`, or 0.
    std::size_t find(std::string_view word) const;
    bool holds(std::string_view word) const { return find(word) != 0; }

    // False when `word` cannot occur: its first two bytes (or its one byte) stand at no
    // character start. A keyword file holds thousands of keywords, a sentence a few dozen
    // bytes, so this spares most searches.
    bool may_hold(std::string_view word) const {
        if (word.empty()) return false;
        const auto first = static_cast<unsigned char>(word[0]);
        if (word.size() == 1) return single_[first];
        return pairs_[first << 8 | static_cast<unsigned char>(word[1])];
    }

private:
    std::string text_;
    // starts_[i]: a character starts at byte i (0-based); starts_[size] is the end.
    std::vector<bool> starts_;
    std::bitset<256> single_;
    std::bitset<65536> pairs_;
};

}  // namespace engine
