// Free talk (data4.dat): key phrases taught by the user, each with its replies.

#include <vector>

#include "engine/data_names.h"
#include "engine/engine.h"
#include "engine/sentence.h"
#include "engine/trace_lines.h"
#include "text/line_reader.h"

namespace engine {

namespace {
bool is_key_line(std::string_view line) { return line.find('*') != std::string_view::npos; }
}  // namespace

bool Engine::answer_from_free_talk(const std::string& sentence) {
    text::LineReader entries(data_file(names::kFreeTalk));
    // Replies, and keys whose first two bytes stand at no character start of the sentence, are
    // passed over in bulk: they are nearly all of the file. A key fits only as whole characters
    // of the sentence, as a keyword does.
    const Sentence typed(sentence);
    const auto cannot_fit = [&](std::string_view line) {
        if ((line.empty() || line[0] != '*') && !is_key_line(line)) return true;
        return !typed.may_hold(line.substr(1));
    };
    std::string_view line;
    // A key line that ended an entry without replies is looked at again (a copy: at_end may
    // refill the buffer under a view).
    std::string pending;
    bool line_pending = false;
    int line_number = 0;  // of the line read last, while tracing
    int* const counted = trace != nullptr ? &line_number : nullptr;
    for (;;) {
        if (line_pending) {
            line_pending = false;
            line = pending;
        } else {
            skip_lines_while(entries, cannot_fit, text::LineReader::kWholeLine, counted);
            if (entries.at_end()) break;
            line = entries.next_line();
            ++line_number;
        }
        const int key_line = line_number;
        if (!is_key_line(line)) continue;
        const std::string_view key = line.substr(1);
        if (!typed.may_hold(key) || !typed.holds(key)) continue;

        std::vector<std::string> replies;
        while (!entries.at_end()) {
            const std::string_view reply = entries.next_line();
            ++line_number;
            if (is_key_line(reply)) {
                pending.assign(reply);
                line_pending = true;
                break;
            }
            replies.emplace_back(reply);
        }
        // A key without replies has nothing to say; the search goes on with the next entry.
        if (replies.empty()) continue;
        const int choice = draw(static_cast<int>(replies.size()));
        if (trace != nullptr) trace_origin(names::kFreeTalk, key_line, key_line + 1 + choice);
        host_.set_speech(replies[choice]);
        return true;
    }
    return false;
}

}  // namespace engine
