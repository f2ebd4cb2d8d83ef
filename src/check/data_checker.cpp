// The checker's frame: the files it knows, their encoding, their lines, and the findings.

#include "check/data_checker.h"

#include <array>
#include <exception>

#include "check/check_context.h"
#include "text/codec.h"
#include "text/file_error.h"
#include "text/line_reader.h"

namespace check {

namespace {

struct KnownFile {
    const char* name;
    bool required;  // the chat turn needs it; a missing book only reads as empty
};

constexpr std::array<KnownFile, 10> kFiles = {{
    {"reserve.dat", true},
    {"data1.dat", true},
    {"data2.dat", true},
    {"data3.dat", true},
    {"data4.dat", true},
    {"mal.dat", true},
    {"vowel.dat", true},
    {"exec.dat", false},
    {"juso.dat", false},
    {"eng.dat", false},
}};

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

bool is_valid_utf8(std::string_view bytes, bool& has_multibyte) {
    has_multibyte = false;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        int more = 0;
        if (c >= 0xC2 && c <= 0xDF)
            more = 1;
        else if (c >= 0xE0 && c <= 0xEF)
            more = 2;
        else if (c >= 0xF0 && c <= 0xF4)
            more = 3;
        else
            return false;
        if (i + more >= bytes.size()) return false;
        for (int k = 1; k <= more; ++k) {
            const auto t = static_cast<unsigned char>(bytes[i + k]);
            if (t < 0x80 || t > 0xBF) return false;
        }
        has_multibyte = true;
        i += more + 1;
    }
    return true;
}

// A file saved by a Unicode editor: a UTF-8 byte order mark, or valid UTF-8 holding non-ASCII
// text (CP949 Hangul is never valid UTF-8: its lead bytes are UTF-8 continuation bytes).
bool looks_like_utf8(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return true;
    bool has_multibyte = false;
    return is_valid_utf8(bytes, has_multibyte) && has_multibyte;
}

int first_non_ascii_line(const std::vector<std::string_view>& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        for (const char c : lines[i]) {
            if (static_cast<unsigned char>(c) >= 0x80) return static_cast<int>(i) + 1;
        }
    }
    return 1;
}

// Lines holding bytes that the program's CP949 converter cannot read, or a zero byte (a file
// saved as UTF-16).
void check_cp949(const std::vector<std::string_view>& lines, Report& report) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (line.find('\0') != std::string_view::npos) {
            report.error(static_cast<int>(i) + 1,
                         "0 바이트가 있습니다. UTF-16 같은 다른 인코딩으로 저장된 파일 같습니다.");
        } else if (text::to_utf8(line).find(kReplacement) != std::string::npos) {
            report.error(static_cast<int>(i) + 1,
                         "CP949(완성형 한글)로 읽을 수 없는 바이트가 있습니다.");
        }
    }
}

// A file whose lines end with a CR alone: CRs in it, and no LF anywhere.
bool has_cr_only_line_ends(std::string_view bytes) {
    return bytes.find('\n') == std::string_view::npos &&
           bytes.find('\r') != std::string_view::npos;
}

}  // namespace

std::vector<std::string_view> split_lines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        const bool last = end == std::string_view::npos;
        if (last) end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        if (!last && !line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::string quote(std::string_view cp949) {
    constexpr std::size_t kShown = 60;
    std::string shown = text::to_utf8(cp949.substr(0, kShown));
    if (cp949.size() > kShown) shown += "...";
    return "\"" + shown + "\"";
}

std::string format(const Finding& finding) {
    std::string text = finding.file + ":";
    if (finding.line > 0) text += std::to_string(finding.line) + ":";
    text += finding.severity == Severity::error ? " 오류: " : " 경고: ";
    return text + finding.message;
}

bool knows_file(std::string_view name) {
    for (const auto& file : kFiles) {
        if (name == file.name) return true;
    }
    return false;
}

std::vector<Finding> check_file(const std::filesystem::path& folder, const std::string& name,
                                std::string_view bytes) {
    std::vector<Finding> findings;
    Report report(name, findings);
    const std::vector<std::string_view> lines = split_lines(bytes);
    if (looks_like_utf8(bytes)) {
        report.error(first_non_ascii_line(lines),
                     "UTF-8로 저장된 파일 같습니다. 프로그램은 CP949(완성형 한글)만 읽으므로 "
                     "대화파일편집으로 열어 다시 저장하거나 CP949로 바꿔 저장하세요.");
        return findings;
    }
    if (has_cr_only_line_ends(bytes)) {
        report.error(1,
                     "줄 끝이 CR 하나뿐입니다(옛 매킨토시 방식). 프로그램은 LF에서 줄을 나누므로 "
                     "파일 전체를 한 줄로 읽고, 이 파일에서는 아무것도 찾지 못합니다. 줄 끝을 CR LF로 "
                     "바꿔 저장하세요. 예: sed -i 's/\\r/\\r\\n/g' " + name);
        return findings;
    }
    check_cp949(lines, report);
    if (name == "reserve.dat")
        check_reserve(lines, report);
    else if (name == "data1.dat")
        check_keywords(lines, report);
    else if (name == "data2.dat")
        check_answers(lines, read_keyword_labels(folder), report);
    else if (name == "data3.dat")
        check_questions(lines, read_keyword_labels(folder), report);
    else if (name == "data4.dat")
        check_free_talk(lines, report);
    else if (name == "mal.dat")
        check_monologue(lines, report);
    else if (name == "vowel.dat")
        check_open_syllables(lines, report);
    else if (name == "exec.dat")
        check_book(lines, true, report);
    else if (name == "juso.dat" || name == "eng.dat")
        check_book(lines, false, report);
    return findings;
}

std::vector<Finding> check_folder(const std::filesystem::path& folder) {
    std::vector<Finding> findings;
    for (const auto& file : kFiles) {
        std::string bytes;
        try {
            bytes = text::read_file(folder / file.name);
        } catch (const std::exception& error) {
            Report report(file.name, findings);
            const auto* file_error = dynamic_cast<const text::FileError*>(&error);
            const std::string why =
                file_error ? "(" + file_error->reason() + ") " : std::string();
            if (file.required) {
                report.error(0, "파일이 없거나 읽을 수 없습니다. " + why +
                                    "대화가 이 파일에서 멈춥니다.");
            } else {
                report.warning(0, "파일이 없거나 읽을 수 없습니다. " + why + "빈 책으로 여깁니다.");
            }
            continue;
        }
        std::vector<Finding> found = check_file(folder, file.name, bytes);
        findings.insert(findings.end(), found.begin(), found.end());
    }
    return findings;
}

KeywordLabels read_keyword_labels(const std::filesystem::path& folder) {
    try {
        return keyword_labels_of(text::read_file(folder / "data1.dat"));
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace check
