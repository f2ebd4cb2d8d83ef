// Answer selection: the first answer group of data2.dat whose header fits the sentence.

#include <cstring>
#include <vector>

#include "engine/data_names.h"
#include "engine/engine.h"
#include "engine/header_fields.h"
#include "engine/trace_lines.h"
#include "text/byte_search.h"
#include "text/codec.h"
#include "text/line_reader.h"

namespace engine {

namespace {

enum Operator { kNone = 0, kOr = 1, kAnd = 2 };

struct Marks {
    std::string any_person = to_cp949("무");
    std::string question = to_cp949("의문");
    std::string statement = to_cp949("평서");
    std::string good = to_cp949("좋음");
    std::string bad = to_cp949("나쁨");
};

const Marks& marks() {
    static const Marks instance;
    return instance;
}

// A header line's fields; the texts are views into the line.
struct Header {
    int op = kNone;
    int kind = 0;
    int mood = 0;
    std::string_view person;
    std::string_view item1;
    std::string_view item2;
};

int operator_of(std::string_view line) {
    if (std::memchr(line.data(), '|', line.size())) return kOr;
    return std::memchr(line.data(), '&', line.size()) ? kAnd : kNone;
}

int kind_mark_of(std::string_view line) {
    const Marks& m = marks();
    return text::contains(line, m.question) ? 1 : text::contains(line, m.statement) ? 2 : 0;
}

int mood_mark_of(std::string_view line) {
    const Marks& m = marks();
    return text::contains(line, m.good) ? 1 : text::contains(line, m.bad) ? 2 : 0;
}

Header read_header(std::string_view line) {
    Header header;
    header.op = operator_of(line);
    header.kind = kind_mark_of(line);
    header.mood = mood_mark_of(line);
    std::string_view rest = line;
    header.person = take_bracket_field(rest);
    header.item1 = take_bracket_field(rest);
    if (header.op != kNone) header.item2 = take_bracket_field(rest);
    return header;
}

std::string debug_text(int person, int sentence_kind, int noun_count, std::int32_t mood,
                       const std::string& item1_word, const std::string& item2_word,
                       const Header& header) {
    const std::vector<std::string> lines = {
        to_cp949("질문"),
        to_cp949("질문한 인칭=") + std::to_string(person),
        to_cp949("질문의 명사개수=") + std::to_string(noun_count),
        to_cp949("항목1=") + item1_word,
        to_cp949("항목2=") + item2_word,
        to_cp949("질문의 의문/평서(0/1)=") + std::to_string(sentence_kind),
        to_cp949("현재기분=") + std::to_string(mood),
        "",
        to_cp949("대답"),
        to_cp949("인칭=") + std::string(header.person),
        to_cp949("항목명1=") + std::string(header.item1),
        to_cp949("항목명2=") + std::string(header.item2),
        to_cp949("연산자(or,and,없음)=") + std::to_string(header.op),
        to_cp949("의문/평서=") + std::to_string(header.kind),
        to_cp949("기분=") + std::to_string(header.mood),
    };
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) text += '\r';
        text += lines[i];
    }
    return text;
}

}  // namespace

void Engine::select_answer(int person, int sentence_kind, int noun_count,
                           const std::string& sentence) {
    const Marks& m = marks();
    const int mood_class = mood >= 0 ? 1 : 2;
    const std::string person_text = std::to_string(person);

    const auto names_a_noun = [&](const Header& header) {
        for (int k = 0; k < noun_count; ++k) {
            const std::string& name = nouns[k].item_name;
            if (name == header.item1 || (header.op != kNone && name == header.item2)) return true;
        }
        return false;
    };

    text::LineReader answers(data_file(names::kAnswers));
    // Without a matched section no header can fit, and nothing would change on the way; the
    // file is opened all the same, so a missing one ends the turn as it always does.
    // A header can fit only when the name of a matched section stands somewhere in it (a
    // nameless section fits a header with an empty field, so then every header is looked at).
    // Answer lines and the other headers are passed over in bulk: they are nearly all of the
    // file.
    bool nameless = false;
    for (int k = 0; k < noun_count; ++k) nameless = nameless || nouns[k].item_name.empty();
    const auto cannot_fit = [&](std::string_view line) {
        if (line.empty() || line[0] != '*') return true;
        if (nameless) return false;
        for (int k = 0; k < noun_count; ++k) {
            if (line.find(nouns[k].item_name) != std::string_view::npos) return false;
        }
        return true;
    };
    int line_number = 0;  // of the line read last, while tracing
    int* const counted = trace != nullptr ? &line_number : nullptr;
    while (noun_count > 0) {
        skip_lines_while(answers, cannot_fit, text::kShortLine, counted);
        if (answers.at_end()) break;
        const std::string_view line = answers.next_line(text::kShortLine);
        ++line_number;
        // Only header lines count; comments ("//") and answer lines are passed over.
        if (!begins_with(line, "*")) continue;

        // Most headers fail, so the cheap tests come first. A header whose item names match no
        // section of the sentence fails the last test without changing anything, so it can be
        // passed over before the mood and kind marks are looked for; the result is the same.
        std::string_view rest = line;
        Header header;
        header.person = take_bracket_field(rest);
        if (header.person != person_text && header.person != m.any_person) continue;
        header.op = operator_of(line);
        header.item1 = take_bracket_field(rest);
        if (header.op != kNone) header.item2 = take_bracket_field(rest);
        if (!names_a_noun(header)) continue;
        header.kind = kind_mark_of(line);
        if (header.kind != 0 && header.kind != sentence_kind) continue;
        header.mood = mood_mark_of(line);
        if (header.mood != 0 && header.mood != mood_class) continue;

        bool fits = false;
        if (header.op == kNone) {
            for (int k = noun_count; k >= 1 && !fits; --k) {
                if (nouns[k - 1].item_name == header.item1) {
                    item1_word = nouns[k - 1].word;
                    fits = true;
                }
            }
        } else {
            // Every hit overwrites the word, so the lowest-numbered match is the one that stays.
            int hits = 0;
            for (int k = noun_count; k >= 1; --k) {
                if (nouns[k - 1].item_name == header.item1) {
                    item1_word = nouns[k - 1].word;
                    ++hits;
                }
            }
            for (int k = noun_count; k >= 1; --k) {
                if (nouns[k - 1].item_name == header.item2) {
                    item2_word = nouns[k - 1].word;
                    ++hits;
                }
            }
            fits = header.op == kOr ? hits >= 1 : hits >= 2;
        }
        if (!fits) continue;

        // The header's texts outlive the line for the debug box.
        const std::string header_line(line);
        header = read_header(header_line);
        std::vector<std::string> templates;
        while (!answers.at_end()) {
            // One byte beyond the 99 kept, so that the cut can end at a whole character: a
            // reply never shows half of one.
            const std::string_view answer = answers.next_line(text::kShortLine + 1);
            if (begins_with(answer, "*")) break;
            templates.emplace_back(text::cut_at_character(answer, text::kShortLine));
        }
        const int choice = draw(static_cast<int>(templates.size()));
        if (trace != nullptr) {
            trace->source = TurnTrace::Source::answer;
            trace_origin(names::kAnswers, line_number,
                         templates.empty() ? 0 : line_number + 1 + choice);
        }
        host_.set_speech(fill_placeholders(templates.empty() ? std::string() : templates[choice]));
        if (debug_mode) {
            host_.debug_box(debug_text(person, sentence_kind, noun_count, mood, item1_word,
                                       item2_word, header));
        }
        return;
    }

    if (answer_from_free_talk(sentence)) {
        if (trace != nullptr) trace->source = TurnTrace::Source::free_talk;
    } else {
        if (trace != nullptr) trace->source = TurnTrace::Source::question;
        last_unanswered_sentence = sentence;
        ask_question_back();
    }
}

}  // namespace engine
