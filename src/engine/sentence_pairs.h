#pragma once
// A quick test of whether a word may occur in a sentence at all.

#include <bitset>
#include <string_view>

namespace engine {

// Which byte pairs stand next to each other in the sentence. A keyword whose first two bytes
// are not among them cannot occur, which spares most searches: a keyword file holds thousands
// of keywords, a sentence a few dozen bytes.
class SentencePairs {
public:
    explicit SentencePairs(std::string_view sentence) {
        for (std::size_t i = 0; i < sentence.size(); ++i) {
            const auto first = static_cast<unsigned char>(sentence[i]);
            single_[first] = true;
            if (i + 1 < sentence.size()) {
                pairs_[first << 8 | static_cast<unsigned char>(sentence[i + 1])] = true;
            }
        }
    }

    bool may_hold(std::string_view word) const {
        if (word.empty()) return false;
        const auto first = static_cast<unsigned char>(word[0]);
        if (word.size() == 1) return single_[first];
        return pairs_[first << 8 | static_cast<unsigned char>(word[1])];
    }

private:
    std::bitset<256> single_;
    std::bitset<65536> pairs_;
};

}  // namespace engine
