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

Sentence::Sentence(std::string_view text) : text_(text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto first = static_cast<unsigned char>(text[i]);
        single_[first] = true;
        if (i + 1 < text.size()) pairs_[first << 8 | static_cast<unsigned char>(text[i + 1])] = true;
    }
}

bool Sentence::starts_character(std::size_t at) const {
    if (at == 0 || at >= text_.size()) return true;
    // A byte outside 81..FE ends a character (it is one by itself or a trail byte), so one
    // starts right after it; from there on, bytes in 81..FE pair up as lead and trail. An odd
    // run leaves a lead byte right before `at`, which takes `at` as its trail if it can.
    std::size_t run = 0;
    while (run < at && is_lead_byte(static_cast<unsigned char>(text_[at - 1 - run]))) ++run;
    return run % 2 == 0 || !is_trail_byte(static_cast<unsigned char>(text_[at]));
}

std::size_t Sentence::find(std::string_view word) const {
    if (word.empty()) return 0;
    for (std::size_t at = text_.find(word); at != std::string::npos;
         at = text_.find(word, at + 1)) {
        if (starts_character(at) && starts_character(at + word.size())) return at + 1;
    }
    return 0;
}

int Engine::keyword_position(std::string_view word, const Sentence& sentence) {
    return static_cast<int>(sentence.find(word));
}

int Engine::sentence_kind_by_ending(std::string_view word, const Sentence& sentence) {
    return ends_sentence(sentence.find(word), word, sentence.text()) ? 1 : 2;
}

void Engine::match_topic_keyword(std::string_view word, const Sentence& sentence, int match_type,
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
