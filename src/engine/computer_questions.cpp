// The companion's own questions (data3.dat), filled with random keywords of data1.dat.

#include <algorithm>
#include <vector>

#include "engine/data_names.h"
#include "engine/engine.h"
#include "engine/header_fields.h"
#include "text/byte_search.h"
#include "text/file_error.h"
#include "text/line_reader.h"

namespace engine {

namespace {
// Only this many questions can ever be drawn, however large the count.
constexpr int kDrawableQuestions = 256;
}  // namespace

void Engine::ask_question_back() {
    text::LineReader questions(data_file(names::kQuestions));
    const int count = text::parse_int(questions.read_line(), data_file(names::kQuestions));
    // A negative count draws like an empty one: the first question.
    const int drawn = draw(count) % kDrawableQuestions;
    std::string question;
    for (int i = 0; i <= drawn; ++i) question = questions.read_line();
    // The count stands on line 1.
    if (trace != nullptr) trace_origin(names::kQuestions, drawn + 2, drawn + 2);

    // The keywords put in here are never scanned again, by this loop or by fill_placeholders.
    MarkedText text(std::move(question));
    std::vector<std::string> words;
    std::size_t from = 0;
    for (;;) {
        const std::size_t open = text.find_own("{", from);
        if (open == std::string::npos) break;
        const std::size_t close = text.find_own("}", open);
        // A placeholder that is never closed leaves the rest of the question as it is.
        if (close == std::string::npos) break;
        const std::string label = text.text().substr(open + 1, close - open - 1);
        std::string item = draw_section_keyword(label, words);
        text.replace(open, close - open + 1, item);
        from = open + item.size();
        words.push_back(std::move(item));
    }
    host_.set_speech(fill_placeholders(text));
}

std::string Engine::draw_section_keyword(const std::string& label,
                                         const std::vector<std::string>& drawn) {
    text::LineReader keywords(data_file(names::kKeywords));
    while (keywords.skip_lines_without('*')) {
        const std::string_view line = keywords.next_line(text::kShortLine);
        // Only header lines count; comments ("//") and answer lines are passed over.
        if (!begins_with(line, "*")) continue;
        if (!text::contains(line, label)) continue;

        // Empty lines count here: drawing one simply leaves the placeholder empty.
        std::vector<std::string> candidates;
        while (!keywords.at_end()) {
            const std::string_view keyword = keywords.next_line(text::kShortLine);
            if (begins_with(keyword, "*")) break;
            candidates.emplace_back(keyword);
        }
        if (candidates.empty()) return {};
        // A word this question already holds is drawn again only when the section has no other.
        const auto repeated = [&](const std::string& candidate) {
            return std::find(drawn.begin(), drawn.end(), candidate) != drawn.end();
        };
        if (!std::all_of(candidates.begin(), candidates.end(), repeated)) {
            std::erase_if(candidates, repeated);
        }
        return candidates[draw(static_cast<int>(candidates.size()))];
    }
    return {};
}

}  // namespace engine
