// Question matching: the sentence against the keyword sections of data1.dat.

#include <algorithm>
#include <limits>

#include "engine/data_names.h"
#include "engine/engine.h"
#include "engine/header_fields.h"
#include "text/byte_search.h"
#include "text/line_reader.h"

namespace engine {

std::string bracket_field(std::string_view text) {
    const std::size_t close = text.find(']');
    if (close == std::string_view::npos) return {};
    const std::size_t open = text.find('[');
    if (open == std::string_view::npos) return std::string(text.substr(0, close));
    if (close < open) return {};
    return std::string(text.substr(open + 1, close - open - 1));
}

std::string take_bracket_field(std::string_view& rest) {
    std::string field = bracket_field(rest);
    const std::size_t close = rest.find(']');
    if (close != std::string_view::npos) rest.remove_prefix(close + 1);
    return field;
}

namespace {

enum class SectionKind { person, question, abuse, praise, flat_joke, topic };

struct Labels {
    std::string question = to_cp949("질문");
    std::string abuse = to_cp949("욕설");
    std::string praise = to_cp949("칭찬");
    std::string flat_joke = to_cp949("썰렁");
};

const Labels& labels() {
    static const Labels instance;
    return instance;
}

SectionKind kind_of(const std::string& label) {
    if (label == "1" || label == "2" || label == "3") return SectionKind::person;
    const Labels& l = labels();
    if (label == l.question) return SectionKind::question;
    if (label == l.abuse) return SectionKind::abuse;
    if (label == l.praise) return SectionKind::praise;
    if (label == l.flat_joke) return SectionKind::flat_joke;
    return SectionKind::topic;
}

int match_type_of(std::string_view header) {
    if (header.find('@') != std::string_view::npos) return kAnywhere;
    if (header.find('!') != std::string_view::npos) return kAtStart;
    if (header.find('&') != std::string_view::npos) return kAtEnd;
    return kAnywhere;
}

// The mood has no bounds of its own; it stops at the ends of its 32 bits instead of wrapping.
std::int32_t moved(std::int32_t mood, int step) {
    const std::int64_t next = static_cast<std::int64_t>(mood) + step;
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(next, std::numeric_limits<std::int32_t>::min(),
                                 std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

void Engine::proc_question(const std::string& sentence) {
    int person = 2;
    int best_position = 3;
    int sentence_kind = kStatement;
    noun_count = 0;
    bool line_pending = false;

    text::LineReader keywords(data_file(names::kKeywords));
    std::string line;
    while (!keywords.at_end()) {
        if (line_pending) {
            line_pending = false;
        } else {
            line = keywords.read_line(text::kShortLine);
        }
        if (!begins_with(line, "*")) continue;

        const int match_type = match_type_of(line);
        const std::string label = bracket_field(line);
        const SectionKind kind = kind_of(label);
        // Once the table of matched sections is full, further sections record nothing.
        const bool records_noun = kind != SectionKind::person && kind != SectionKind::question;
        const bool table_full = records_noun && noun_count >= kMaxNouns;

        line = keywords.read_line(text::kShortLine);
        for (;;) {
            if (line.empty() || begins_with(line, "*")) break;
            bool stop = false;
            if (kind == SectionKind::person) {
                const int position = set_inching(line, sentence);
                if (position >= 1) {
                    if (position < best_position) {
                        best_position = position;
                        person = label[0] - '0';
                    }
                    stop = true;
                }
            } else if (kind == SectionKind::question) {
                sentence_kind = search_ask(line, sentence);
                stop = sentence_kind == kQuestion;
            } else if (!table_full) {
                noun_type& entry = nouns[noun_count];
                search_noun(line, sentence, match_type, entry.word);
                if (!entry.word.empty()) {
                    entry.item_name = label;
                    ++noun_count;
                    if (kind == SectionKind::abuse) mood = moved(mood, -1);
                    if (kind == SectionKind::praise) mood = moved(mood, +1);
                    if (kind == SectionKind::flat_joke) animation_pending = 1;
                    stop = true;
                }
            }
            if (stop || keywords.at_end()) break;
            line = keywords.read_line(text::kShortLine);
        }
        // The line that ended the scan is looked at again: a header opens the next section.
        line_pending = true;
    }

    proc_answer(person, sentence_kind, noun_count, sentence);
    for (int k = noun_count; k >= 1; --k) nouns[k - 1].item_name.clear();
}

}  // namespace engine
