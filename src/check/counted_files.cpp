// data3.dat and mal.dat: a count on the first line, then that many lines. The questions may
// hold {label} placeholders filled from data1.dat and particle brackets.

#include <exception>

#include "check/check_context.h"
#include "text/file_error.h"

namespace check {

namespace {

constexpr int kDrawableQuestions = 256;

// Checks the count line against the lines that follow; returns how many of them are used.
std::size_t check_count(const std::vector<std::string_view>& lines, Report& report) {
    if (lines.empty()) {
        report.error(1, "파일이 비어 있습니다. 첫 줄에 줄 수를 쓰고 그 아래에 한 줄씩 쓰세요.");
        return 0;
    }
    int count = 0;
    try {
        count = text::parse_int(std::string(lines[0]));
    } catch (const std::exception&) {
        report.error(
            1, "첫 줄은 아래 줄의 수(숫자)여야 합니다. 지금은 " + quote(lines[0]) + "입니다.");
        return 0;
    }
    const std::size_t available = lines.size() - 1;
    if (count < 0) {
        report.error(1, "줄 수가 0보다 작습니다.");
        return 0;
    }
    if (count == 0 && available > 0) {
        report.warning(1, "줄 수가 0이라 둘째 줄 하나만 쓰입니다.");
        return 1;
    }
    if (static_cast<std::size_t>(count) > available) {
        report.error(1, "줄 수는 " + std::to_string(count) + "인데 아래 줄은 " +
                            std::to_string(available) +
                            "개뿐입니다. 없는 줄을 고르면 빈 말을 합니다.");
        return available;
    }
    if (static_cast<std::size_t>(count) < available) {
        report.warning(1, "줄 수는 " + std::to_string(count) + "인데 아래 줄은 " +
                              std::to_string(available) + "개입니다. " + std::to_string(count + 2) +
                              "번째 줄부터는 쓰이지 않습니다.");
    }
    return static_cast<std::size_t>(count);
}

bool some_header_contains(const KeywordLabels& labels, std::string_view label) {
    for (const std::string& header : labels.header_lines) {
        if (header.find(label) != std::string::npos) return true;
    }
    return false;
}

void check_placeholders(std::string_view line, int number, const KeywordLabels& labels,
                        Report& report) {
    std::size_t from = 0;
    for (;;) {
        const std::size_t open = line.find('{', from);
        if (open == std::string_view::npos) return;
        const std::size_t close = line.find('}', open);
        if (close == std::string_view::npos) {
            report.error(number, "{ 를 닫는 } 가 없습니다. {음식} 처럼 닫아 쓰세요.");
            return;
        }
        const std::string_view label = line.substr(open + 1, close - open - 1);
        if (label.empty()) {
            report.warning(number, "{} 안에 묶음 이름이 없어 그 자리는 비게 됩니다.");
        } else if (labels.available && !some_header_contains(labels, label)) {
            report.warning(number,
                           "{" + quote(label).substr(1, quote(label).size() - 2) +
                               "} 이름이 들어간 data1.dat 머리줄이 없어 그 자리는 비게 됩니다.");
        }
        from = close + 1;
    }
}

}  // namespace

void check_questions(const std::vector<std::string_view>& lines, const KeywordLabels& labels,
                     Report& report) {
    const std::size_t used = check_count(lines, report);
    if (used > kDrawableQuestions) {
        report.warning(1,
                       "질문은 256개까지만 물을 수 있습니다. 257번째 질문부터는 쓰이지 않습니다.");
    }
    for (std::size_t i = 1; i <= used && i < lines.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        if (lines[i].empty()) {
            report.warning(number, "빈 질문입니다. 이 줄을 고르면 빈 말을 합니다.");
            continue;
        }
        check_placeholders(lines[i], number, labels, report);
        check_particles(lines[i], number, report);
    }
}

void check_monologue(const std::vector<std::string_view>& lines, Report& report) {
    const std::size_t used = check_count(lines, report);
    for (std::size_t i = 1; i <= used && i < lines.size(); ++i) {
        if (lines[i].empty()) {
            report.warning(static_cast<int>(i) + 1,
                           "빈 줄입니다. 이 줄을 고르면 말풍선이 비어 보입니다.");
        }
    }
}

}  // namespace check
