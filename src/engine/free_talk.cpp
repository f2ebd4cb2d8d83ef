// Free talk (data4.dat): key phrases taught by the user, each with its replies.

#include <vector>

#include "engine/data_names.h"
#include "engine/engine.h"
#include "text/byte_search.h"
#include "text/line_reader.h"

namespace engine {

namespace {
bool is_key_line(const std::string& line) { return line.find('*') != std::string::npos; }
}  // namespace

bool Engine::proc_answer2(const std::string& sentence) {
    text::LineReader entries(data_file(names::kFreeTalk));
    std::string line;
    bool line_pending = false;
    while (line_pending || !entries.at_end()) {
        if (line_pending) {
            line_pending = false;
        } else {
            line = entries.read_line();
        }
        if (!is_key_line(line)) continue;
        const std::string key = line.substr(1);
        if (!text::contains(sentence, key)) continue;

        std::vector<std::string> replies;
        while (!entries.at_end()) {
            line = entries.read_line();
            if (is_key_line(line)) {
                line_pending = true;
                break;
            }
            replies.push_back(line);
        }
        // A key without replies has nothing to say; the search goes on with the next entry.
        if (replies.empty()) continue;
        host_.set_speech(replies[draw(static_cast<int>(replies.size()))]);
        return true;
    }
    return false;
}

}  // namespace engine
