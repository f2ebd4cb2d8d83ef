// The engine object and the Enter turn.

#include "engine/data_names.h"
#include "engine/engine.h"
#include "text/codec.h"

namespace engine {

std::string to_cp949(const char* utf8) { return text::cp949(utf8); }

Engine::Engine(std::filesystem::path program_folder, Host& host, std::mt19937& random)
    : program_folder_(std::move(program_folder)), host_(host), random_(random) {
    user_name = to_cp949("사람");
    computer_name = to_cp949("다솜");
}

int Engine::draw(int n) {
    if (n <= 0) return 0;
    return std::uniform_int_distribution<int>(0, n - 1)(random_);
}

void Engine::trace_section(std::string_view label, std::string_view keyword, int header_line) {
    trace->sections.push_back({std::string(label), std::string(keyword), header_line});
}

void Engine::trace_origin(const char* file, int group_line, int chosen_line) {
    trace->file = file;
    trace->group_line = group_line;
    trace->chosen_line = chosen_line;
}

void Engine::chat_turn(const std::string& sentence) {
    if (trace != nullptr) *trace = TurnTrace{};
    try {
        const std::string command = find_reserved_command(sentence);
        if (!command.empty()) {
            if (trace != nullptr) trace->source = TurnTrace::Source::reserved;
            run_reserved_command(command);
        } else {
            match_keyword_sections(sentence);
        }
    } catch (...) {
        // Only the turn that matched the flat joke may play the rabbit, never a later one.
        animation_pending = 0;
        throw;
    }
    if (animation_pending == 1) {
        host_.play_animation();
        animation_pending = 0;
    }
}

}  // namespace engine
