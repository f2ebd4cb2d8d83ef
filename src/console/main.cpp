// dasom-chat: the companion in a terminal, over the same engine as the window.
//
//   dasom-chat [--folder DIR] [--seed N] [--monologue] [--trace] [--no-launch]
//
// Each input line is one sentence; after each turn the speech label's text is printed. Piped
// input gets nothing but one reply per turn, so scripts can read the conversation. --trace adds,
// on standard error, what each sentence matched, where its reply came from and every particle
// put in (scripts/coverage).
// An input box (the launcher's, a lookup's) takes the next input line as its answer.

#include <chrono>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <random>
#include <string>

#include "console_host.h"
#include "engine/engine.h"
#include "settings/program_folder.h"
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

void usage() {
    std::cerr << "사용법: dasom-chat [--folder 폴더] [--seed 숫자] [--monologue] [--trace] "
                 "[--no-launch]\n";
}

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
        err << error.what() << "\n\n" << std::flush;
        return false;
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = parse(argc, argv);
    if (!options) {
        usage();
        return 2;
    }
    const settings::ProgramFolder chosen = settings::choose_program_folder(
        {options->folder, settings::executable_folder(argv[0]), settings::user_data_folder()});
    if (!chosen.problem.empty()) std::cerr << chosen.problem << "\n\n";
    const std::filesystem::path& folder = chosen.folder;
    const std::filesystem::path settings_file = folder / settings::kFileName;

    std::mt19937 random(options->seed ? *options->seed
                                      : static_cast<std::uint32_t>(
                                            std::chrono::system_clock::now().time_since_epoch().count()));
    console::ConsoleHost host(std::cin, std::cout, std::cerr);
    engine::Engine engine(folder, host, random);
    engine::TurnTrace trace;
    if (options->trace) engine.trace = &trace;

    settings::Settings stored = settings::read_settings(settings_file);
    engine.user_name = stored.user_name;
    engine.computer_name = stored.computer_name;
    engine.mood = stored.mood;
    host.use_books(folder, options->launch);
    host.launcher.restore(stored.history);
    host.juso_mode = stored.juso_mode;
    host.eng_mode = stored.eng_mode;

    if (options->monologue) {
        const bool spoke = guarded(std::cerr, [&] { engine.mal(); });
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
        if (interactive && completed) {
            console::ConsoleHost::print(std::cout, engine.computer_name);
            std::cout << ": ";
        }
        // An error ends the turn with the speech label hidden: an empty line.
        if (completed) console::ConsoleHost::print(std::cout, host.speech());
        std::cout << '\n' << std::flush;
        if (options->trace) print_trace(std::cerr, trace);
        if (host.close_requested()) break;
    }

    stored.user_name = engine.user_name;
    stored.computer_name = engine.computer_name;
    stored.mood = engine.mood;
    stored.history = host.launcher.history;
    try {
        settings::write_settings(settings_file, stored);
    } catch (const std::exception& error) {
        std::cerr << error.what() << "\n\n";
        return 1;
    }
    return 0;
}
