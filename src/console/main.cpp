// dasom-chat: the companion in a terminal, over the same engine as the window.
//
//   dasom-chat [--folder DIR] [--seed N] [--monologue] [--trace] [--no-launch] | --help | --version
//
// Each input line is one sentence; after each turn the speech label's text is printed. Piped
// input gets nothing but one reply per turn, so scripts can read the conversation. --trace adds,
// on standard error, what each sentence matched, where its reply came from and every particle
// put in (scripts/coverage).
// An input box (the launcher's, a lookup's, a name's) takes the next input line as its answer.
// What a turn changed in the settings (the mood, the history, a name) is saved right after it.

#include <chrono>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "console_host.h"
#include "engine/engine.h"
#include "settings/program_folder.h"
#include "settings/program_info.h"
#include "settings/settings.h"
#include "text/codec.h"
#include "text/file_error.h"

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace {

struct Options {
    std::optional<std::filesystem::path> folder;
    std::optional<std::uint32_t> seed;
    bool monologue = false;
    bool trace = false;
    bool launch = true;
};

constexpr std::string_view kHelp =
    "사용법: dasom-chat [--folder 폴더] [--seed 숫자] [--monologue] [--trace] [--no-launch]\n"
    "말동무 누리와 터미널에서 이야기합니다. 한 줄에 한 문장을 읽고 한 줄로 대답합니다.\n"
    "\n"
    "  --folder 폴더  이 폴더의 데이터 파일과 설정 파일(dasom.ini)을 씁니다\n"
    "  --seed 숫자    무작위 선택을 이 수로 정합니다: 같은 입력에 늘 같은 대답\n"
    "  --monologue    누리가 혼자 하는 말을 한 줄 보이고 끝냅니다\n"
    "  --trace        대답이 어디서 왔는지와 넣은 조사를 표준 오류에 적습니다\n"
    "  --no-launch    프로그램을 실행하지 않고 실행할 명령만 표준 오류에 적습니다\n"
    "  --help         이 도움말을 보이고 끝냅니다\n"
    "  --version      판 정보를 보이고 끝냅니다\n"
    "\n"
    "폴더를 고르는 규칙은 dasom 과 같습니다. 자세한 내용은 man dasom-chat 을 보세요.\n";

// Bad arguments: the first line of the help, on standard error.
void usage() { std::cerr << kHelp.substr(0, kHelp.find('\n') + 1) << "도움말: dasom-chat --help\n"; }

std::optional<Options> parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--folder" && i + 1 < argc) {
            options.folder = argv[++i];
        } else if (arg == "--seed" && i + 1 < argc) {
            try {
                options.seed = static_cast<std::uint32_t>(std::stoul(argv[++i]));
            } catch (const std::exception&) {
                return std::nullopt;
            }
        } else if (arg == "--monologue") {
            options.monologue = true;
        } else if (arg == "--trace") {
            options.trace = true;
        } else if (arg == "--no-launch") {
            options.launch = false;
        } else {
            return std::nullopt;
        }
    }
    return options;
}

const char* source_name(engine::TurnTrace::Source source) {
    switch (source) {
        case engine::TurnTrace::Source::reserved: return "reserved";
        case engine::TurnTrace::Source::answer: return "answer";
        case engine::TurnTrace::Source::free_talk: return "free_talk";
        case engine::TurnTrace::Source::question: return "question";
        case engine::TurnTrace::Source::none: break;
    }
    return "none";
}

// One tab-separated line per fact, so a script can read them beside the replies; the README
// describes them.
void print_trace(std::ostream& err, const engine::TurnTrace& trace) {
    err << "trace\tsource\t" << source_name(trace.source) << '\n';
    if (trace.person != 0) {
        err << "trace\tsentence\t" << trace.person << '\t'
            << (trace.sentence_kind == engine::kQuestion ? "question" : "statement") << '\t'
            << trace.mood << '\n';
    }
    for (const auto& section : trace.sections) {
        err << "trace\tsection\t";
        console::ConsoleHost::print(err, section.label);
        err << '\t';
        console::ConsoleHost::print(err, section.keyword);
        err << '\t' << section.line << '\n';
    }
    if (!trace.file.empty()) {
        err << "trace\tfrom\t" << trace.file << '\t' << trace.group_line << '\t'
            << trace.chosen_line << '\n';
    }
    for (const auto& particle : trace.particles) {
        err << "trace\tparticle\t";
        console::ConsoleHost::print(err, particle.before);
        err << '\t';
        console::ConsoleHost::print(err, particle.asked);
        err << '\t';
        console::ConsoleHost::print(err, particle.form);
        err << '\n';
    }
    err << std::flush;
}

// Runs one step of the core; an error is reported like the window's error box. False when an
// error ended the step.
template <typename Step>
bool guarded(std::ostream& err, Step&& step) {
    try {
        step();
        return true;
    } catch (const std::exception& error) {
        err << text::error_text(error) << "\n\n" << std::flush;
        return false;
    }
}

int run(int argc, char** argv);

}  // namespace

int main(int argc, char** argv) {
    // Memory running out outside a turn (at the start, at the exit) ends the program with the
    // general report, never with an abort.
    try {
        return run(argc, argv);
    } catch (const std::exception& error) {
        std::cerr << text::error_text(error) << "\n\n";
        return 1;
    }
}

namespace {

int run(int argc, char** argv) {
    if (const std::optional<int> answered =
            settings::answer_help_or_version(argc, argv, kHelp, {"--folder", "--seed"}))
        return *answered;
    const std::optional<Options> options = parse(argc, argv);
    if (!options) {
        usage();
        return 2;
    }
    const settings::ProgramFolder chosen = settings::choose_program_folder(
        {options->folder, settings::executable_folder(argv[0]), settings::user_data_folder()});
    if (!chosen.problem.empty()) {
        std::cerr << chosen.problem << '\n';
        if (chosen.defaults_only) std::cerr << "설치된 기본 파일로 대화하며, 아무것도 저장하지 않습니다.\n";
        std::cerr << '\n';
    }
    const std::filesystem::path& folder = chosen.folder;
    const std::filesystem::path settings_file = folder / settings::kFileName;

    std::mt19937 random(options->seed ? *options->seed
                                      : static_cast<std::uint32_t>(
                                            std::chrono::system_clock::now().time_since_epoch().count()));
    console::ConsoleHost host(std::cin, std::cout, std::cerr);
    engine::Engine engine(folder, host, random);
    engine::TurnTrace trace;
    if (options->trace) engine.trace = &trace;

    // What the file held, then what this run last saved: a save writes only what differs, so
    // 처음실행 and every value this run did not change stay as the file has them, and a window
    // on the same folder keeps what it set meanwhile.
    std::string settings_problem;
    settings::Settings stored = settings::read_settings(settings_file, &settings_problem);
    if (!settings_problem.empty()) std::cerr << settings_problem << "\n\n";
    engine.user_name = stored.user_name;
    engine.computer_name = stored.computer_name;
    engine.mood = stored.mood;
    host.use_books(folder, options->launch);
    host.launcher.restore(stored.history);
    host.address_search_by_name = stored.address_search_by_name;
    host.word_search_by_word = stored.word_search_by_word;

    bool unsaved = false;
    bool told = false;
    // After every turn: a terminal closed or an interrupted pipe loses nothing already said.
    const auto save = [&] {
        if (chosen.defaults_only) return;
        settings::Settings now = stored;
        now.user_name = engine.user_name;
        now.computer_name = engine.computer_name;
        now.mood = engine.mood;
        now.history = host.launcher.history;
        if (now == stored) return;
        try {
            settings::save_settings(settings_file, stored, now, settings::SaveKeys::changed);
            stored = now;
            unsaved = false;
        } catch (const std::exception& error) {
            // Said once; the values are tried again after the next turn.
            if (!told) std::cerr << text::error_text(error) << "\n\n" << std::flush;
            told = true;
            unsaved = true;
        }
    };

    if (options->monologue) {
        const bool spoke = guarded(std::cerr, [&] { engine.say_monologue_line(); });
        if (spoke) console::ConsoleHost::print(std::cout, host.speech());
        std::cout << '\n';
        return spoke ? 0 : 1;
    }

    const bool interactive = isatty(fileno(stdin));
    std::string line;
    for (;;) {
        if (interactive) std::cout << "> " << std::flush;
        if (!host.read_line(line)) break;
        const bool completed =
            guarded(std::cerr, [&] { engine.chat_turn(text::sentence_from_utf8(line)); });
        // A turn that ends the program says nothing: the window just closes. The label still
        // holds the previous reply, which must not be printed again.
        const bool ending = host.close_requested();
        if (interactive && completed && !ending) {
            console::ConsoleHost::print(std::cout, engine.computer_name);
            std::cout << ": ";
        }
        // An error ends the turn with the speech label hidden: an empty line.
        if (completed && !ending) console::ConsoleHost::print(std::cout, host.speech());
        std::cout << '\n' << std::flush;
        if (options->trace) print_trace(std::cerr, trace);
        save();
        if (ending) break;
    }
    return unsaved ? 1 : 0;
}

}  // namespace
