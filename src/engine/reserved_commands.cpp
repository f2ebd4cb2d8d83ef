// Reserved phrases (reserve.dat): pairs of a free phrase and a fixed command.

#include "engine/data_names.h"
#include "engine/engine.h"
#include "engine/sentence.h"
#include "engine/trace_lines.h"
#include "text/line_reader.h"

namespace engine {

namespace {

struct Commands {
    std::string quit = to_cp949("[종료]");
    std::string add_command = to_cp949("[실행추가]");
    std::string delete_command = to_cp949("[실행삭제]");
    std::string launch = to_cp949("[실행]");
    std::string add_address = to_cp949("[주소추가]");
    std::string delete_address = to_cp949("[주소삭제]");
    std::string search_address = to_cp949("[주소검색]");
    std::string add_word = to_cp949("[단어추가]");
    std::string delete_word = to_cp949("[단어삭제]");
    std::string search_word = to_cp949("[단어검색]");
    std::string teach = to_cp949("[대화추가]");
    std::string debug_on = to_cp949("[디버깅모드설정]");
    std::string debug_off = to_cp949("[디버깅모드해제]");
    std::string user_name = to_cp949("[사람이름]");
    std::string computer_name = to_cp949("[컴퓨터이름]");

    std::string launch_echo = to_cp949("무엇을 실행을 할까요.");
    std::string address_echo = to_cp949("주소록을 실행 합니다.");
    std::string word_echo = to_cp949("단어장을 실행 합니다.");
    std::string teach_echo = to_cp949("대화입력기를 실행합니다.");
    std::string debug_on_echo = to_cp949("Debug mode로 설정했습니다.");
    std::string debug_off_echo = to_cp949("Debug mode를 해제합니다.");
    std::string unknown_suffix = to_cp949(" 을 실행합니다.");
    // Said after a name box, through the placeholders of the answers.
    std::string user_named = to_cp949("알겠어요! 앞으로 $님이라고 부를게요.");
    std::string computer_named = to_cp949("좋아요! 앞으로 저를 #[이라고] 불러 주세요.");
    std::string name_kept = to_cp949("이름은 그대로 둘게요.");
    std::string name_emptied = to_cp949("이름을 비워 둘게요.");
};

const Commands& commands() {
    static const Commands instance;
    return instance;
}

}  // namespace

std::string Engine::find_reserved_command(const std::string& sentence) {
    text::LineReader reserve(data_file(names::kReserve));
    // The file holds pairs of lines, a phrase and its command. A phrase occurs only as whole
    // characters of the sentence, as a keyword does. Phrases that cannot occur in the sentence
    // are passed over in bulk together with their commands.
    const Sentence typed(sentence);
    bool at_phrase = true;
    const auto passes_over = [&](std::string_view line) {
        if (at_phrase && typed.may_hold(line)) return false;
        at_phrase = !at_phrase;
        return true;
    };
    int line_number = 0;  // of the line read last, while tracing
    int* const counted = trace != nullptr ? &line_number : nullptr;
    for (;;) {
        skip_lines_while(reserve, passes_over, text::LineReader::kWholeLine, counted);
        if (reserve.at_end()) return {};
        const bool phrase = at_phrase;
        at_phrase = !at_phrase;
        const std::string_view line = reserve.next_line();
        ++line_number;
        // Past the end of an odd-length file the command reads as empty: no command.
        if (phrase && typed.holds(line)) {
            if (trace != nullptr) trace_origin(names::kReserve, line_number, line_number + 1);
            return reserve.read_line();
        }
    }
}

void Engine::run_reserved_command(const std::string& command) {
    const Commands& c = commands();
    if (command == c.quit) {
        host_.close_main_window();
    } else if (command == c.add_command) {
        host_.open_record_entry(Book::commands);
    } else if (command == c.delete_command) {
        host_.open_record_deletion(Book::commands);
    } else if (command == c.launch) {
        host_.set_speech(c.launch_echo);
        host_.run_launcher();
    } else if (command == c.add_address) {
        host_.open_record_entry(Book::addresses);
    } else if (command == c.delete_address) {
        host_.open_record_deletion(Book::addresses);
    } else if (command == c.search_address) {
        host_.set_speech(c.address_echo);
        host_.search_addresses();
    } else if (command == c.add_word) {
        host_.open_record_entry(Book::words);
    } else if (command == c.delete_word) {
        host_.open_record_deletion(Book::words);
    } else if (command == c.search_word) {
        host_.set_speech(c.word_echo);
        host_.search_words();
    } else if (command == c.teach) {
        host_.set_speech(c.teach_echo);
        host_.open_free_talk_entry();
    } else if (command == c.debug_on) {
        debug_mode = true;
        host_.set_speech(c.debug_on_echo);
    } else if (command == c.debug_off) {
        debug_mode = false;
        host_.set_speech(c.debug_off_echo);
    } else if (command == c.user_name || command == c.computer_name) {
        const bool user = command == c.user_name;
        std::string& name = user ? user_name : computer_name;
        std::string asked = host_.ask_name(user ? Name::user : Name::computer, name);
        const bool kept = asked == name;
        name = std::move(asked);
        const std::string& named = user ? c.user_named : c.computer_named;
        host_.set_speech(kept           ? c.name_kept
                         : name.empty() ? c.name_emptied
                                        : fill_placeholders(named));
    } else {
        host_.set_speech(command + c.unknown_suffix);
    }
}

}  // namespace engine
