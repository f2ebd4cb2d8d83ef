// data2.dat: answer groups. The first header that fits wins, so a header can be dead in three
// ways: it can never fit (a person field or a label that no sentence produces), an earlier
// header always fits first, or its group has no answers.

#include <set>

#include "check/check_context.h"
#include "engine/engine.h"
#include "engine/header_fields.h"
#include "text/codec.h"
#include "text/line_reader.h"

namespace check {

namespace {

enum Operator { kNone = 0, kOr = 1, kAnd = 2 };

struct Header {
    int line = 0;
    std::string text;
    std::string person;
    std::string item1;
    std::string item2;
    int op = kNone;
    int kind = 0;
    int mood = 0;
};

bool contains(std::string_view line, const std::string& mark) {
    return line.find(mark) != std::string_view::npos;
}

Header read_header(std::string_view line, int number) {
    static const std::string question = text::cp949("의문"), statement = text::cp949("평서"),
                             good = text::cp949("좋음"), bad = text::cp949("나쁨");
    Header header;
    header.line = number;
    header.text = line;
    header.op = contains(line, "|") ? kOr : contains(line, "&") ? kAnd : kNone;
    header.kind = contains(line, question) ? 1 : contains(line, statement) ? 2 : 0;
    header.mood = contains(line, good) ? 1 : contains(line, bad) ? 2 : 0;
    std::string_view rest = line;
    header.person = engine::take_bracket_field(rest);
    header.item1 = engine::take_bracket_field(rest);
    if (header.op != kNone) header.item2 = engine::take_bracket_field(rest);
    return header;
}

std::string label_text(const std::string& label) {
    return "[" + text::to_utf8(label) + "]";
}

// Reports why the header can never fit; true when it can.
bool check_can_fit(const Header& header, const KeywordLabels& labels, Report& report) {
    static const std::string any = text::cp949("무");
    if (header.person != "1" && header.person != "2" && header.person != "3" &&
        header.person != any) {
        report.error(
            header.line,
            "인칭 칸 " + label_text(header.person) +
                "은(는) 1, 2, 3, 무 가운데 하나여야 합니다. 이 머리줄은 맞는 일이 없습니다.");
        return false;
    }
    if (header.item1.empty()) {
        report.error(header.line, "머리줄에 주제 이름이 없습니다. *[무][음식] 처럼 쓰세요.");
        return false;
    }
    if (!labels.available) return true;
    const bool first = labels.names_a_noun(header.item1);
    const bool second = header.op != kNone && labels.names_a_noun(header.item2);
    auto missing = [&](const std::string& label) {
        return "머리줄의 주제 " + label_text(label) + "에 맞는 data1.dat 주제 묶음이 없습니다.";
    };
    if (header.op == kOr) {
        if (!first && !second) {
            report.error(header.line, missing(header.item1) +
                                          " 두 주제 모두 없어 이 머리줄은 맞는 일이 없습니다.");
            return false;
        }
        if (!first) report.warning(header.line, missing(header.item1));
        if (!second) report.warning(header.line, missing(header.item2));
        return true;
    }
    if (!first) {
        report.error(header.line, missing(header.item1) + " 이 머리줄은 맞는 일이 없습니다.");
        return false;
    }
    if (header.op == kAnd && !second && labels.sections.at(header.item1) < 2) {
        report.error(header.line, missing(header.item2) + " 이 머리줄은 맞는 일이 없습니다.");
        return false;
    }
    return true;
}

// The labels that certainly stand among the nouns whenever the header fits.
std::set<std::string> certain_labels(const Header& header, const KeywordLabels& labels) {
    if (header.op == kNone) return {header.item1};
    if (header.op == kAnd && header.item1 != header.item2 && labels.sections.count(header.item1) &&
        labels.sections.at(header.item1) == 1 && labels.sections.count(header.item2) &&
        labels.sections.at(header.item2) == 1) {
        return {header.item1, header.item2};
    }
    return {};
}

// True when `earlier` fits every sentence that `later` fits.
bool covers(const Header& earlier, const Header& later, const KeywordLabels& labels) {
    static const std::string any = text::cp949("무");
    if (earlier.person != any && earlier.person != later.person) return false;
    if (earlier.kind != 0 && earlier.kind != later.kind) return false;
    if (earlier.mood != 0 && earlier.mood != later.mood) return false;
    const std::set<std::string> certain = certain_labels(later, labels);
    auto certainly = [&](const std::string& label) { return certain.count(label) > 0; };
    switch (earlier.op) {
        case kNone:
            return certainly(earlier.item1) || (later.op == kOr && later.item1 == earlier.item1 &&
                                                later.item2 == earlier.item1);
        case kOr:
            return certainly(earlier.item1) || certainly(earlier.item2) ||
                   (later.op == kOr &&
                    (later.item1 == earlier.item1 || later.item1 == earlier.item2) &&
                    (later.item2 == earlier.item1 || later.item2 == earlier.item2));
        default:
            return (earlier.item1 != earlier.item2 && certainly(earlier.item1) &&
                    certainly(earlier.item2)) ||
                   (later.op == kAnd && std::set<std::string>{earlier.item1, earlier.item2} ==
                                            std::set<std::string>{later.item1, later.item2});
    }
}

}  // namespace

void check_particles(std::string_view line, int number, Report& report) {
    std::size_t from = 0;
    for (;;) {
        const std::size_t open = line.find('[', from);
        if (open == std::string_view::npos) return;
        const std::size_t close = line.find(']', open);
        if (close == std::string_view::npos) {
            report.error(number, "[ 를 닫는 ] 가 없습니다. 조사는 [을] 처럼 괄호로 닫아 쓰세요.");
            return;
        }
        const std::string_view particle = line.substr(open + 1, close - open - 1);
        if (engine::Engine::particle_for(1, particle).empty()) {
            report.warning(number, label_text(std::string(particle)) +
                                       "은(는) 바뀌는 조사가 아니라서 대답에서 사라집니다.");
        }
        from = close + 1;
    }
}

void check_answers(const std::vector<std::string_view>& lines, const KeywordLabels& labels,
                   Report& report) {
    std::vector<Header> live;  // earlier headers that can fit
    bool in_group = false;
    int group_header = 0;
    int answers = 0;
    auto close_group = [&] {
        if (in_group && answers == 0) {
            report.error(group_header,
                         "대답이 한 줄도 없는 묶음입니다. 이 머리줄이 맞으면 빈 말을 합니다.");
        }
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        const std::string_view whole = lines[i];
        const std::string_view line = whole.substr(0, text::kShortLine);
        const bool header_line = engine::begins_with(line, "*");
        if (!header_line && !in_group) continue;  // comments and text before the first header
        if (whole.size() > text::kShortLine) {
            report.warning(number, "한 줄이 99바이트(한글 49자)를 넘습니다. 뒤의 " +
                                       std::to_string(whole.size() - text::kShortLine) +
                                       "바이트는 읽지 않습니다.");
        }
        if (!header_line) {
            ++answers;
            if (line.empty()) {
                report.warning(number, "빈 줄도 대답으로 쓰여서 누리가 빈 말을 할 수 있습니다.");
            } else if (engine::begins_with(line, "//")) {
                report.warning(number, "묶음 안의 설명 줄(//)은 대답으로 쓰입니다.");
            } else {
                check_particles(line, number, report);
            }
            continue;
        }
        close_group();
        in_group = true;
        group_header = number;
        answers = 0;
        const Header header = read_header(line, number);
        if (!check_can_fit(header, labels, report)) continue;
        for (const Header& earlier : live) {
            if (covers(earlier, header, labels)) {
                report.warning(number, std::to_string(earlier.line) + "번째 줄의 머리줄 " +
                                           quote(earlier.text) +
                                           "이(가) 언제나 먼저 맞아서 이 묶음은 쓰이지 않습니다. "
                                           "자세한 머리줄을 위로 옮기세요.");
                break;
            }
        }
        live.push_back(header);
    }
    close_group();
}

}  // namespace check
