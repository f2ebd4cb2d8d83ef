#include "console_host.h"

#include <istream>
#include <ostream>

#include "books/command_line.h"
#include "books/lookup.h"
#include "books/program_start.h"
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

void ConsoleHost::use_books(std::filesystem::path program_folder, bool launch) {
    program_folder_ = std::move(program_folder);
    launch_ = launch;
}

void ConsoleHost::set_speech(const std::string& text) { speech_ = text; }

bool ConsoleHost::ask(const std::string& caption, const std::string& prompt, std::string& answer) {
    err_ << '[';
    print(err_, caption);
    err_ << "] ";
    print(err_, prompt);
    err_ << std::endl;
    return read_line(answer);
}

std::string ConsoleHost::input_box(const std::string& caption, const std::string& prompt,
                                   const std::string& default_text) {
    std::string answer;
    // The end of input is the Cancel button.
    if (!ask(caption, prompt, answer)) return default_text;
    std::string bytes = text::from_utf8(answer).bytes;
    return std::string(text::cut_at_character(bytes, 255));
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
void ConsoleHost::run_launcher() {
    books::launch_by_name(program_folder_, *this, launcher);
}
void ConsoleHost::search_addresses() {
    books::search_address_book(program_folder_, *this, address_search_by_name);
}
void ConsoleHost::search_words() {
    books::search_word_book(program_folder_, *this, word_search_by_word);
}

std::string ConsoleHost::ask_name(engine::Name name, const std::string& current) {
    // The captions and prompts of the window's name boxes. The window's box holds the current
    // name, so OK without typing keeps it: here an empty line does.
    const bool user = name == engine::Name::user;
    std::string answer;
    if (!ask(text::cp949(user ? "사용자의 이름" : "컴퓨터의 이름"),
             text::cp949(user ? "사용자의 이름을 입력하세요" : "컴퓨터의 이름을 입력하세요") +
                 text::cp949(" (빈 줄이면 지금 이름 \"") + current + text::cp949("\" 그대로)"),
             answer) ||
        answer.empty()) {
        return current;
    }
    // A name is stored in dasom.ini: a character it cannot hold is refused, never turned into "?".
    const text::Encoded typed = text::from_utf8(answer);
    if (!typed.complete()) {
        message_box(text::cp949("이름에 쓸 수 없는 글자가 들어 있습니다. 이름을 바꾸지 않았습니다."));
        return current;
    }
    return typed.bytes;
}

bool ConsoleHost::change_directory(const std::string& folder) {
    std::error_code error;
    std::filesystem::current_path(std::filesystem::u8path(text::to_utf8(folder)), error);
    return !error;
}

int ConsoleHost::start_program(const std::string& command_line) {
    if (!launch_) {
        err_ << "started: ";
        print(err_, command_line);
        err_ << '\n' << std::flush;
        return 0;
    }
    std::vector<std::string> words = books::program_and_arguments(command_line);
    for (std::string& word : words) word = text::to_utf8(word);
    return books::start_detached(words);
}

void ConsoleHost::play_animation() {
    err_ << "(썰렁한 농담에 토끼가 화면을 가로질러 뛰어갔습니다.)\n\n" << std::flush;
}

}  // namespace console
