// The three keyword tests of question matching. They hold no vocabulary of their own.

#include "engine/engine.h"
#include "text/byte_search.h"

namespace engine {

namespace {

// True when the first occurrence, at 1-based `position`, ends on the sentence's last byte.
bool ends_sentence(std::size_t position, std::string_view word, std::string_view sentence) {
    return position >= 1 && word.size() <= sentence.size() &&
           position == sentence.size() - word.size() + 1;
}

}  // namespace

int Engine::set_inching(std::string_view word, std::string_view sentence) {
    return static_cast<int>(text::find_first(sentence, word));
}

int Engine::search_ask(std::string_view word, std::string_view sentence) {
    return ends_sentence(text::find_first(sentence, word), word, sentence) ? 1 : 2;
}

void Engine::search_noun(std::string_view word, std::string_view sentence, int match_type,
                         std::string& result) {
    const std::size_t position = text::find_first(sentence, word);
    switch (match_type) {
        case kAnywhere:
            result = position >= 1 ? word : std::string_view();
            break;
        case kAtStart:
            result = position >= 1 && position <= 3 ? word : std::string_view();
            break;
        case kAtEnd:
            result = ends_sentence(position, word, sentence) ? word : std::string_view();
            break;
        default:
            break;  // an unknown rule leaves the result as it was
    }
}

}  // namespace engine
