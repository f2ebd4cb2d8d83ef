#include "books/launcher.h"

#include "books/book_files.h"
#include "text/byte_search.h"
#include "text/codec.h"
#include "text/file_error.h"
#include "text/line_reader.h"

namespace books {

namespace {

struct Texts {
    std::string empty_slot = text::cp949("없음");
    std::string caption = text::cp949("실행화일 입력상자");
    std::string prompt = text::cp949("무엇을 실행 할까요");
    std::string launching = text::cp949(" 를 실행합니다.");
    std::string not_started = text::cp949(" 를 실행하지 못했습니다");
    std::string not_found = text::cp949("그런거 없는데요");
    std::string bad_folder = text::cp949("디렉토리가 잘못되었습니다.");
};

const Texts& texts() {
    static const Texts instance;
    return instance;
}

// The folder rule looks at this many separators at most.
constexpr int kMaxFolderPieces = 100;

// Cuts never split a two-byte character: no lone lead byte is shown or stored.
std::string cut(std::string_view text, std::size_t length) {
    return std::string(text::cut_at_character(text, length));
}

// Starts the command; when it could not be started, says so and why in the speech label.
bool start(engine::Host& host, const std::string& command) {
    const int error = host.start_program(command);
    if (error == 0) return true;
    host.set_speech(command + texts().not_started + " (" + text::cp949(text::system_reason(error)) +
                    ").");
    host.show_speech();
    return false;
}

}  // namespace

LauncherState::LauncherState() { history.fill(texts().empty_slot); }

void LauncherState::restore(const std::array<std::string, kHistorySize>& stored) {
    history = stored;
    previous_command = cut(history[0], kCommandLength);
}

void launch_by_name(const std::filesystem::path& program_folder, engine::Host& host,
                    LauncherState& state) {
    const Texts& t = texts();
    const std::string search = host.input_box(t.caption, t.prompt, std::string());
    text::LineReader book(program_folder / kCommandBook);
    const bool rerun = search == ".";
    bool found = false;
    // The rerun is decided inside the walk, so an empty book runs nothing.
    while (!book.at_end()) {
        if (rerun) {
            if (start(host, state.previous_command)) host.minimise();
            return;
        }
        if (!text::contains(book.next_line(), search)) {
            book.skip_line();
            continue;
        }
        // One byte more than is kept, so the cut can tell whether the last byte kept begins a
        // character that the cut would split.
        const std::string command = cut(book.next_line(kCommandLength + 1), kCommandLength);
        found = true;
        // Started before it is announced: a program that cannot be started is told as such,
        // the window stays, and the history is as it was.
        enter_command_folder(host, command);
        if (!start(host, command)) break;
        host.set_speech(command + t.launching);
        host.minimise();
        state.previous_command = command;
        for (int i = kHistorySize - 1; i > 0; --i) state.history[i] = state.history[i - 1];
        state.history[0] = state.previous_command;
        break;
    }
    if (!found) host.set_speech(t.not_found);
}

void run_history_item(engine::Host& host, LauncherState& state, int index) {
    if (index < 0 || index >= kHistorySize) return;
    const std::string command = cut(state.history[index], kHistoryCommandLength);
    enter_command_folder(host, command);
    if (start(host, command)) state.previous_command = cut(command, kCommandLength);
}

void run_previous_command(engine::Host& host, const LauncherState& state) {
    start(host, state.previous_command);
}

std::string command_folder(std::string_view command_line, char separator) {
    std::string folder;
    std::string_view rest = command_line;
    for (int i = 0; i < kMaxFolderPieces; ++i) {
        const std::size_t at = rest.find(separator);
        if (at == std::string_view::npos) break;
        folder.append(rest.substr(0, at + 1));
        rest.remove_prefix(at + 1);
        const std::size_t colon = rest.find(':');
        if (colon != std::string_view::npos) rest = rest.substr(0, colon);
    }
    return folder;
}

void enter_command_folder(engine::Host& host, std::string_view command_line) {
    const std::string folder = command_folder(command_line, kFolderSeparator);
    if (folder.empty()) return;
    if (!host.change_directory(folder)) host.warning_box(texts().bad_folder);
}

}  // namespace books
