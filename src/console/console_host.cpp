#include "console_host.h"

#include <istream>
#include <ostream>

#include "text/codec.h"

namespace console {

namespace {
const char* book_name(engine::Book book) {
    switch (book) {
        case engine::Book::commands: return "명령어";
        case engine::Book::addresses: return "주소록";
        case engine::Book::words: return "단어장";
    }
    return "";
}
}  // namespace

ConsoleHost::ConsoleHost(std::istream& in, std::ostream& out, std::ostream& err)
    : in_(in), out_(out), err_(err), speech_(text::cp949("전 누리에요.")) {}

bool ConsoleHost::read_line(std::string& utf8_line) {
    if (!std::getline(in_, utf8_line)) return false;
    if (!utf8_line.empty() && utf8_line.back() == '\r') utf8_line.pop_back();
    return true;
}

void ConsoleHost::print(std::ostream& stream, const std::string& cp949_text) {
    std::string utf8 = text::to_utf8(cp949_text);
    for (char& c : utf8) {
        if (c == '\r') c = '\n';
    }
    stream << utf8;
}

void ConsoleHost::set_speech(const std::string& text) { speech_ = text; }

std::string ConsoleHost::input_box(const std::string& caption, const std::string& prompt,
                                   const std::string& default_text) {
    err_ << '[';
    print(err_, caption);
    err_ << "] ";
    print(err_, prompt);
    err_ << std::endl;
    std::string answer;
    // The end of input is the Cancel button.
    if (!read_line(answer)) return default_text;
    std::string bytes = text::from_utf8(answer).bytes;
    if (bytes.size() > 255) bytes.resize(255);
    return bytes;
}

void ConsoleHost::message_box(const std::string& text) {
    print(err_, text);
    err_ << "\n\n" << std::flush;
}

void ConsoleHost::debug_box(const std::string& text) { message_box(text); }

void ConsoleHost::needs_window(const char* what) {
    err_ << what << "은(는) 창 프로그램(dasom)에서만 쓸 수 있습니다.\n\n" << std::flush;
}

void ConsoleHost::open_record_entry(engine::Book book) {
    needs_window((std::string(book_name(book)) + " 추가").c_str());
}

void ConsoleHost::open_record_deletion(engine::Book book) {
    needs_window((std::string(book_name(book)) + " 삭제").c_str());
}

void ConsoleHost::open_free_talk_entry() { needs_window("대화입력기"); }
void ConsoleHost::run_launcher() { needs_window("프로그램 실행"); }
void ConsoleHost::search_addresses() { needs_window("주소 검색"); }
void ConsoleHost::search_words() { needs_window("단어 검색"); }

void ConsoleHost::play_animation() {
    err_ << "(썰렁한 농담에 토끼가 화면을 가로질러 뛰어갔습니다.)\n\n" << std::flush;
}

}  // namespace console
