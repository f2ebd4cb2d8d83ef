// The three keyword tests of question matching. They hold no vocabulary of their own.

#include "engine/engine.h"
#include "engine/sentence.h"

namespace engine {

namespace {

bool is_lead_byte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

bool is_trail_byte(unsigned char byte) {
    return (byte >= 0x41 && byte <= 0x5A) || (byte >= 0x61 && byte <= 0x7A) ||
           (byte >= 0x81 && byte <= 0xFE);
}

// True when the occurrence at 1-based `position` ends on the sentence's last byte.
bool ends_sentence(std::size_t position, std::string_view word, std::string_view sentence) {
    return position >= 1 && word.size() <= sentence.size() &&
           position == sentence.size() - word.size() + 1;
}

}  // namespace

Sentence::Sentence(std::string_view text) : text_(text), starts_(text.size() + 1) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    std::size_t i = 0;
    while (i < text.size()) {
        starts_[i] = true;
        const unsigned char first = byte(i);
        single_[first] = true;
        if (i + 1 < text.size()) {
            pairs_[first << 8 | byte(i + 1)] = true;
            i += is_lead_byte(first) && is_trail_byte(byte(i + 1)) ? 2 : 1;
        } else {
            ++i;
        }
    }
    starts_[text.size()] = true;
}

std::size_t Sentence::find(std::string_view word) const {
    if (word.empty()) return 0;
    for (std::size_t at = text_.find(word); at != std::string::npos;
         at = text_.find(word, at + 1)) {
        if (starts_[at] && starts_[at + word.size()]) return at + 1;
    }
    return 0;
}

int Engine::set_inching(std::string_view word, const Sentence& sentence) {
    return static_cast<int>(sentence.find(word));
}

int Engine::search_ask(std::string_view word, const Sentence& sentence) {
    return ends_sentence(sentence.find(word), word, sentence.text()) ? 1 : 2;
}

void Engine::search_noun(std::string_view word, const Sentence& sentence, int match_type,
                         std::string& result) {
    const std::size_t position = sentence.find(word);
    switch (match_type) {
        case kAnywhere:
            result = position >= 1 ? word : std::string_view();
            break;
        case kAtStart:
            result = position >= 1 && position <= 3 ? word : std::string_view();
            break;
        case kAtEnd:
            result = ends_sentence(position, word, sentence.text()) ? word : std::string_view();
            break;
        default:
            break;  // an unknown rule leaves the result as it was
    }
}

}  // namespace engine
