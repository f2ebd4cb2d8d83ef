// Question matching: the sentence against the keyword sections of data1.dat.

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

#include "engine/data_names.h"
#include "engine/engine.h"
#include "engine/header_fields.h"
#include "engine/sentence.h"
#include "engine/trace_lines.h"
#include "text/line_reader.h"

namespace engine {

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

SectionKind kind_of(std::string_view label) {
    if (label.size() == 1 && label[0] >= '1' && label[0] <= '3') return SectionKind::person;
    // The special labels are two syllables, four bytes; most topic labels are not.
    if (label.size() != 4) return SectionKind::topic;
    const Labels& l = labels();
    if (label == l.question) return SectionKind::question;
    if (label == l.abuse) return SectionKind::abuse;
    if (label == l.praise) return SectionKind::praise;
    if (label == l.flat_joke) return SectionKind::flat_joke;
    return SectionKind::topic;
}

int match_type_of(std::string_view header) {
    bool start = false;
    bool end = false;
    for (const char c : header) {
        if (c == '@') return kAnywhere;
        start = start || c == '!';
        end = end || c == '&';
    }
    return start ? kAtStart : end ? kAtEnd : kAnywhere;
}

// A section label, kept while the lines after its header are read. Lines are at most 99 bytes,
// so a fixed buffer does without an allocation per section.
class Label {
public:
    void assign(std::string_view text) {
        size_ = std::min(text.size(), bytes_.size());
        if (size_ > 0) std::memcpy(bytes_.data(), text.data(), size_);
    }
    std::string_view view() const { return {bytes_.data(), size_}; }

private:
    std::array<char, text::kShortLine> bytes_;
    std::size_t size_ = 0;
};

// The mood has no bounds of its own; it stops at the ends of its 32 bits instead of wrapping.
std::int32_t moved(std::int32_t mood, int step) {
    const std::int64_t next = static_cast<std::int64_t>(mood) + step;
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(next, std::numeric_limits<std::int32_t>::min(),
                                 std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

void Engine::match_keyword_sections(const std::string& sentence) {
    int person = 2;
    int best_position = 3;
    int sentence_kind = kStatement;
    noun_count = 0;
    const Sentence typed(sentence);

    text::LineReader keywords(data_file(names::kKeywords));
    std::string_view line;
    Label label;
    // The number of the line read last, counted while a trace is kept. The fastest way to
    // the next header does not count lines; with a trace the counting way is taken.
    int line_number = 0;
    int* const counted = trace != nullptr ? &line_number : nullptr;
    const auto next_header = [&] {
        if (counted == nullptr) return keywords.skip_lines_without('*');
        skip_lines_while(
            keywords, [](std::string_view passed) { return !begins_with(passed, "*"); },
            text::LineReader::kWholeLine, counted);
        return !keywords.at_end();
    };
    // A header that ended the scan of the section before it opens the next section.
    bool header_pending = false;
    for (;;) {
        if (!header_pending) {
            // Only a header opens a section: the lines up to the next one are passed over.
            if (!next_header()) break;
            line = keywords.next_line(text::kShortLine);
            ++line_number;
        }
        header_pending = false;
        if (!begins_with(line, "*")) continue;
        const int header_line = line_number;

        const int match_type = match_type_of(line);
        label.assign(bracket_field(line));
        const SectionKind kind = kind_of(label.view());
        // Once the table of matched sections is full, further sections record nothing.
        const bool records_noun = kind != SectionKind::person && kind != SectionKind::question;
        const bool table_full = records_noun && noun_count >= kMaxNouns;

        // Most keyword lines cannot occur in the sentence (their first two bytes stand at no
        // character start of it). They are passed over in bulk; all they would have done is
        // said below.
        MatchedSection& entry = nouns[std::min(noun_count, kMaxNouns - 1)];
        const bool clears_word = match_type >= kAnywhere && match_type <= kAtEnd;
        const auto cannot_match = [&](std::string_view keyword) {
            if (keyword.empty() || keyword[0] == '*') return false;
            if (table_full) return true;
            if (typed.may_hold(keyword)) return false;
            return !records_noun || clears_word || entry.word.empty();
        };
        for (;;) {
            // Such a line makes the sentence a statement in the question section, and empties
            // the table entry under test in the others (for a known rule).
            if (const std::size_t passed = keywords.skip_lines_while(cannot_match, text::kShortLine);
                passed > 0) {
                line_number += static_cast<int>(passed);  // already counted for the effects
                if (kind == SectionKind::question) sentence_kind = kStatement;
                if (records_noun && !table_full && clears_word) entry.word.clear();
            }
            line = keywords.next_line(text::kShortLine);
            ++line_number;
            if (line.empty()) break;
            if (begins_with(line, "*")) {
                header_pending = true;
                break;
            }
            bool stop = false;
            if (kind == SectionKind::person) {
                const int position = typed.may_hold(line) ? keyword_position(line, typed) : 0;
                if (position >= 1) {
                    if (position < best_position) {
                        best_position = position;
                        person = label.view()[0] - '0';
                        if (trace != nullptr) trace_section(label.view(), line, header_line);
                    }
                    stop = true;
                }
            } else if (kind == SectionKind::question) {
                sentence_kind =
                    typed.may_hold(line) ? sentence_kind_by_ending(line, typed) : kStatement;
                stop = sentence_kind == kQuestion;
                if (stop && trace != nullptr) trace_section(label.view(), line, header_line);
            } else if (!table_full) {
                if (typed.may_hold(line)) {
                    match_topic_keyword(line, typed, match_type, entry.word);
                } else if (clears_word) {
                    entry.word.clear();
                }
                if (!entry.word.empty()) {
                    entry.item_name = label.view();
                    ++noun_count;
                    if (kind == SectionKind::abuse) mood = moved(mood, -1);
                    if (kind == SectionKind::praise) mood = moved(mood, +1);
                    if (kind == SectionKind::flat_joke) animation_pending = 1;
                    if (trace != nullptr) trace_section(label.view(), line, header_line);
                    stop = true;
                }
            }
            // A scan that ends on a keyword passes over the rest of its section. Past the end
            // of the file the next line reads as empty, which ends the scan as well.
            if (stop) break;
        }
    }

    if (trace != nullptr) {
        trace->person = person;
        trace->sentence_kind = sentence_kind;
        trace->mood = mood;
    }
    select_answer(person, sentence_kind, noun_count, sentence);
    for (int k = noun_count; k >= 1; --k) nouns[k - 1].item_name.clear();
}

}  // namespace engine
