// data4.dat: a line holding "*" is a key, the lines below it its replies. The first key found
// in the sentence wins, so a key that contains an earlier key is never reached.

#include "check/check_context.h"
#include "engine/sentence.h"

namespace check {

namespace {

struct Entry {
    int line = 0;
    std::string_view key;
    int replies = 0;
};

}  // namespace

void check_free_talk(const std::vector<std::string_view>& lines, Report& report) {
    std::vector<Entry> entries;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        const std::string_view line = lines[i];
        if (line.find('*') == std::string_view::npos) {
            if (!entries.empty()) {
                ++entries.back().replies;
                if (line.empty())
                    report.warning(number, "빈 대답입니다. 이 대답을 고르면 빈 말을 합니다.");
            } else if (!line.empty()) {
                report.warning(number, "첫 * 줄보다 위에 있어 쓰이지 않는 줄입니다.");
            }
            continue;
        }
        if (line.front() != '*') {
            report.error(number,
                         "줄 가운데에 * 가 있어 이 줄은 대답이 아니라 새 말(* 줄)로 읽힙니다. "
                         "대답에는 * 를 쓸 수 없습니다.");
        }
        entries.push_back({number, line.substr(1), 0});
    }

    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Entry& entry = entries[i];
        if (entry.key.empty()) {
            report.warning(entry.line, "* 뒤에 말이 없어 어떤 문장에도 맞지 않습니다.");
            continue;
        }
        if (entry.replies == 0) {
            report.warning(entry.line, "대답이 하나도 없어 쓰이지 않는 말입니다.");
            continue;
        }
        // A sentence holds the key as whole characters, so it holds a key found in it as well.
        const engine::Sentence key(entry.key);
        for (std::size_t k = 0; k < i; ++k) {
            const Entry& earlier = entries[k];
            if (earlier.key.empty() || earlier.replies == 0) continue;
            if (key.holds(earlier.key)) {
                report.warning(entry.line, std::to_string(earlier.line) + "번째 줄의 " +
                                               quote(lines[earlier.line - 1]) +
                                               "이(가) 이 말을 담고 있는 문장에 언제나 먼저 맞아서 "
                                               "이 말은 쓰이지 않습니다. "
                                               "긴 말을 위로 옮기세요.");
                break;
            }
        }
    }
}

}  // namespace check
