// data1.dat: sections of keywords. An empty line ends a section for matching, so the words
// under it are never found; a header needs a label; only 99 bytes of a line count.

#include "check/check_context.h"
#include "engine/header_fields.h"
#include "text/codec.h"
#include "text/line_reader.h"

namespace check {

namespace {

void check_length(std::string_view line, int number, Report& report) {
    if (line.size() > text::kShortLine) {
        report.warning(number, "한 줄이 99바이트(한글 49자)를 넘습니다. 뒤의 " +
                                   std::to_string(line.size() - text::kShortLine) +
                                   "바이트는 읽지 않습니다.");
    }
}

bool has_label(std::string_view header) {
    const std::size_t open = header.find('[');
    const std::size_t close = header.find(']');
    return open != std::string_view::npos && close != std::string_view::npos && open < close &&
           close > open + 1;
}

}  // namespace

bool KeywordLabels::names_a_noun(const std::string& label) const {
    static const std::string question = text::cp949("질문");
    if (label == "1" || label == "2" || label == "3" || label == question) return false;
    return sections.count(label) > 0;
}

KeywordLabels keyword_labels_of(std::string_view bytes) {
    KeywordLabels labels;
    labels.available = true;
    for (std::string_view line : split_lines(bytes)) {
        line = line.substr(0, text::kShortLine);
        if (!engine::begins_with(line, "*")) continue;
        labels.header_lines.emplace_back(line);
        ++labels.sections[std::string(engine::bracket_field(line))];
    }
    return labels;
}

void check_keywords(const std::vector<std::string_view>& lines, Report& report) {
    bool in_section = false;
    int header = 0;       // line of the open section's header
    int keywords = 0;     // keywords the open section has before any empty line
    int empty_line = 0;   // the empty line that ended the open section, 0 while none
    int hidden_from = 0;  // first hidden keyword line after that empty line
    int hidden = 0;

    auto close_section = [&] {
        if (in_section && keywords == 0) {
            report.warning(header, "낱말이 하나도 없는 묶음입니다.");
        }
        if (hidden > 0) {
            report.warning(hidden_from,
                           std::to_string(empty_line) + "번째 줄의 빈 줄 아래에 있는 낱말 " +
                               std::to_string(hidden) +
                               "개는 찾지 않습니다. 빈 줄을 지우거나 낱말을 빈 줄 위로 옮기세요.");
        }
        in_section = false;
        keywords = empty_line = hidden_from = hidden = 0;
    };

    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        const std::string_view line = lines[i];
        if (engine::begins_with(line, "*")) {
            close_section();
            check_length(line, number, report);
            if (!has_label(line.substr(0, text::kShortLine))) {
                report.error(
                    number,
                    "머리줄에 [이름]이 없습니다. *[음식] 처럼 괄호 안에 묶음 이름을 쓰세요.");
            }
            in_section = true;
            header = number;
        } else if (line.empty()) {
            if (in_section && empty_line == 0) empty_line = number;
        } else if (in_section && empty_line == 0) {
            check_length(line, number, report);
            if (engine::begins_with(line, "//")) {
                report.warning(number,
                               "묶음 안의 설명 줄은 낱말로 읽힙니다. 설명 줄 위에 빈 줄을 두세요.");
            }
            ++keywords;
        } else if (in_section && !engine::begins_with(line, "//")) {
            if (hidden == 0) hidden_from = number;
            ++hidden;
        }
    }
    close_section();
}

}  // namespace check
