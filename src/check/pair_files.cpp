// The two-line files: reserve.dat (a phrase, then its command) and the three books (a name,
// then its second line). Every line takes its place in the pairing, so one blank line shifts
// every pair below it.

#include <array>

#include "check/check_context.h"
#include "engine/sentence.h"
#include "text/codec.h"
#include "text/line_reader.h"

namespace check {

namespace {

bool is_command(std::string_view line) {
    static const std::array<std::string, 15> commands = {
        text::cp949("[종료]"),           text::cp949("[실행추가]"), text::cp949("[실행삭제]"),
        text::cp949("[실행]"),           text::cp949("[주소추가]"), text::cp949("[주소삭제]"),
        text::cp949("[주소검색]"),       text::cp949("[단어추가]"), text::cp949("[단어삭제]"),
        text::cp949("[단어검색]"),       text::cp949("[대화추가]"), text::cp949("[디버깅모드설정]"),
        text::cp949("[디버깅모드해제]"), text::cp949("[사람이름]"), text::cp949("[컴퓨터이름]"),
    };
    for (const auto& command : commands) {
        if (line == command) return true;
    }
    return false;
}

std::string_view trimmed(std::string_view line) {
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
    return line;
}

void check_odd_count(const std::vector<std::string_view>& lines, const char* what, Report& report) {
    if (lines.size() % 2 == 1) {
        report.error(static_cast<int>(lines.size()),
                     std::string("줄 수가 홀수입니다. 두 줄이 한 짝이라 마지막 줄에 짝이 되는 ") +
                         what +
                         "이(가) 없습니다. 중간에 빈 줄이 끼었거나 한 줄이 빠졌는지 보세요.");
    }
}

}  // namespace

void check_reserve(const std::vector<std::string_view>& lines, Report& report) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        const std::string_view line = lines[i];
        const bool phrase = i % 2 == 0;
        if (line.empty()) {
            report.error(number,
                         phrase ? "빈 줄 때문에 이 아래의 짝이 한 줄씩 밀려 말과 명령이 뒤바뀝니다."
                                : "명령 자리가 비어 있어 위의 말은 아무 일도 하지 않습니다. "
                                  "빈 줄이라면 아래의 짝이 한 줄씩 밀립니다.");
        } else if (phrase && is_command(line)) {
            report.error(
                number,
                "명령이 말 자리에 있습니다. 위쪽에 빈 줄이 끼었거나 한 줄이 빠져 짝이 밀렸습니다.");
        } else if (!phrase && !is_command(line)) {
            report.warning(
                number,
                is_command(trimmed(line))
                    ? std::string("명령 앞뒤의 띄어쓰기 때문에 명령으로 알아듣지 못합니다.")
                    : quote(line) +
                          "은(는) 명령 표에 없습니다. 누리는 이 글자를 읽어 주기만 합니다.");
        }
    }
    check_odd_count(lines, "명령", report);

    // A phrase that contains an earlier phrase is never reached: the earlier pair matches first.
    for (std::size_t i = 2; i < lines.size(); i += 2) {
        if (lines[i].empty() || i + 1 >= lines.size()) continue;
        const engine::Sentence phrase(lines[i]);
        for (std::size_t k = 0; k < i; k += 2) {
            if (lines[k].empty() || k + 1 >= lines.size() || lines[k + 1] == lines[i + 1]) continue;
            if (phrase.holds(lines[k])) {
                report.warning(static_cast<int>(i) + 1,
                               std::to_string(k + 1) + "번째 줄의 말 " + quote(lines[k]) +
                                   "이(가) 먼저 맞아서 이 말은 " + quote(lines[i + 1]) + " 대신 " +
                                   quote(lines[k + 1]) +
                                   "을(를) 실행합니다. 긴 말을 위로 옮기세요.");
                break;
            }
        }
    }
}

void check_book(const std::vector<std::string_view>& lines, bool commands, Report& report) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        if (lines[i].empty()) {
            report.warning(number, "빈 줄도 한 줄로 세어서 이 아래의 짝이 한 줄씩 밀립니다.");
        } else if (commands && i % 2 == 1 && lines[i].size() > text::kShortLine) {
            report.warning(number, "명령이 99바이트를 넘습니다. 뒷부분은 실행되지 않습니다.");
        }
    }
    check_odd_count(lines, commands ? "명령" : "둘째 줄", report);
}

void check_open_syllables(const std::vector<std::string_view>& lines, Report& report) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty()) continue;
        const std::u16string syllable = text::to_utf16(lines[i]);
        const bool one_syllable = lines[i].size() == 2 && syllable.size() == 1 &&
                                  syllable[0] >= 0xAC00 && syllable[0] <= 0xD7A3;
        if (!one_syllable) {
            report.warning(
                static_cast<int>(i) + 1,
                "한 줄에 한글 한 글자만 써야 맞습니다. 이 줄은 어떤 낱말에도 맞지 않습니다.");
        } else if ((syllable[0] - 0xAC00) % 28 != 0) {
            report.warning(
                static_cast<int>(i) + 1,
                "받침이 있는 글자입니다. 이 글자로 끝나는 낱말에 조사가 틀리게 붙습니다.");
        }
    }
}

}  // namespace check
